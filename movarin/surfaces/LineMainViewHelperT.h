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
#include <optional>
#include <vector>

namespace varnel {

/// An endless straight line on the main view: the line through a borrowed point along a
/// borrowed direction (any length), drawn across the visible world rectangle as one line
/// with the helper's pen. `Point` and `Direction` are any types with `x()` and `y()` in world
/// units (`tin::core::Point` and `tin::core::Point2D` for a reference line). Both are read
/// at every paint and must outlive the helper; a direction of no length, or a point or
/// direction that is not finite, draws nothing. Header-only.
template <class Point, class Direction>
class LineMainViewHelperT : public mvc::util::MainViewHelperI {
public:
    LineMainViewHelperT(const Point* point, const Direction* direction, mvc::core::View* view,
                        const QPen& pen, const QBrush& brush = QBrush())
        : MainViewHelperI(view, pen, brush), m_point(point), m_direction(direction)
    {
    }

    void paintView(QPainter* painter, const QTransform&, const QRectF& rect) override
    {
        if (!m_point || !m_direction || !view()) {
            return;
        }
        const std::optional<QLineF> world =
            across(QPointF(m_point->x(), m_point->y()),
                   QPointF(m_direction->x(), m_direction->y()), rect);
        if (!world) {
            return;
        }
        guimisc::restorer::QPainterPenBrushChanger changer(painter, pen(), brush());
        painter->drawLine(QLineF(view()->conv(world->p1()), view()->conv(world->p2())));
    }

    /// The piece of the line p + t d that the world rectangle `rect` (either orientation)
    /// shows: of the parameters t at which the line meets the lines of the rectangle's sides
    /// (two of them for a direction along an axis, else four), sorted, the middle two give
    /// its ends. So an axis-parallel line spans the rectangle and a slanting one ends on its
    /// border where it crosses it. None for a direction of no length or anything not finite.
    static std::optional<QLineF> across(const QPointF& p, const QPointF& d, const QRectF& rect)
    {
        const QRectF r = rect.normalized();
        const bool finite = std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(d.x())
            && std::isfinite(d.y()) && std::isfinite(r.left()) && std::isfinite(r.right())
            && std::isfinite(r.top()) && std::isfinite(r.bottom());
        if (!finite || (d.x() == 0.0 && d.y() == 0.0)) {
            return std::nullopt;
        }
        std::vector<double> t;
        if (d.x() != 0.0) {
            t.push_back((r.left() - p.x()) / d.x());
            t.push_back((r.right() - p.x()) / d.x());
        }
        if (d.y() != 0.0) {
            t.push_back((r.top() - p.y()) / d.y());
            t.push_back((r.bottom() - p.y()) / d.y());
        }
        std::sort(t.begin(), t.end());
        const std::size_t first = t.size() == 4 ? 1 : 0;
        return QLineF(p + t[first] * d, p + t[first + 1] * d);
    }

private:
    const Point* m_point;
    const Direction* m_direction;
};

} // namespace varnel
