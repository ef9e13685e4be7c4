#pragma once

#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataShapeItemViewT.h"

namespace varnel {

/// Paints a polygon on the main view: the ring filled in the setting's colour at the
/// setting's opacity (odd-even rule), then its outline at full opacity, and, while the item
/// is selected, its vertices. Nothing without vertices. No state of its own.
class GeoDataPolygonItemView : public GeoDataShapeItemViewT<GeoDataPolygonItem> {
public:
    explicit GeoDataPolygonItemView(const GeoDataPolygonItem* item);
    ~GeoDataPolygonItemView() override;

protected:
    void paint(QPainter* painter, const QRectF& rect, bool selected) const override;
};

} // namespace varnel
