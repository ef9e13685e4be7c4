#pragma once

#include "movarin/shell/ShapePainter.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QBrush>
#include <QPen>

#include <vector>

namespace varnel {

/// A painter helper that draws a dot of `m_radius` pixels (3 unless a subclass changes it)
/// at each point of a borrowed vector, with the helper's pen and brush; nothing for an
/// empty vector. `Base` is the helper base of the view type `View`; `Point` is
/// `tin::core::Point` or `QPointF`. The vector is read anew at every paint and must
/// outlive the helper. Built with (points, view, brush) and the default pen; a subclass may
/// give a pen too.
template <class Base, class View, class Point> class PointsViewHelperT : public Base {
public:
    PointsViewHelperT(const std::vector<Point>* points, View* view, const QBrush& brush)
        : PointsViewHelperT(points, view, QPen(), brush)
    {
    }

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override
    {
        if (!m_points || m_points->empty()) {
            return;
        }
        guimisc::restorer::QPainterPenBrushChanger changer(painter, this->pen(), this->brush());
        ShapePainter::paintPoints(painter, this->view(), *m_points, static_cast<double>(m_radius));
    }

protected:
    PointsViewHelperT(const std::vector<Point>* points, View* view, const QPen& pen,
                      const QBrush& brush)
        : Base(view, pen, brush), m_points(points)
    {
    }

    int m_radius = 3;

private:
    const std::vector<Point>* m_points;
};

} // namespace varnel
