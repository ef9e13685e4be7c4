#include "movarin/survey/RectangleToPolygon.h"

#include "brask/core/View.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Polygon.h"

#include <stdexcept>

namespace varnel {

void rectangleToPolygon(tin::core::Polygon& out, const QPointF& p1, const QPointF& p2,
                        const mvc::core::View* view)
{
    if (!view) {
        throw std::invalid_argument("rectangleToPolygon: no view");
    }
    rectangleToPolygon(out, p1, p2, viewMapping(view));
}

void rectangleToPolygon(tin::core::Polygon& out, const QPointF& p1, const QPointF& p2,
                        const ViewMapping& mapping)
{
    const QPointF corners[] = {p1, QPointF(p1.x(), p2.y()), p2, QPointF(p2.x(), p1.y())};
    out.clear();
    for (const QPointF& corner : corners) {
        const QPointF world = mapping.toWorld(corner);
        out.addPoint(tin::core::Point2D(world.x(), world.y(), -1));
    }
}

} // namespace varnel
