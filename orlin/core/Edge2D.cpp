#include "orlin/core/Edge2D.h"

namespace tin::core {

Edge2D::Edge2D(const std::shared_ptr<Point2DI>& a, const std::shared_ptr<Point2DI>& b)
    : m_points{a, b}, m_id(0)
{
}

Edge2D::~Edge2D() = default;

Edge2D& Edge2D::operator=(const Edge2D& other)
{
    m_points[0] = other.m_points[0];
    m_points[1] = other.m_points[1];
    m_id = other.m_id;
    return *this;
}

const std::shared_ptr<Point2DI>& Edge2D::otherPoint(Point2DI* p) const
{
    return p == m_points[0].get() ? m_points[1] : m_points[0];
}

const std::shared_ptr<Point2DI>& Edge2D::bottomPoint() const
{
    const Point2DI& a = *m_points[0];
    const Point2DI& b = *m_points[1];
    if (b.y() < a.y() || (b.y() == a.y() && b.x() < a.x()))
        return m_points[1];
    return m_points[0];
}

double Edge2D::lengthSqr() const
{
    const double dx = m_points[1]->x() - m_points[0]->x();
    const double dy = m_points[1]->y() - m_points[0]->y();
    return dy * dy + dx * dx;
}

} // namespace tin::core
