#pragma once

#include "movarin/sections/GeoDataPolygonItem.h"

#include "brask/core/ModelItemViewT.h"

namespace varnel {

/// Paints a polygon on the main view: the ring filled in the setting's colour at the
/// setting's opacity (odd-even rule), then its outline at full opacity, and, while the item
/// is selected, its vertices. Nothing without vertices. No state of its own.
class GeoDataPolygonItemView : public mvc::core::ModelItemViewT<GeoDataPolygonItem> {
public:
    explicit GeoDataPolygonItemView(const GeoDataPolygonItem* item);
    ~GeoDataPolygonItemView() override;

protected:
    void doPaintMainView(QPainter* painter, const QTransform& transform,
                         const QRectF& rect) const override;
    void doPaintMainViewOnSelected(QPainter* painter, const QTransform& transform,
                                   const QRectF& rect) const override;

private:
    void paint(QPainter* painter, const QRectF& rect, bool selected) const;
};

} // namespace varnel
