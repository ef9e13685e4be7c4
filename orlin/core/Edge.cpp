#include "orlin/core/Edge.h"

#include "orlin/core/EdgeFactory.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"

#include <geos/geom/LineString.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tin {
namespace core {

namespace {

void requireEnds(const std::shared_ptr<Point>& p1, const std::shared_ptr<Point>& p2, const char* what)
{
    if (!p1 || !p2)
        throw std::invalid_argument(std::string(what) + ": null end point");
}

} // namespace

Edge::Edge(std::shared_ptr<Point> p1, std::shared_ptr<Point> p2)
    : Edge(std::move(p1), std::move(p2), -1)
{
}

Edge::Edge(std::shared_ptr<Point> p1, std::shared_ptr<Point> p2, int id)
    : m_id(id), m_p1(std::move(p1)), m_p2(std::move(p2))
{
    requireEnds(m_p1, m_p2, "Edge");
}

Edge::~Edge()
{
    if (m_interned && EdgeFactory::s_alive)
        EdgeFactory::m_instance.remove(this);
}

Rect Edge::boundingRect() const
{
    return Rect(m_p1->x(), m_p1->y(), m_p2->x(), m_p2->y());
}

double Edge::lengthSqr() const
{
    const double dx = m_p2->x() - m_p1->x();
    const double dy = m_p2->y() - m_p1->y();
    return dy * dy + dx * dx;
}

double Edge::length() const
{
    return std::sqrt(lengthSqr());
}

geos::geom::LineString* Edge::geosLineString() const
{
    if (!m_geos) {
        m_geos = segmentLineString(*m_p1, *m_p2);
    }
    return m_geos.get();
}

geos::geom::Geometry* Edge::geosGeometry() const
{
    return geosLineString();
}

} // namespace core
} // namespace tin
