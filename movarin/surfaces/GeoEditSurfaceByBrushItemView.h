#pragma once

#include "brask/core/ModelItemViewT.h"

#include <cstdint>
#include <vector>

namespace tin::core {
class Edge;
}

namespace varnel {

class GeoEditSurfaceByBrushItem;

/// Paints a brush surface on the main view: its added triangles filled in the colour of their
/// corners' elevations on the project's colour scale, as the TIN items do, then their outline
/// (the added TIN's outer edges) as black lines 2 pixels wide. Nothing for an empty surface,
/// outside a project, or for a surface whose triangles cannot be rebound (painting never
/// throws).
///
/// The fill is kept as a picture on the overlay layer of `TinMainViewHelper::paintTin`
/// (cropped to the surface, so that the surfaces do not push out the terrain's pictures), and
/// the outline is found once per state of the added TIN (its revision).
class GeoEditSurfaceByBrushItemView : public mvc::core::ModelItemViewT<GeoEditSurfaceByBrushItem> {
public:
    explicit GeoEditSurfaceByBrushItemView(const GeoEditSurfaceByBrushItem* item);
    ~GeoEditSurfaceByBrushItemView() override;

protected:
    void doPaintMainView(QPainter* painter, const QTransform& transform,
                         const QRectF& rect) const override;

private:
    void doDiscardPaintCache() override;

    mutable std::vector<tin::core::Edge*> m_outline;
    mutable std::uint64_t m_outlineRevision = 0;
};

} // namespace varnel
