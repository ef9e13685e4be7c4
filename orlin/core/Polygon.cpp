#include "orlin/core/Polygon.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Edge2D.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/VertexList.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/CoordinateSequenceFactory.h>
#include <geos/geom/Dimension.h>
#include <geos/geom/Geometry.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LinearRing.h>
#include <geos/geom/Polygon.h>

namespace tin::core {

struct Polygon::Impl : VertexList
{
    using VertexList::VertexList;
};

namespace {

// Collections are walked down to their atoms: a nested collection must not run the coordinates
// of two separate pieces into one chain.
void collectLinearPieces(const geos::geom::Geometry& g,
                         std::vector<std::unique_ptr<Edge2D>>& edges)
{
    const std::size_t count = g.getNumGeometries();
    if (count != 1 || g.getGeometryN(0) != &g) {
        for (std::size_t i = 0; i < count; ++i)
            collectLinearPieces(*g.getGeometryN(i), edges);
        return;
    }
    if (g.getDimension() != geos::geom::Dimension::L)
        return;
    const auto coordinates = g.getCoordinates();
    for (std::size_t i = 0; i + 1 < coordinates->size(); ++i) {
        const geos::geom::Coordinate& a = coordinates->getAt(i);
        const geos::geom::Coordinate& b = coordinates->getAt(i + 1);
        edges.push_back(std::make_unique<Edge2D>(std::make_shared<Point2D>(a.x, a.y, -1),
                                                 std::make_shared<Point2D>(b.x, b.y, -1)));
    }
}

} // namespace

Polygon::Polygon() : m_impl(std::make_unique<Impl>()) {}

Polygon::Polygon(const std::vector<Point2D>& vertices) : m_impl(std::make_unique<Impl>(vertices))
{
}

Polygon::Polygon(std::initializer_list<Point2D> vertices)
    : m_impl(std::make_unique<Impl>(std::vector<Point2D>(vertices)))
{
}

Polygon::Polygon(const Polygon& other) : Geometry(other), m_impl(std::make_unique<Impl>(*other.m_impl))
{
}

Polygon::Polygon(Polygon&& other) noexcept = default;

Polygon& Polygon::operator=(const Polygon& other)
{
    if (this == &other)
        return *this;
    if (!m_impl)
        m_impl = std::make_unique<Impl>();
    *m_impl = *other.m_impl;
    return *this;
}

Polygon& Polygon::operator=(Polygon&& other) noexcept
{
    if (this != &other)
        m_impl = std::move(other.m_impl);
    return *this;
}

Polygon::~Polygon() = default;

void Polygon::addPoint(const Point2D& p) { m_impl->addPoint(p); }
void Polygon::insertPoint(int index, const Point2D& p) { m_impl->insertPoint(index, p); }
void Polygon::removePoint(int index) { m_impl->removePoint(index); }
void Polygon::removePoint(const Point2D& p) { m_impl->removePoint(p); }
void Polygon::removeLastPoint() { m_impl->removeLastPoint(); }
void Polygon::setPoint(int index, const Point2D& p) { m_impl->setPoint(index, p); }
void Polygon::setLastPoint(const Point2D& p) { m_impl->setLastPoint(p); }
void Polygon::clear() { m_impl->clear(); }

bool Polygon::empty() const { return m_impl->points().empty(); }
const std::vector<Point2D>& Polygon::points() const { return m_impl->points(); }
int Polygon::pointsCount() const { return static_cast<int>(m_impl->points().size()); }
Rect Polygon::boundingRect() const { return m_impl->boundingRect(); }

geos::geom::Polygon* Polygon::geosPolygon() const
{
    if (!m_impl->cachedGeometry()) {
        const auto* factory = defaultGeometryFactory();
        const std::vector<Point2D>& vertices = m_impl->points();
        const std::size_t n = vertices.size();
        std::unique_ptr<geos::geom::Polygon> polygon;
        if (n == 0) {
            polygon = factory->createPolygon();
        } else {
            auto sequence = factory->getCoordinateSequenceFactory()->create(n + 1, 2);
            for (std::size_t i = 0; i <= n; ++i) {
                const Point2D& v = vertices[i % n];
                sequence->setAt(geos::geom::Coordinate(v.x(), v.y(), 0.0), i);
            }
            polygon = factory->createPolygon(factory->createLinearRing(std::move(sequence)));
            polygon->normalize();
        }
        m_impl->setCachedGeometry(std::move(polygon));
    }
    return static_cast<geos::geom::Polygon*>(m_impl->cachedGeometry());
}

geos::geom::Geometry* Polygon::geosGeometry() const { return geosPolygon(); }

std::vector<Edge2D*> Polygon::intersectionEdges(geos::geom::Geometry* g) const
{
    if (!g)
        throw common::exception::RuntimeException("Polygon::intersectionEdges: null geometry");
    const std::unique_ptr<geos::geom::Geometry> intersection = geosPolygon()->intersection(g);
    std::vector<std::unique_ptr<Edge2D>> edges;
    collectLinearPieces(*intersection, edges);
    std::vector<Edge2D*> result;
    result.reserve(edges.size());
    for (auto& edge : edges)
        result.push_back(edge.release());
    return result;
}

} // namespace tin::core
