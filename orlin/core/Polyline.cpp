#include "orlin/core/Polyline.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/VertexList.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/CoordinateSequenceFactory.h>
#include <geos/geom/Dimension.h>
#include <geos/geom/Geometry.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LineString.h>

namespace tin::core {

struct Polyline::Impl : VertexList
{
    using VertexList::VertexList;
};

namespace {

void collectPointPieces(const geos::geom::Geometry& g, std::vector<Point2D>& points)
{
    const std::size_t count = g.getNumGeometries();
    if (count != 1 || g.getGeometryN(0) != &g) {
        for (std::size_t i = 0; i < count; ++i)
            collectPointPieces(*g.getGeometryN(i), points);
        return;
    }
    if (g.getDimension() != geos::geom::Dimension::P || g.isEmpty())
        return;
    const geos::geom::Coordinate* c = g.getCoordinate();
    points.emplace_back(c->x, c->y, -1);
}

} // namespace

Polyline::Polyline() : m_impl(std::make_unique<Impl>()) {}

Polyline::Polyline(const std::vector<Point2D>& vertices)
    : m_impl(std::make_unique<Impl>(vertices))
{
}

Polyline::Polyline(std::initializer_list<Point2D> vertices)
    : m_impl(std::make_unique<Impl>(std::vector<Point2D>(vertices)))
{
}

Polyline::Polyline(const Polyline& other)
    : Geometry(other), m_impl(std::make_unique<Impl>(*other.m_impl))
{
}

Polyline::Polyline(Polyline&& other) noexcept = default;

Polyline& Polyline::operator=(const Polyline& other)
{
    if (this == &other)
        return *this;
    if (!m_impl)
        m_impl = std::make_unique<Impl>();
    *m_impl = *other.m_impl;
    return *this;
}

Polyline& Polyline::operator=(Polyline&& other) noexcept
{
    if (this != &other)
        m_impl = std::move(other.m_impl);
    return *this;
}

Polyline::~Polyline() = default;

void Polyline::addPoint(const Point2D& p) { m_impl->addPoint(p); }
void Polyline::insertPoint(int index, const Point2D& p) { m_impl->insertPoint(index, p); }
void Polyline::removePoint(int index) { m_impl->removePoint(index); }
void Polyline::removePoint(const Point2D& p) { m_impl->removePoint(p); }
void Polyline::removeLastPoint() { m_impl->removeLastPoint(); }
void Polyline::setPoint(int index, const Point2D& p) { m_impl->setPoint(index, p); }
void Polyline::setLastPoint(const Point2D& p) { m_impl->setLastPoint(p); }
void Polyline::clear() { m_impl->clear(); }

bool Polyline::empty() const { return m_impl->points().empty(); }
const std::vector<Point2D>& Polyline::points() const { return m_impl->points(); }
int Polyline::pointsCount() const { return static_cast<int>(m_impl->points().size()); }
Rect Polyline::boundingRect() const { return m_impl->boundingRect(); }

geos::geom::LineString* Polyline::geosLineString() const
{
    if (!m_impl->cachedGeometry()) {
        const auto* factory = defaultGeometryFactory();
        const std::vector<Point2D>& vertices = m_impl->points();
        auto sequence = factory->getCoordinateSequenceFactory()->create(vertices.size(), 2);
        for (std::size_t i = 0; i < vertices.size(); ++i)
            sequence->setAt(geos::geom::Coordinate(vertices[i].x(), vertices[i].y(), 0.0), i);
        m_impl->setCachedGeometry(factory->createLineString(std::move(sequence)));
    }
    return static_cast<geos::geom::LineString*>(m_impl->cachedGeometry());
}

geos::geom::Geometry* Polyline::geosGeometry() const { return geosLineString(); }

std::vector<Point2D> Polyline::intersectionPoints(geos::geom::Geometry* g) const
{
    if (!g)
        throw common::exception::RuntimeException("Polyline::intersectionPoints: null geometry");
    const std::unique_ptr<geos::geom::Geometry> intersection = geosLineString()->intersection(g);
    std::vector<Point2D> points;
    collectPointPieces(*intersection, points);
    return points;
}

} // namespace tin::core
