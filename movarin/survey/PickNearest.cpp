#include "movarin/survey/PickNearest.h"

#include "movarin/survey/RectangleToPolygon.h"

#include "brask/core/View.h"
#include "common/exception/RuntimeException.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace varnel {

namespace {

const double START_HALF_SIZE = 2.0;
const double WIDENING = 1.4142136;

/// The half-size in pixels from which the square around `click` covers `extent`; infinite
/// when the extent does not map to finite pixels.
double coveringHalfSize(const QRectF& extent, const QPoint& click, const ViewMapping& mapping)
{
    const QPointF corners[] = {extent.topLeft(), extent.topRight(), extent.bottomLeft(),
                               extent.bottomRight()};
    double h = 0.0;
    for (const QPointF& corner : corners) {
        const QPointF p = mapping.toWidget(corner);
        const double reach = std::max(std::abs(p.x() - click.x()), std::abs(p.y() - click.y()));
        if (!std::isfinite(reach)) {
            return std::numeric_limits<double>::infinity();
        }
        h = std::max(h, reach);
    }
    // A pixel more, so that a candidate on the extent's border is well inside.
    return h + 1.0;
}

/// The world polygon of the widget square of half-size h around the click, corners in the
/// order of `rectangleToPolygon`.
tin::core::Polygon square(const QPoint& click, double h, const ViewMapping& mapping)
{
    const QPointF c(click);
    tin::core::Polygon outline;
    rectangleToPolygon(outline, c - QPointF(h, h), c + QPointF(h, h), mapping);
    return outline;
}

} // namespace

std::size_t pickNearestIndex(const std::function<std::size_t(const tin::core::Polygon&)>& search,
                             const std::function<std::vector<QPointF>(std::size_t)>& positions,
                             const QRectF& extent, const std::string& errorText,
                             const QPoint& click, const mvc::core::View* view)
{
    if (!view) {
        throw std::invalid_argument("pickNearest: no view");
    }
    return pickNearestIndex(search, positions, extent, errorText, click, viewMapping(view));
}

std::size_t pickNearestIndex(const std::function<std::size_t(const tin::core::Polygon&)>& search,
                             const std::function<std::vector<QPointF>(std::size_t)>& positions,
                             const QRectF& extent, const std::string& errorText,
                             const QPoint& click, const ViewMapping& mapping)
{
    const double cover = coveringHalfSize(extent, click, mapping);
    // Doubling from 2 pixels passes any finite cover within about a thousand steps; the
    // bound only matters when the extent cannot be placed on the widget at all.
    const int maxDoublings = 1100;
    double h = START_HALF_SIZE;
    bool widened = false;
    std::size_t count = 0;
    for (int doublings = 0;; ) {
        count = search(square(click, h, mapping));
        if (count > 0) {
            if (widened) {
                break;
            }
            h = 1.0 - std::trunc(-WIDENING * h);
            widened = true;
        } else if (widened || h >= cover || doublings >= maxDoublings || !std::isfinite(h)) {
            // The square already holds every place a candidate can be.
            throw common::exception::RuntimeException(errorText);
        } else {
            h *= 2.0;
            ++doublings;
        }
    }

    std::size_t best = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (std::size_t i = 0; i < count; ++i) {
        for (const QPointF& position : positions(i)) {
            const QPointF d = mapping.toWidget(position) - QPointF(click);
            const double distance = d.x() * d.x() + d.y() * d.y();
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
    }
    return best;
}

std::shared_ptr<tin::core::Point> pickNearest(const PointFinder& finder,
                                              const PointLocator& locator,
                                              const std::string& errorText,
                                              const tin::core::PointSet& pointSet,
                                              const QPoint& click, const mvc::core::View* view)
{
    if (pointSet.empty()) {
        throw common::exception::RuntimeException(errorText);
    }
    const tin::core::Rect r = pointSet.boundingRect();
    const QRectF extent(QPointF(r.xMin(), r.yMin()), QPointF(r.xMax(), r.yMax()));
    std::vector<std::shared_ptr<tin::core::Point>> candidates;
    const std::size_t index = pickNearestIndex(
        [&](const tin::core::Polygon& outline) {
            candidates = finder(pointSet, outline);
            return candidates.size();
        },
        [&](std::size_t i) { return std::vector<QPointF>{locator(pointSet, candidates, i)}; },
        extent, errorText, click, view);
    return candidates[index];
}

std::shared_ptr<tin::core::Point> pickNearestPoint(const tin::core::PointSet& pointSet,
                                                   const QPoint& click,
                                                   const mvc::core::View* view)
{
    return pickNearest(
        [](const tin::core::PointSet& set, const tin::core::Polygon& outline) {
            return set.findPointsInPolygon(outline);
        },
        &pointPosition, "Empty PointSet.", pointSet, click, view);
}

QPointF pointPosition(const tin::core::PointSet&,
                      const std::vector<std::shared_ptr<tin::core::Point>>& candidates,
                      std::size_t i)
{
    if (i >= candidates.size()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    const tin::core::Point& p = *candidates[i];
    return QPointF(p.x(), p.y());
}

} // namespace varnel
