#pragma once

#include "brask/core/ModelItemViewT.h"

namespace varnel {

class BreaklineItem;

/// Paints a breakline on the main view as one black polyline of width 2 through its points,
/// when its extent meets the visible rectangle.
class BreaklineItemView : public mvc::core::ModelItemViewT<BreaklineItem> {
public:
    explicit BreaklineItemView(const BreaklineItem* item);
    ~BreaklineItemView() override;

protected:
    void doPaintMainView(QPainter* painter, const QTransform& transform,
                         const QRectF& rect) const override;
};

} // namespace varnel
