#include "orlin/core/VertexList.h"

#include "common/exception/RuntimeException.h"

#include <geos/geom/Geometry.h>

#include <stdexcept>
#include <string>

namespace tin::core {

VertexList::VertexList(std::vector<Point2D> vertices) : m_vertices(std::move(vertices)) {}

VertexList::VertexList(const VertexList& other) : m_vertices(other.m_vertices) {}

VertexList& VertexList::operator=(const VertexList& other)
{
    if (this != &other) {
        m_vertices = other.m_vertices;
        dropCaches();
    }
    return *this;
}

VertexList::~VertexList() = default;

void VertexList::addPoint(const Point2D& p)
{
    m_vertices.push_back(p);
    dropCaches();
}

void VertexList::insertPoint(int index, const Point2D& p)
{
    checkIndex(index, static_cast<int>(m_vertices.size()) + 1, "insertPoint");
    m_vertices.insert(m_vertices.begin() + index, p);
    dropCaches();
}

void VertexList::removePoint(int index)
{
    checkIndex(index, static_cast<int>(m_vertices.size()), "removePoint");
    m_vertices.erase(m_vertices.begin() + index);
    dropCaches();
}

void VertexList::removePoint(const Point2D& p)
{
    for (auto it = m_vertices.begin(); it != m_vertices.end(); ++it) {
        if (it->x() == p.x() && it->y() == p.y()) {
            m_vertices.erase(it);
            dropCaches();
            return;
        }
    }
    throw common::exception::RuntimeException("The point to remove not found.");
}

void VertexList::removeLastPoint()
{
    checkIndex(0, static_cast<int>(m_vertices.size()), "removeLastPoint");
    m_vertices.pop_back();
    dropCaches();
}

void VertexList::setPoint(int index, const Point2D& p)
{
    checkIndex(index, static_cast<int>(m_vertices.size()), "setPoint");
    m_vertices[index] = p;
    dropCaches();
}

void VertexList::setLastPoint(const Point2D& p)
{
    checkIndex(0, static_cast<int>(m_vertices.size()), "setLastPoint");
    m_vertices.back() = p;
    dropCaches();
}

void VertexList::clear()
{
    m_vertices.clear();
    dropCaches();
}

Rect VertexList::boundingRect() const
{
    if (!m_rectCached) {
        m_rect = Rect(m_vertices);
        m_rectCached = true;
    }
    return m_rect;
}

void VertexList::setCachedGeometry(std::unique_ptr<geos::geom::Geometry> geometry) const
{
    m_geometry = std::move(geometry);
}

void VertexList::dropCaches()
{
    m_rectCached = false;
    m_geometry.reset();
}

void VertexList::checkIndex(int index, int size, const char* operation) const
{
    if (index < 0 || index >= size)
        throw std::out_of_range(std::string(operation) + ": vertex index " +
                                std::to_string(index) + " out of range for " +
                                std::to_string(m_vertices.size()) + " vertices");
}

} // namespace tin::core
