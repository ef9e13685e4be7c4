#include "movarin/shell/MultipleSlopeMoldDetailViewHelper.h"

#include "movarin/surfaces/MoldItem.h"

namespace varnel {

MultipleSlopeMoldDetailViewHelper::MultipleSlopeMoldDetailViewHelper(const MoldItem* moldItem,
                                                                     DetailView* view,
                                                                     const QPen& pen)
    : MultipleSlopeMoldDetailViewHelper(moldItem, view, pen, QBrush())
{
}

MultipleSlopeMoldDetailViewHelper::MultipleSlopeMoldDetailViewHelper(const MoldItem* moldItem,
                                                                     DetailView* view,
                                                                     const QPen& pen,
                                                                     const QBrush& brush)
    : MultipleSlopeViewHelperT(view, pen, brush), m_moldItem(moldItem)
{
}

void MultipleSlopeMoldDetailViewHelper::paintView(QPainter* painter, const QTransform& transform,
                                                  const QRectF& rect)
{
    if (!m_moldItem) {
        return;
    }
    const mold::core::Mold& mold = m_moldItem->mold();
    std::vector<QPointF> points;
    points.reserve(mold.size());
    for (std::size_t i = 0; i < mold.size(); ++i) {
        points.emplace_back(mold.l()[i], mold.h()[i]);
    }
    paintSlopes(painter, transform, rect, points);
}

} // namespace varnel
