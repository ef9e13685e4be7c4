#include "movarin/shell/MultipleSlopeCrossSectionLhViewHelper.h"

namespace varnel {

MultipleSlopeCrossSectionLhViewHelper::MultipleSlopeCrossSectionLhViewHelper(
    const std::vector<CrossSectionLhTableRow>* rows, CrossSectionLhView* view, const QPen& pen)
    : MultipleSlopeCrossSectionLhViewHelper(rows, view, pen, QBrush())
{
}

MultipleSlopeCrossSectionLhViewHelper::MultipleSlopeCrossSectionLhViewHelper(
    const std::vector<CrossSectionLhTableRow>* rows, CrossSectionLhView* view, const QPen& pen,
    const QBrush& brush)
    : MultipleSlopeViewHelperT(view, pen, brush), m_rows(rows)
{
}

void MultipleSlopeCrossSectionLhViewHelper::paintView(QPainter* painter,
                                                      const QTransform& transform,
                                                      const QRectF& rect)
{
    if (!m_rows) {
        return;
    }
    std::vector<QPointF> enabled;
    for (const CrossSectionLhTableRow& row : *m_rows) {
        if (row.enabled) {
            enabled.emplace_back(row.L, row.H);
        }
    }
    paintSlopes(painter, transform, rect, enabled);
}

} // namespace varnel
