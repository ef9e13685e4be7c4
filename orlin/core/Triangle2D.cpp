#include "orlin/core/Triangle2D.h"

#include "orlin/core/Edge2D.h"
#include "orlin/core/Point2DI.h"

namespace tin {
namespace core {

Triangle2D::Triangle2D(std::shared_ptr<Point2DI> const& p1, std::shared_ptr<Point2DI> const& p2,
                       std::shared_ptr<Point2DI> const& p3, std::shared_ptr<Edge2D> const& e1,
                       std::shared_ptr<Edge2D> const& e2, std::shared_ptr<Edge2D> const& e3)
    : m_p1(p1), m_p2(p2), m_p3(p3), m_e1(e1), m_e2(e2), m_e3(e3)
{
}

std::shared_ptr<Point2DI> const& Triangle2D::point(int i) const
{
    switch (i % 3) {
    case 0: return m_p1;
    case 1: return m_p2;
    default: return m_p3;
    }
}

std::shared_ptr<Edge2D> const& Triangle2D::edge(int i) const
{
    switch (i % 3) {
    case 0: return m_e1;
    case 1: return m_e2;
    default: return m_e3;
    }
}

Point2D Triangle2D::getInteriorPoint() const
{
    return Point2D((m_p1->x() + m_p2->x() + m_p3->x()) / 3.0,
                   (m_p1->y() + m_p2->y() + m_p3->y()) / 3.0);
}

}  // namespace core
}  // namespace tin
