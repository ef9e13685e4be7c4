#include "orlin/core/Point.h"

#include "orlin/core/GeometryFunctions.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/Point.h>

#include <cmath>
#include <limits>

namespace tin {
namespace core {

constexpr int Point::UNDEFINED_ID;

namespace {
const double POSITION_TOLERANCE = 1e-8;
const double ELEVATION_TOLERANCE = 1e-8;
}

Point::Point(double x, double y)
    : m_id(UNDEFINED_ID), m_x(x), m_y(y), m_elevation(0.0)
{
}

Point::Point(double x, double y, int id)
    : m_id(id), m_x(x), m_y(y), m_elevation(0.0)
{
}

Point::Point(double x, double y, double elevation)
    : m_id(UNDEFINED_ID), m_x(x), m_y(y), m_elevation(elevation)
{
}

Point::Point(double x, double y, double elevation, int id)
    : m_id(id), m_x(x), m_y(y), m_elevation(elevation)
{
}

Point::Point(const Point2D& p)
    : m_id(UNDEFINED_ID), m_x(p.x()), m_y(p.y()), m_elevation(0.0)
{
}

Point::Point(const Point& other)
    : Geometry(), Point2DI(), m_id(other.m_id), m_x(other.m_x), m_y(other.m_y),
      m_elevation(other.m_elevation)
{
}

Point::Point(Point&& other) noexcept
    : Geometry(), Point2DI(), m_id(other.m_id), m_x(other.m_x), m_y(other.m_y),
      m_elevation(other.m_elevation)
{
}

std::size_t Point::s_countedDestructions = 0;

Point::~Point()
{
    if (m_countDestruction)
        ++s_countedDestructions;
}

void Point::dropCache()
{
    m_geos.reset();
}

Point& Point::operator=(const Point& other)
{
    if (this != &other) {
        m_id = other.m_id;
        m_x = other.m_x;
        m_y = other.m_y;
        m_elevation = other.m_elevation;
    }
    dropCache();
    return *this;
}

void Point::setX(double x)
{
    m_x = x;
    dropCache();
}

void Point::setY(double y)
{
    m_y = y;
    dropCache();
}

void Point::setPosition(double x, double y)
{
    m_x = x;
    m_y = y;
    dropCache();
}

void Point::move(double dx, double dy)
{
    m_x += dx;
    m_y += dy;
    dropCache();
}

Rect Point::boundingRect() const
{
    return Rect(m_x - POSITION_TOLERANCE, m_y - POSITION_TOLERANCE, m_x + POSITION_TOLERANCE,
                m_y + POSITION_TOLERANCE);
}

bool Point::isCloseTo(const Point& other) const
{
    return std::fabs(m_x - other.m_x) <= POSITION_TOLERANCE
           && std::fabs(m_y - other.m_y) <= POSITION_TOLERANCE;
}

bool Point::isElevationCloseTo(const Point& other) const
{
    return std::fabs(m_elevation - other.m_elevation) < ELEVATION_TOLERANCE;
}

geos::geom::Point* Point::geosPoint() const
{
    if (!m_geos) {
        const geos::geom::Coordinate c(m_x, m_y, std::numeric_limits<double>::quiet_NaN());
        m_geos.reset(defaultGeometryFactory()->createPoint(c));
    }
    return m_geos.get();
}

geos::geom::Geometry* Point::geosGeometry() const
{
    return geosPoint();
}

bool Point::isInGeometry(geos::geom::Geometry* g) const
{
    if (!g)
        return false;
    return g->covers(geosGeometry());
}

} // namespace core
} // namespace tin
