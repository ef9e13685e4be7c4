#include "movarin/shell/PolylineMainViewHelper.h"

#include "movarin/shell/PolylineMainViewHelperT.h"

namespace varnel {

using SharedPoints = std::vector<std::shared_ptr<tin::core::Point>>;
using Points = std::vector<tin::core::Point>;

PolylineMainViewHelper::PolylineMainViewHelper(const SharedPoints* points, mvc::core::View* view,
                                               const QPen& pen, const QBrush& brush,
                                               const int* ringSize)
    : MainViewHelperI(view, pen, brush),
      m_helper(std::make_unique<PolylineMainViewHelperT<std::shared_ptr<tin::core::Point>>>(
          points, view, pen, brush, ringSize))
{
}

PolylineMainViewHelper::PolylineMainViewHelper(const SharedPoints* points, mvc::core::View* view,
                                               const int* ringSize)
    : PolylineMainViewHelper(points, view, QPen(), QBrush(), ringSize)
{
}

PolylineMainViewHelper::PolylineMainViewHelper(const Points* points, mvc::core::View* view,
                                               const QPen& pen, const QBrush& brush,
                                               const int* ringSize)
    : MainViewHelperI(view, pen, brush),
      m_helper(std::make_unique<PolylineMainViewHelperT<tin::core::Point>>(points, view, pen, brush,
                                                                           ringSize))
{
}

PolylineMainViewHelper::PolylineMainViewHelper(const Points* points, mvc::core::View* view,
                                               const QPen& pen, const int* ringSize)
    : PolylineMainViewHelper(points, view, pen, QBrush(), ringSize)
{
}

PolylineMainViewHelper::PolylineMainViewHelper(const Points* points, mvc::core::View* view,
                                               const int* ringSize)
    : PolylineMainViewHelper(points, view, QPen(), QBrush(), ringSize)
{
}

PolylineMainViewHelper::~PolylineMainViewHelper() = default;

void PolylineMainViewHelper::paintView(QPainter* painter, const QTransform& transform,
                                       const QRectF& rect)
{
    m_helper->paintView(painter, transform, rect);
}

} // namespace varnel
