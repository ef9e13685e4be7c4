#pragma once

#include "movarin/survey/PickNearest.h"

#include <QPoint>
#include <QPointF>
#include <QRectF>

#include <cmath>
#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace mvc::core {
class View;
}

namespace tin::core {
class Point;
class Polygon;
} // namespace tin::core

namespace varnel {

/// Point picking of the path editors (cross sections, GeoEdit surface paths, reference lines
/// and molds): which points lie inside a rubber band, and which point lies nearest to the
/// mouse in screen pixels.

/// The indices in [0, count), ascending, of the points (`point(i)`, only x and y count) that
/// lie strictly inside `polygon`. The polygon is a convex outline in either orientation, as
/// rubber bands and pick squares are: a point is inside when it lies strictly on the same
/// side of every side of the polygon (the closing side from the last vertex to the first
/// included). So a point on a side is outside, a side of zero length (a repeated vertex)
/// leaves every point outside, and a polygon with fewer than three sides of non-zero length
/// (a zero-width rectangle, say) selects nothing. A point or a polygon vertex that is not
/// finite takes no part: such a point is never inside, such a polygon selects nothing.
/// Cost: O(count x polygon vertices).
std::vector<std::size_t> pointIndicesInPolygon(
    const std::function<tin::core::Point(std::size_t)>& point, std::size_t count,
    const tin::core::Polygon& polygon);

/// The indices of the points inside a world polygon (typically `pointIndicesInPolygon` over
/// the points, or a subset of them).
using InsideIndices = std::function<std::vector<std::size_t>(const tin::core::Polygon&)>;
/// The world positions by which point i is judged (usually its one position).
using CandidatePositions = std::function<std::vector<QPointF>(std::size_t)>;

namespace detail {
std::size_t findNearestPointIndex(const InsideIndices& inside,
                                  const CandidatePositions& positions, const std::string& message,
                                  const std::optional<QRectF>& finiteExtent, const QPoint& mouse,
                                  const ViewMapping& mapping);
} // namespace detail

/// The bounding rectangle of the points with finite x and y; none when there is no such point.
template <class Points>
std::optional<QRectF> finiteExtent(const Points& points)
{
    std::optional<QRectF> extent;
    for (const auto& p : points) {
        const double x = p.x();
        const double y = p.y();
        if (!std::isfinite(x) || !std::isfinite(y)) {
            continue;
        }
        const QRectF at(QPointF(x, y), QPointF(x, y));
        extent = extent ? QRectF(QPointF(std::min(extent->left(), x), std::min(extent->top(), y)),
                                 QPointF(std::max(extent->right(), x),
                                         std::max(extent->bottom(), y)))
                        : at;
    }
    return extent;
}

/// The index of the point nearest to `mouse` (widget pixels) on the view: the growing-square
/// search of `pickNearestIndex`, bounded by the rectangle of the finite `points` (any
/// container of values with `x()` and `y()`: `tin::core::Point`, `Point2D`, `QPointF`).
/// Squares around the mouse (`inside` gives the points in each) grow until one holds a
/// point, once more by a factor of about 1.41, and of the points found the one with a
/// position (`positions(i)`, i a point index as `inside` returns it) nearest to the mouse in
/// squared pixels wins; on equal distances the earlier in `inside`'s order.
///
/// The search always ends. A point without a finite position is never a candidate. With no
/// points, with only non-finite ones, or when `inside` finds nothing even in the square
/// that covers every point, it throws `common::exception::RuntimeException` with `message`
/// ("Empty points.", "Empty MoldItem."). `ViewT` is any view with `conv` and `rconv` (the
/// main view, the mold detail view); a null view throws std::invalid_argument. Cost: about
/// log2 of the distance in pixels plus two calls of `inside`.
template <class Points, class ViewT>
std::size_t findNearestPointIndex(const InsideIndices& inside,
                                  const CandidatePositions& positions, const std::string& message,
                                  const Points& points, const QPoint& mouse, const ViewT* view)
{
    return detail::findNearestPointIndex(inside, positions, message, finiteExtent(points), mouse,
                                         viewMapping(view));
}

/// Whether two widget positions lie less than 3 pixels apart in x and in y: the square in
/// which a press picks a path point.
bool isWithinPickSquare(const QPointF& a, const QPointF& b);

/// The index of the point of `path` nearest to `mouse` (widget pixels) on the main view
/// (`findNearestPointIndex`). Throws `common::exception::RuntimeException` "Empty points."
/// for an empty path.
std::size_t nearestPathPointIndex(const std::vector<tin::core::Point>& path, const QPoint& mouse,
                                  const mvc::core::View* view);

/// The path point that a press at `press` (widget pixels) picks on the main view: the one
/// nearest to it on the screen (`nearestPathPointIndex`), when it lies within the pick square
/// (`isWithinPickSquare`); none otherwise. Throws `common::exception::RuntimeException`
/// "Empty points." for an empty path.
std::optional<std::size_t> pointNearPress(const std::vector<tin::core::Point>& path,
                                          const QPoint& press, const mvc::core::View* view);

/// Every point of `path` strictly inside the world `polygon` (`pointIndicesInPolygon`) leaves
/// `selection` when it was in, and joins it otherwise: a rubber band's toggling.
void toggleIndicesInside(std::set<std::size_t>& selection, const std::vector<tin::core::Point>& path,
                         const tin::core::Polygon& polygon);

} // namespace varnel
