#include "movarin/shell/PointsMainViewHelper.h"

namespace varnel {

PointsMainViewHelper::PointsMainViewHelper(const std::vector<tin::core::Point>* points,
                                           mvc::core::View* view)
    : PointsViewHelperT(points, view, QPen(), QBrush())
{
}

PointsMainViewHelper::PointsMainViewHelper(const std::vector<tin::core::Point>* points,
                                           mvc::core::View* view, const QPen& pen)
    : PointsViewHelperT(points, view, pen, QBrush())
{
}

PointsMainViewHelper::PointsMainViewHelper(const std::vector<tin::core::Point>* points,
                                           mvc::core::View* view, const QPen& pen,
                                           const QBrush& brush)
    : PointsViewHelperT(points, view, pen, brush)
{
}

PointsMainViewHelper* PointsMainViewHelper::setRadius(int radius)
{
    m_radius = radius;
    return this;
}

} // namespace varnel
