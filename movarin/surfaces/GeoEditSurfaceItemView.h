#pragma once

#include "brask/core/ModelItemViewT.h"

namespace varnel {

class GeoEditSurfaceItem;

/// Paints a mold-and-path surface on the main view: its surface TIN filled in the colour of
/// its corners' elevations on the project's colour scale, as the TIN items are drawn
/// (`TinMainViewHelper::paintTin`, no edges), then its path as an open black line 2 pixels
/// wide through the vertices. Nothing for a surface without a surface TIN (its sweep built
/// nothing) or outside a project.
///
/// The fill is kept as a picture on the overlay layer of `TinMainViewHelper::paintTin`
/// (cropped to the surface), so that however many surfaces are shown they never push the
/// base and edited TINs' pictures out; a repaint with nothing changed costs a blit per
/// surface in view and the path's line.
class GeoEditSurfaceItemView : public mvc::core::ModelItemViewT<GeoEditSurfaceItem> {
public:
    explicit GeoEditSurfaceItemView(const GeoEditSurfaceItem* item);
    ~GeoEditSurfaceItemView() override;

protected:
    void doPaintMainView(QPainter* painter, const QTransform& transform,
                         const QRectF& rect) const override;

private:
    void doDiscardPaintCache() override;
};

} // namespace varnel
