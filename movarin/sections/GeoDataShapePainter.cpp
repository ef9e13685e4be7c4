#include "movarin/sections/GeoDataShapePainter.h"

#include "movarin/sections/GeoDataShapeSetting.h"

#include "brask/core/View.h"

#include <QPainter>

namespace varnel {

QPen GeoDataShapePainter::linePen(const GeoDataShapeSetting& setting, int extraWidth)
{
    return QPen(QBrush(setting.color.value()), setting.lineWidth.value() + extraWidth,
                Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

QPolygonF GeoDataShapePainter::widgetPoints(const mvc::core::View& view,
                                            const std::vector<tin::core::Point2D>& vertices)
{
    QPolygonF points;
    points.reserve(static_cast<int>(vertices.size()));
    for (const tin::core::Point2D& p : vertices) {
        points << view.conv(QPointF(p.x(), p.y()));
    }
    return points;
}

bool GeoDataShapePainter::meets(const QRectF& box, const QRectF& rect)
{
    const QRectF visible = rect.normalized();
    return !(box.right() < visible.left() || box.left() > visible.right()
             || box.bottom() < visible.top() || box.top() > visible.bottom());
}

void GeoDataShapePainter::paintVertices(QPainter* painter, const QPolygonF& points,
                                        const GeoDataShapeSetting& setting)
{
    painter->save();
    painter->setOpacity(1.0);
    painter->setPen(linePen(setting, 4));
    painter->drawPoints(points);
    painter->restore();
}

} // namespace varnel
