#include "orlin/core/Edge.h"

#include "orlin/core/EdgeFactory.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/support/GeosCacheTable.h"

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

// Every edge of a large TIN pays for each byte here: the object and its control block fill
// an 80-byte pool chunk.
static_assert(sizeof(void*) != 8 || sizeof(Edge) <= 64, "Edge grew beyond 64 bytes");

Edge::~Edge()
{
    if (m_interned && EdgeFactory::s_alive)
        EdgeFactory::m_instance.remove(this);
    if (m_hasGeos)
        support::GeosCacheTable::instance().erase(this);
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
    support::GeosCacheTable& cache = support::GeosCacheTable::instance();
    if (m_hasGeos)
        return static_cast<geos::geom::LineString*>(cache.find(this));
    geos::geom::Geometry* g = cache.insert(this, segmentLineString(*m_p1, *m_p2));
    m_hasGeos = true;
    return static_cast<geos::geom::LineString*>(g);
}

geos::geom::Geometry* Edge::geosGeometry() const
{
    return geosLineString();
}

} // namespace core
} // namespace tin
