#pragma once

#include "movarin/shell/ShapePainter.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QBrush>
#include <QPen>

#include <vector>

namespace varnel {

/// A painter helper that draws a borrowed vector of points as one open polyline, or, with
/// a ring size, as closed rings of that many consecutive points (see
/// `ShapePainter::paintPolyline`), with the helper's pen and brush; nothing under 2 points.
/// `Base` is the helper base of the view type `View`; `Point` is `tin::core::Point`, a
/// shared `tin::core::Point` or `QPointF`. The points and the ring size (null for an open
/// line) are read anew at every paint and must outlive the helper.
template <class Base, class View, class Point> class PolylineViewHelperT : public Base {
public:
    PolylineViewHelperT(const std::vector<Point>* points, View* view, const QPen& pen,
                        const QBrush& brush, const int* ringSize)
        : Base(view, pen, brush), m_points(points), m_ringSize(ringSize)
    {
    }

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override
    {
        if (!m_points) {
            return;
        }
        guimisc::restorer::QPainterPenBrushChanger changer(painter, this->pen(), this->brush());
        ShapePainter::paintPolyline(painter, this->view(), *m_points, m_ringSize);
    }

private:
    const std::vector<Point>* m_points;
    const int* m_ringSize;
};

} // namespace varnel
