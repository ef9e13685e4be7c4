#pragma once

#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"

#include <QPainter>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include <memory>

namespace varnel {

/// The drawing rules that the painter helpers of every view share. Each shape is drawn in
/// widget pixels with the painter's current pen and brush (the helpers set theirs around
/// these calls); world points become widget points through `view->conv`, so `View` is any
/// view with `QPointF conv(const QPointF&) const` (the main view and the secondary views).
/// A point is a `tin::core::Point2DI` (read through its virtual accessors), a shared
/// `tin::core::Point` or a `QPointF`. Nothing is kept; each call is linear in its data.
class ShapePainter {
public:
    static QPointF world(const tin::core::Point2DI& p) { return QPointF(p.x(), p.y()); }
    static QPointF world(const std::shared_ptr<tin::core::Point>& p) { return world(*p); }
    static QPointF world(const QPointF& p) { return p; }

    /// A circle of `radius` pixels about each point, in order (the radius does not follow
    /// the zoom).
    template <class View, class Points>
    static void paintPoints(QPainter* painter, const View* view, const Points& points,
                            double radius)
    {
        for (const auto& p : points) {
            painter->drawEllipse(view->conv(world(p)), radius, radius);
        }
    }

    /// The vertices closed into one filled polygon (odd-even rule); nothing under 2.
    template <class View>
    static void paintPolygon(QPainter* painter, const View* view, const tin::core::Polygon& polygon)
    {
        const auto& vertices = polygon.points();
        if (vertices.size() < 2) {
            return;
        }
        QPolygonF widget;
        widget.reserve(static_cast<int>(vertices.size()));
        for (const auto& p : vertices) {
            widget << view->conv(world(p));
        }
        painter->drawPolygon(widget, Qt::OddEvenFill);
    }

    /// Nothing under 2 points. Without a ring size one open polyline through all points;
    /// with ring size k each k consecutive points form a closed ring (drawn as a polyline
    /// back to its first point), and fewer than k points left at the end are not drawn.
    template <class View, class Points>
    static void paintPolyline(QPainter* painter, const View* view, const Points& points,
                              const int* ringSize)
    {
        if (points.size() < 2) {
            return;
        }
        QPolygonF line;
        if (!ringSize) {
            line.reserve(static_cast<int>(points.size()));
            for (const auto& p : points) {
                line << view->conv(world(p));
            }
            painter->drawPolyline(line);
            return;
        }
        const int k = *ringSize;
        for (const auto& p : points) {
            line << view->conv(world(p));
            if (line.size() > k - 1) {
                line << line.front();
                painter->drawPolyline(line);
                line.clear();
            }
        }
    }

    /// The rectangle as a filled polygon (xMin, yMin), (xMin, yMax), (xMax, yMax),
    /// (xMax, yMin) while its valid flag is set; nothing otherwise.
    template <class View>
    static void paintRect(QPainter* painter, const View* view, const tin::core::Rect& rect)
    {
        if (!rect.isValid()) {
            return;
        }
        const QPointF corners[] = {view->conv(QPointF(rect.xMin(), rect.yMin())),
                                   view->conv(QPointF(rect.xMin(), rect.yMax())),
                                   view->conv(QPointF(rect.xMax(), rect.yMax())),
                                   view->conv(QPointF(rect.xMax(), rect.yMin()))};
        painter->drawPolygon(corners, 4, Qt::OddEvenFill);
    }

    /// `text` in the painter's font at the widget point `anchor`, turned by `rotation`
    /// degrees about it. The Qt alignment flags say which point of the text the anchor is:
    /// horizontally its left end (`Qt::AlignLeft`, also when no horizontal flag is set), its
    /// right end (`Qt::AlignRight`) or its middle (`Qt::AlignHCenter`); vertically its base
    /// line (`Qt::AlignBottom`, also when none is set), one line height above the base line
    /// (`Qt::AlignTop`) or half of one (`Qt::AlignVCenter`). Where several flags of one
    /// direction are set, the first in that order wins. Halves are whole pixels (integer
    /// division of the measured width and height).
    static void paintText(QPainter* painter, const QPointF& anchor, const QString& text,
                          double rotation, int alignment);
};

} // namespace varnel
