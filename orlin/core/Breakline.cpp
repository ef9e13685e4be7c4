#include "orlin/core/Breakline.h"

#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"

#include <geos/geom/LineString.h>

#include <stdexcept>

namespace tin {
namespace core {

Breakline::Breakline(std::shared_ptr<Point> p1, std::shared_ptr<Point> p2)
    : m_p1(std::move(p1)), m_p2(std::move(p2))
{
    if (!m_p1 || !m_p2)
        throw std::invalid_argument("Breakline: null end point");
}

Breakline::Breakline(const Breakline& other)
    : Geometry(), m_p1(other.m_p1), m_p2(other.m_p2)
{
}

Breakline::~Breakline() = default;

const std::shared_ptr<Point>& Breakline::bottomPoint() const
{
    if (m_p2->y() < m_p1->y())
        return m_p2;
    if (m_p2->y() == m_p1->y() && m_p2->x() < m_p1->x())
        return m_p2;
    return m_p1;
}

Rect Breakline::boundingRect() const
{
    return Rect(m_p1->x(), m_p1->y(), m_p2->x(), m_p2->y());
}

double Breakline::innerElevation(double t) const
{
    return (1.0 - t) * m_p1->elevation() + t * m_p2->elevation();
}

bool Breakline::hasCommonPoint(const Breakline& other) const
{
    return other.m_p1 == m_p1 || other.m_p1 == m_p2 || other.m_p2 == m_p1 || other.m_p2 == m_p2;
}

bool Breakline::intersects(const Breakline& other) const
{
    if (hasCommonPoint(other))
        return false;
    if (!boundingRect().intersects(other.boundingRect()))
        return false;
    return tin::core::intersects(*m_p1, *m_p2, *other.m_p1, *other.m_p2);
}

geos::geom::LineString* Breakline::geosLineString() const
{
    if (!m_geos) {
        m_geos = segmentLineString(*m_p1, *m_p2);
    }
    return m_geos.get();
}

geos::geom::Geometry* Breakline::geosGeometry() const
{
    return geosLineString();
}

std::size_t hashBreakline(const Breakline& b)
{
    return hashAddressPair(b.point1().get(), b.point2().get());
}

bool isSameBreakline(const Breakline& a, const Breakline& b)
{
    return a.point1() == b.point1() && a.point2() == b.point2();
}

} // namespace core
} // namespace tin
