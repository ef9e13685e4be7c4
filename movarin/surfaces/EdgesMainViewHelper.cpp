#include "movarin/surfaces/EdgesMainViewHelper.h"

#include "brask/core/View.h"
#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QLineF>
#include <QPainter>
#include <QVector>

namespace varnel {

EdgesMainViewHelper::EdgesMainViewHelper(const std::vector<tin::core::Edge*>* edges,
                                         mvc::core::View* view, const QPen& pen)
    : MainViewHelperI(view, pen), m_edges(edges)
{
}

EdgesMainViewHelper::EdgesMainViewHelper(const std::vector<tin::core::Edge*>* edges,
                                         mvc::core::View* view, const QPen& pen,
                                         const QBrush& brush)
    : MainViewHelperI(view, pen, brush), m_edges(edges)
{
}

void EdgesMainViewHelper::paintView(QPainter* painter, const QTransform&, const QRectF&)
{
    if (!m_edges || m_edges->empty() || !view()) {
        return;
    }
    QVector<QLineF> lines;
    lines.reserve(static_cast<int>(m_edges->size()));
    for (const tin::core::Edge* edge : *m_edges) {
        const tin::core::Point& a = *edge->point1();
        const tin::core::Point& b = *edge->point2();
        lines.append(QLineF(view()->conv(QPointF(a.x(), a.y())), view()->conv(QPointF(b.x(), b.y()))));
    }
    guimisc::restorer::QPainterPenBrushChanger changer(painter, pen(), brush());
    painter->drawLines(lines);
}

} // namespace varnel
