#include "movarin/sections/GeoDataPolygonItemView.h"

#include "movarin/sections/GeoDataShapePainter.h"

#include "brask/core/View.h"

#include <QPainter>

namespace varnel {

GeoDataPolygonItemView::GeoDataPolygonItemView(const GeoDataPolygonItem* item)
    : GeoDataShapeItemViewT<GeoDataPolygonItem>(item)
{
}

GeoDataPolygonItemView::~GeoDataPolygonItemView() = default;

void GeoDataPolygonItemView::paint(QPainter* painter, const QRectF& rect, bool selected) const
{
    const mvc::core::View* mainView = view();
    const tin::core::Polygon& polygon = *item()->polygon();
    if (!mainView || polygon.empty()
        || !GeoDataShapePainter::meets(item()->myBoundingBox(), rect)) {
        return;
    }
    const GeoDataPolygonSetting& setting = item()->setting();
    const QPolygonF points = GeoDataShapePainter::widgetPoints(*mainView, polygon.points());

    QPolygonF ring = points;
    ring << points.front();
    painter->save();
    painter->setBrush(QBrush(setting.color.value(), Qt::SolidPattern));
    painter->setOpacity(setting.opacity);
    painter->drawPolygon(ring, Qt::OddEvenFill);
    painter->restore();

    painter->save();
    painter->setPen(GeoDataShapePainter::linePen(setting));
    painter->drawLine(points.back(), points.front());
    painter->drawPolyline(points);
    painter->restore();

    if (selected) {
        GeoDataShapePainter::paintVertices(painter, points, setting);
    }
}

} // namespace varnel
