#pragma once

#include <QPoint>
#include <QPointF>
#include <QRectF>

#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace mvc::core {
class View;
}

namespace tin::core {
class Point;
class PointSet;
class Polygon;
} // namespace tin::core

namespace varnel {

/// How a view places world points on its widget and back (`conv` and `rconv` of the main
/// view, of the mold detail view or of the L-H view), for the picks that serve them all.
struct ViewMapping {
    std::function<QPointF(const QPointF&)> toWidget;
    std::function<QPointF(const QPointF&)> toWorld;
};

/// The mapping of any view with `conv` and `rconv`; the view must outlive the mapping.
/// Throws std::invalid_argument for a null view.
template <class ViewT>
ViewMapping viewMapping(const ViewT* view)
{
    if (!view) {
        throw std::invalid_argument("viewMapping: no view");
    }
    return {[view](const QPointF& world) { return view->conv(world); },
            [view](const QPointF& widget) { return view->rconv(widget); }};
}

/// The candidates of a point set inside a world polygon.
using PointFinder = std::function<std::vector<std::shared_ptr<tin::core::Point>>(
    const tin::core::PointSet&, const tin::core::Polygon&)>;
/// The world position of candidate i of a finder's result.
using PointLocator = std::function<QPointF(
    const tin::core::PointSet&, const std::vector<std::shared_ptr<tin::core::Point>>&,
    std::size_t)>;

/// The candidate nearest to a click on the main view, as the point, breakline and
/// control-point tools pick: squares of half-size h pixels around the click (h = 2, 4, 8,
/// ...) are searched (their world polygons, `rectangleToPolygon`) until one holds a
/// candidate; then the search runs once more with h = 1 + floor(1.4142136 h), so that every
/// candidate within the first hit's distance takes part, and the candidate whose position
/// (`View::conv`) is nearest to the click in squared pixels wins, the first on ties.
///
/// The search always ends: once the square covers `extent`, the world rectangle that holds
/// every candidate, it grows no further; a search of that size that finds nothing throws
/// `common::exception::RuntimeException` with `errorText`, as does an empty container
/// (the callers test for that first). Half-sizes are kept as doubles, so a candidate far
/// outside the view costs only a few more searches.
///
/// `search` runs one search and returns how many candidates it found (the caller keeps
/// them); `positions(i)` gives the world positions of candidate i of the last search (a
/// candidate with several, such as a triangle, is scored by its nearest). Returns the
/// winner's index in the last search. Cost: one search per doubling (about log2 of the
/// distance in pixels) plus one, and one conversion per position.
std::size_t pickNearestIndex(const std::function<std::size_t(const tin::core::Polygon&)>& search,
                             const std::function<std::vector<QPointF>(std::size_t)>& positions,
                             const QRectF& extent, const std::string& errorText,
                             const QPoint& click, const mvc::core::View* view);

/// The same search on any view, through its mapping (`viewMapping`).
std::size_t pickNearestIndex(const std::function<std::size_t(const tin::core::Polygon&)>& search,
                             const std::function<std::vector<QPointF>(std::size_t)>& positions,
                             const QRectF& extent, const std::string& errorText,
                             const QPoint& click, const ViewMapping& mapping);

/// `pickNearestIndex` over a point set: `finder` searches, `locator` places candidate i,
/// and the set's bounding rectangle bounds the search. Throws
/// `common::exception::RuntimeException` with `errorText` for an empty set, and what the
/// finder and the locator throw.
std::shared_ptr<tin::core::Point> pickNearest(const PointFinder& finder,
                                              const PointLocator& locator,
                                              const std::string& errorText,
                                              const tin::core::PointSet& pointSet,
                                              const QPoint& click, const mvc::core::View* view);

/// The point of `pointSet` nearest to `click`: `pickNearest` with
/// `PointSet::findPointsInPolygon`, the candidates' x and y, and "Empty PointSet.".
std::shared_ptr<tin::core::Point> pickNearestPoint(const tin::core::PointSet& pointSet,
                                                   const QPoint& click,
                                                   const mvc::core::View* view);

/// The position of candidate i (x, y); throws std::out_of_range "invalid vector<T>
/// subscript" for an index beyond the candidates.
QPointF pointPosition(const tin::core::PointSet& pointSet,
                      const std::vector<std::shared_ptr<tin::core::Point>>& candidates,
                      std::size_t i);

} // namespace varnel
