#include "orlin/core/PreparedCoverage.h"

#include "orlin/core/GeometryFunctions.h"

#include <geos/algorithm/locate/PointOnGeometryLocator.h>
#include <geos/geom/Coordinate.h>
#include <geos/geom/Geometry.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/Location.h>
#include <geos/geom/Point.h>
#include <geos/geom/prep/PreparedGeometry.h>
#include <geos/geom/prep/PreparedGeometryFactory.h>
#include <geos/geom/prep/PreparedPolygon.h>

namespace tin::core {

PreparedCoverage::PreparedCoverage(const geos::geom::Geometry* geometry)
    : m_prepared(geos::geom::prep::PreparedGeometryFactory::prepare(geometry)),
      m_polygon(dynamic_cast<const geos::geom::prep::PreparedPolygon*>(m_prepared.get())),
      m_envelope(*geometry->getEnvelopeInternal())
{
}

PreparedCoverage::~PreparedCoverage() = default;

bool PreparedCoverage::covers(double x, double y) const
{
    if (!m_envelope.covers(x, y))
        return false;
    const geos::geom::Coordinate c(x, y);
    if (m_polygon)
        return m_polygon->getPointLocator()->locate(&c) != geos::geom::Location::EXTERIOR;
    const std::unique_ptr<geos::geom::Point> point(
        defaultGeometryFactory()->createPoint(c));
    return m_prepared->covers(point.get());
}

bool PreparedCoverage::covers(const geos::geom::Geometry* g) const
{
    return m_prepared->covers(g);
}

} // namespace tin::core
