#include "movarin/survey/BreaklineItemView.h"

#include "movarin/survey/BreaklineItem.h"

#include "brask/core/View.h"
#include "orlin/core/Point.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QPainter>
#include <QPolygonF>

namespace varnel {

BreaklineItemView::BreaklineItemView(const BreaklineItem* item)
    : mvc::core::ModelItemViewT<BreaklineItem>(item)
{
}

BreaklineItemView::~BreaklineItemView() = default;

void BreaklineItemView::doPaintMainView(QPainter* painter, const QTransform&,
                                        const QRectF& rect) const
{
    const mvc::core::View* mainView = view();
    const std::vector<BreaklineItem::PointPtr>& points = item()->points();
    if (!mainView || points.empty()) {
        return;
    }
    // The extent of a straight breakline has no width or height, so test it by its corners.
    const QRectF box = item()->myBoundingBox();
    const QRectF visible = rect.normalized();
    if (box.right() < visible.left() || box.left() > visible.right()
        || box.bottom() < visible.top() || box.top() > visible.bottom()) {
        return;
    }
    QPolygonF line;
    line.reserve(static_cast<int>(points.size()));
    for (const BreaklineItem::PointPtr& p : points) {
        line << mainView->conv(QPointF(p->x(), p->y()));
    }
    guimisc::restorer::QPainterPenBrushChanger changer(painter, QPen(Qt::black, 2.0), QBrush());
    painter->drawPolyline(line);
}

} // namespace varnel
