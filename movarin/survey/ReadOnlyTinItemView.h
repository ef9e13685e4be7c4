#pragma once

#include "brask/core/ModelItemViewT.h"

namespace varnel {

class ReadOnlyTinItem;

/// Paints a TIN item's TIN on the main view, each triangle in the colour of its corners'
/// elevations on the project's colour scale, with black edges when the setting
/// "graphics/show_tin_edges" is on (read at every paint; off when absent). Nothing without a
/// TIN or outside a project. The drawing is `TinMainViewHelper::paintTin`, whose kept picture
/// this view drops whenever the framework discards the paint caches.
///
/// Cost: that of `TinMainViewHelper::paintTin`.
class ReadOnlyTinItemView : public mvc::core::ModelItemViewT<ReadOnlyTinItem> {
public:
    explicit ReadOnlyTinItemView(const ReadOnlyTinItem* item);
    ~ReadOnlyTinItemView() override;

protected:
    void doPaintMainView(QPainter* painter, const QTransform& transform,
                         const QRectF& rect) const override;

private:
    void doDiscardPaintCache() override;
};

} // namespace varnel
