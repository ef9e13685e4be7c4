#include "orlin/core/Rect.h"

#include "orlin/core/Point2D.h"

#include <algorithm>

namespace tin {
namespace core {

Rect::Rect()
    : m_xMin(0.0), m_xMax(0.0), m_yMin(0.0), m_yMax(0.0), m_valid(false)
{
}

Rect::Rect(double x1, double y1, double x2, double y2)
    : m_xMin(std::min(x1, x2)), m_xMax(std::max(x1, x2)),
      m_yMin(std::min(y1, y2)), m_yMax(std::max(y1, y2)), m_valid(true)
{
}

Rect::Rect(const std::vector<Point2D>& points)
    : Rect()
{
    if (points.empty())
        return;
    const Point2DI& first = points.front();
    m_xMin = m_xMax = first.x();
    m_yMin = m_yMax = first.y();
    m_valid = true;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Point2DI& p = points[i];
        if (p.x() < m_xMin)
            m_xMin = p.x();
        if (p.x() > m_xMax)
            m_xMax = p.x();
        if (p.y() < m_yMin)
            m_yMin = p.y();
        if (p.y() > m_yMax)
            m_yMax = p.y();
    }
}

bool Rect::contains(const Point2DI& p) const
{
    const double x = p.x();
    const double y = p.y();
    return m_valid && m_xMin <= x && x <= m_xMax && m_yMin <= y && y <= m_yMax;
}

bool Rect::intersects(const Rect& r) const
{
    return m_valid && r.m_valid && r.m_xMax >= m_xMin && m_xMax >= r.m_xMin && r.m_yMax >= m_yMin
           && m_yMax >= r.m_yMin;
}

bool Rect::isInside(const Rect& r) const
{
    return m_valid && r.m_valid && m_xMin >= r.m_xMin && r.m_xMax >= m_xMax && m_yMin >= r.m_yMin
           && r.m_yMax >= m_yMax;
}

} // namespace core
} // namespace tin
