#include "movarin/sections/GeoDataPolylineItemView.h"

#include "movarin/sections/GeoDataShapePainter.h"

#include "brask/core/View.h"

#include <QPainter>

namespace varnel {

GeoDataPolylineItemView::GeoDataPolylineItemView(const GeoDataPolylineItem* item)
    : GeoDataShapeItemViewT<GeoDataPolylineItem>(item)
{
}

GeoDataPolylineItemView::~GeoDataPolylineItemView() = default;

void GeoDataPolylineItemView::paint(QPainter* painter, const QRectF& rect, bool selected) const
{
    const mvc::core::View* mainView = view();
    const tin::core::Polyline& polyline = *item()->polyline();
    if (!mainView || polyline.empty()
        || !GeoDataShapePainter::meets(item()->myBoundingBox(), rect)) {
        return;
    }
    const GeoDataPolylineSetting& setting = item()->setting();
    const QPolygonF points = GeoDataShapePainter::widgetPoints(*mainView, polyline.points());

    painter->save();
    painter->setPen(GeoDataShapePainter::linePen(setting));
    painter->setOpacity(setting.opacity);
    painter->drawPolyline(points);
    painter->restore();

    if (selected) {
        GeoDataShapePainter::paintVertices(painter, points, setting);
    }
}

} // namespace varnel
