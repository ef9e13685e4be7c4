#pragma once

#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataShapeItemViewT.h"

namespace varnel {

/// Paints a polyline on the main view: its segments in the setting's colour, width and
/// opacity, and, while the item is selected, its vertices at full opacity. No segment under
/// two vertices. No state of its own.
class GeoDataPolylineItemView : public GeoDataShapeItemViewT<GeoDataPolylineItem> {
public:
    explicit GeoDataPolylineItemView(const GeoDataPolylineItem* item);
    ~GeoDataPolylineItemView() override;

protected:
    void paint(QPainter* painter, const QRectF& rect, bool selected) const override;
};

} // namespace varnel
