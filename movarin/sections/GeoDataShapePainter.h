#pragma once

#include "orlin/core/Point2D.h"

#include <QPen>
#include <QPolygonF>
#include <QRectF>

#include <vector>

class QPainter;

namespace mvc::core {
class View;
}

namespace varnel {

class GeoDataShapeSetting;

/// The drawing rules that polygons and polylines of the geographic data share on the main
/// view. Lines are drawn in widget pixels with the setting's colour and width, solid, with
/// square caps and bevel joins; the vertices of a selected item are points of that colour
/// 4 pixels wider than the line, at full opacity.
class GeoDataShapePainter {
public:
    GeoDataShapePainter() = delete;

    static QPen linePen(const GeoDataShapeSetting& setting, int extraWidth = 0);
    /// The vertices in widget pixels, in order.
    static QPolygonF widgetPoints(const mvc::core::View& view,
                                  const std::vector<tin::core::Point2D>& vertices);
    /// Whether an item of this box can show in the visible world rectangle `rect` (a box
    /// without width or height is tested by its corners).
    static bool meets(const QRectF& box, const QRectF& rect);
    /// The vertices as points; the painter is left as it was found.
    static void paintVertices(QPainter* painter, const QPolygonF& points,
                              const GeoDataShapeSetting& setting);
};

} // namespace varnel
