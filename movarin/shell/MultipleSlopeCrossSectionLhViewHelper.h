#pragma once

#include "movarin/sections/CrossSectionLhTableRow.h"
#include "movarin/shell/MultipleSlopeViewHelperT.h"
#include "movarin/shell/SlopeCrossSectionLhViewHelper.h"

#include <vector>

namespace varnel {

/// Slope figures on the L-H profile plot between consecutive enabled rows of a borrowed
/// profile table: disabled rows are skipped, so a figure spans across them; fewer than 2
/// enabled rows draw nothing (see `MultipleSlopeViewHelperT`). The rows are read at every
/// paint and must outlive the helper.
class MultipleSlopeCrossSectionLhViewHelper
    : public MultipleSlopeViewHelperT<CrossSectionLhViewHelper, CrossSectionLhView,
                                      SlopeCrossSectionLhViewHelper> {
public:
    MultipleSlopeCrossSectionLhViewHelper(const std::vector<CrossSectionLhTableRow>* rows,
                                          CrossSectionLhView* view, const QPen& pen);
    MultipleSlopeCrossSectionLhViewHelper(const std::vector<CrossSectionLhTableRow>* rows,
                                          CrossSectionLhView* view, const QPen& pen,
                                          const QBrush& brush);

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override;

private:
    const std::vector<CrossSectionLhTableRow>* m_rows;
};

} // namespace varnel
