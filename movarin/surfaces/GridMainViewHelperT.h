#pragma once

#include "brask/core/View.h"
#include "brask/util/MainViewHelperI.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QLineF>
#include <QPainter>
#include <QPointF>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace varnel {

/// A square grid on the main view turned to a direction: lines along a borrowed direction and
/// across it, through a borrowed point, a fixed number of screen pixels apart (25 each way
/// unless set), far enough out to cover the visible world rectangle. The user reads angles
/// and offsets from it while setting a direction at the point.
///
/// With V the point on the screen, R its largest screen distance from a corner of the visible
/// rectangle, s1 and s2 the spacings along and across, k1 = ceil(R / s1) and
/// k2 = ceil(R / s2): for i = -k1 .. k1 a line across the direction through V + i s1 a, from
/// -k2 s2 to +k2 s2 along b; for j = -k2 .. k2 a line along it through V + j s2 b, from
/// -k1 s1 to +k1 s1 along a; (2 k1 + 1) + (2 k2 + 1) lines, each drawn as one line with the
/// helper's pen. a is the screen direction of the world direction (so the grid stays aligned
/// with the line on a turned view) and b is a turned a quarter; both of unit length.
///
/// `Point` and `Direction` are types with `x()` and `y()` in world units (`tin::core::Point`
/// and `tin::core::Point2D` for a reference line). Both are read at every paint and must
/// outlive the helper; a direction of no length on the screen, a spacing that is not
/// positive, or anything not finite draws nothing. Header-only; cost linear in k1 + k2. A point
/// so far off the screen that k1 + k2 passes 4096 gets only the lines that cross the visible
/// rectangle, drawn over its extent (the same picture, a cost bounded by the view's size).
template <class Point, class Direction>
class GridMainViewHelperT : public mvc::util::MainViewHelperI {
public:
    GridMainViewHelperT(const Point* point, const Direction* direction, mvc::core::View* view,
                        const QPen& pen, const QBrush& brush = QBrush())
        : MainViewHelperI(view, pen, brush), m_point(point), m_direction(direction)
    {
    }

    /// The spacings along and across the direction, in screen pixels.
    void setSpacings(double along, double across)
    {
        m_along = along;
        m_across = across;
    }

    void paintView(QPainter* painter, const QTransform&, const QRectF& rect) override
    {
        if (!m_point || !m_direction || !view() || !(m_along > 0.0) || !(m_across > 0.0)) {
            return;
        }
        const QPointF world(m_point->x(), m_point->y());
        const QPointF v = view()->conv(world);
        const QPointF tip =
            view()->conv(world + QPointF(m_direction->x(), m_direction->y()));
        QPointF a = tip - v;
        const double length = std::hypot(a.x(), a.y());
        if (!std::isfinite(length) || length == 0.0 || !std::isfinite(v.x())
            || !std::isfinite(v.y())) {
            return;
        }
        a /= length;
        const QPointF b(-a.y(), a.x());

        const QRectF r = rect.normalized();
        double reach = 0.0;
        // The visible rectangle's extent along a and b, from V.
        double lowA = INFINITY, highA = -INFINITY, lowB = INFINITY, highB = -INFINITY;
        for (const QPointF& corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
            const QPointF d = view()->conv(corner) - v;
            reach = std::max(reach, std::hypot(d.x(), d.y()));
            const double onA = d.x() * a.x() + d.y() * a.y();
            const double onB = d.x() * b.x() + d.y() * b.y();
            lowA = std::min(lowA, onA);
            highA = std::max(highA, onA);
            lowB = std::min(lowB, onB);
            highB = std::max(highB, onB);
        }
        if (!std::isfinite(reach)) {
            return;
        }
        // Whole numbers held in doubles: a point far off the screen of a view zoomed far in
        // gives counts beyond any int.
        const double k1 = std::ceil(reach / m_along);
        const double k2 = std::ceil(reach / m_across);
        double firstI = -k1, lastI = k1, firstJ = -k2, lastJ = k2;
        if (k1 + k2 > MAXIMUM_FULL_REACH) {
            // The full grid would be thousands of lines, nearly all off the screen: only those
            // that can cross the visible rectangle are drawn, over its extent. The picture is the
            // same, the cost bounded by the view's size.
            firstI = std::max(firstI, std::floor(lowA / m_along));
            lastI = std::min(lastI, std::ceil(highA / m_along));
            firstJ = std::max(firstJ, std::floor(lowB / m_across));
            lastJ = std::min(lastJ, std::ceil(highB / m_across));
        }

        guimisc::restorer::QPainterPenBrushChanger changer(painter, pen(), brush());
        const QPointF acrossFrom = firstJ * m_across * b;
        const QPointF acrossTo = lastJ * m_across * b;
        for (double i = firstI; i <= lastI; ++i) {
            const QPointF centre = v + i * m_along * a;
            painter->drawLine(QLineF(centre + acrossFrom, centre + acrossTo));
        }
        const QPointF alongFrom = firstI * m_along * a;
        const QPointF alongTo = lastI * m_along * a;
        for (double j = firstJ; j <= lastJ; ++j) {
            const QPointF centre = v + j * m_across * b;
            painter->drawLine(QLineF(centre + alongFrom, centre + alongTo));
        }
    }

private:
    // Beyond this k1 + k2 only the lines over the visible rectangle are drawn.
    static constexpr double MAXIMUM_FULL_REACH = 4096.0;

    const Point* m_point;
    const Direction* m_direction;
    double m_along = 25.0;
    double m_across = 25.0;
};

} // namespace varnel
