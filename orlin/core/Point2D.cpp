#include "orlin/core/Point2D.h"

#include <geos/geom/Point.h>

namespace tin {
namespace core {

Point2D::Point2D(const Point2DI& other)
    : m_x(other.x()), m_y(other.y()), m_id(other.id())
{
}

Point2D::Point2D(const geos::geom::Point& point)
    : m_x(point.getX()), m_y(point.getY())
{
}

Rect Point2D::boundingRect() const
{
    return Rect(m_x, m_y, m_x, m_y);
}

} // namespace core
} // namespace tin
