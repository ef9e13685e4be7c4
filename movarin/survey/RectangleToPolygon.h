#pragma once

#include "movarin/survey/PickNearest.h"

#include <QPointF>

namespace mvc::core {
class View;
}

namespace tin::core {
class Polygon;
}

namespace varnel {

/// The widget rectangle between `p1` and `p2` (pixels, any two opposite corners) as a
/// world polygon of the main view: `out` is cleared and receives the four corners p1,
/// (p1.x, p2.y), p2 and (p2.x, p1.y), in that order, each through `View::rconv`, as
/// `tin::core::Point2D` with id -1. The selection tools make their rubber bands and the
/// nearest pick its search squares with it; corners far outside the widget are fine.
/// Throws std::invalid_argument for a null view (and leaves `out` as it was).
void rectangleToPolygon(tin::core::Polygon& out, const QPointF& p1, const QPointF& p2,
                        const mvc::core::View* view);

/// The same on any view, through its mapping (`viewMapping`): the rubber bands of the mold
/// detail view and the georeference pane, the squares of the nearest pick.
void rectangleToPolygon(tin::core::Polygon& out, const QPointF& p1, const QPointF& p2,
                        const ViewMapping& mapping);

} // namespace varnel
