#pragma once

#include "movarin/shell/MultipleSlopeViewHelperT.h"
#include "movarin/shell/SlopeMoldDetailViewHelper.h"

namespace varnel {

class MoldItem;

/// Slope figures on the mold detail view between every two consecutive points (L, H) of
/// the mold of a borrowed mold item; a mold of fewer than 2 points, or no item, draws
/// nothing (see `MultipleSlopeViewHelperT`). The item is read at every paint and must
/// outlive the helper.
class MultipleSlopeMoldDetailViewHelper
    : public MultipleSlopeViewHelperT<MoldDetailViewHelperI, DetailView,
                                      SlopeMoldDetailViewHelper> {
public:
    MultipleSlopeMoldDetailViewHelper(const MoldItem* moldItem, DetailView* view, const QPen& pen);
    MultipleSlopeMoldDetailViewHelper(const MoldItem* moldItem, DetailView* view, const QPen& pen,
                                      const QBrush& brush);

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override;

private:
    const MoldItem* m_moldItem;
};

} // namespace varnel
