#pragma once

#include "movarin/shell/ShapePainter.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

namespace varnel {

/// A painter helper that fills a borrowed `tin::core::Polygon` with the default pen and
/// brush (odd-even rule, closed by the painter); nothing for a null polygon or one of
/// fewer than 2 vertices. `Base` is the helper base of the view type `View`. The polygon
/// is read anew at every paint and must outlive the helper.
template <class Base, class View> class PolygonViewHelperT : public Base {
public:
    PolygonViewHelperT(const tin::core::Polygon* polygon, View* view)
        : Base(view), m_polygon(polygon)
    {
    }

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override
    {
        if (!m_polygon) {
            return;
        }
        guimisc::restorer::QPainterPenBrushChanger changer(painter, this->pen(), this->brush());
        ShapePainter::paintPolygon(painter, this->view(), *m_polygon);
    }

private:
    const tin::core::Polygon* m_polygon;
};

} // namespace varnel
