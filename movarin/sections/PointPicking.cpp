#include "movarin/sections/PointPicking.h"

#include "brask/core/View.h"
#include "common/exception/RuntimeException.h"
#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"

#include <cmath>

namespace varnel {

namespace {

bool isFinite(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y);
}

bool isFinite(const QPointF& p)
{
    return isFinite(p.x(), p.y());
}

/// -1, 0 or 1: the side of (x, y) from the side a -> b. Signs, not the product of two
/// cross products, so that tiny and huge coordinates neither underflow nor overflow the test.
int sideOf(double x, double y, const tin::core::Point2D& a, const tin::core::Point2D& b)
{
    const double c = (y - a.y()) * (b.x() - a.x()) - (x - a.x()) * (b.y() - a.y());
    return (c > 0.0) - (c < 0.0);
}

} // namespace

std::vector<std::size_t> pointIndicesInPolygon(
    const std::function<tin::core::Point(std::size_t)>& point, std::size_t count,
    const tin::core::Polygon& polygon)
{
    const std::vector<tin::core::Point2D>& vertices = polygon.points();
    const std::size_t n = vertices.size();
    std::size_t properSides = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const tin::core::Point2D& a = vertices[k];
        const tin::core::Point2D& b = vertices[(k + 1) % n];
        if (!isFinite(a.x(), a.y())) {
            return {};
        }
        if (a.x() != b.x() || a.y() != b.y()) {
            ++properSides;
        }
    }
    if (properSides < 3) {
        return {};
    }

    std::vector<std::size_t> inside;
    for (std::size_t i = 0; i < count; ++i) {
        const tin::core::Point p = point(i);
        if (!isFinite(p.x(), p.y())) {
            continue;
        }
        const int first = sideOf(p.x(), p.y(), vertices[0], vertices[1 % n]);
        bool in = first != 0;
        for (std::size_t k = 1; in && k < n; ++k) {
            in = sideOf(p.x(), p.y(), vertices[k], vertices[(k + 1) % n]) == first;
        }
        if (in) {
            inside.push_back(i);
        }
    }
    return inside;
}

namespace detail {

std::size_t findNearestPointIndex(const InsideIndices& inside,
                                  const CandidatePositions& positions, const std::string& message,
                                  const std::optional<QRectF>& finiteExtent, const QPoint& mouse,
                                  const ViewMapping& mapping)
{
    if (!finiteExtent) {
        throw common::exception::RuntimeException(message);
    }
    // The points of the last search that have a finite position, with those positions.
    std::vector<std::size_t> found;
    std::vector<std::vector<QPointF>> foundPositions;
    const std::size_t winner = pickNearestIndex(
        [&](const tin::core::Polygon& square) {
            found.clear();
            foundPositions.clear();
            for (const std::size_t i : inside(square)) {
                std::vector<QPointF> finite;
                for (const QPointF& p : positions(i)) {
                    if (isFinite(p)) {
                        finite.push_back(p);
                    }
                }
                if (!finite.empty()) {
                    found.push_back(i);
                    foundPositions.push_back(std::move(finite));
                }
            }
            return found.size();
        },
        [&](std::size_t j) { return foundPositions[j]; }, *finiteExtent, message, mouse,
        mapping);
    return found[winner];
}

} // namespace detail

bool isWithinPickSquare(const QPointF& a, const QPointF& b)
{
    return std::abs(a.x() - b.x()) < 3.0 && std::abs(a.y() - b.y()) < 3.0;
}

std::size_t nearestPathPointIndex(const std::vector<tin::core::Point>& path, const QPoint& mouse,
                                  const mvc::core::View* view)
{
    const auto point = [&path](std::size_t i) { return path[i]; };
    return findNearestPointIndex(
        [&](const tin::core::Polygon& polygon) {
            return pointIndicesInPolygon(point, path.size(), polygon);
        },
        [&path](std::size_t i) { return std::vector<QPointF>{QPointF(path[i].x(), path[i].y())}; },
        "Empty points.", path, mouse, view);
}

std::optional<std::size_t> pointNearPress(const std::vector<tin::core::Point>& path,
                                          const QPoint& press, const mvc::core::View* view)
{
    const std::size_t nearest = nearestPathPointIndex(path, press, view);
    if (!isWithinPickSquare(view->conv(QPointF(path[nearest].x(), path[nearest].y())), press)) {
        return std::nullopt;
    }
    return nearest;
}

void toggleIndicesInside(std::set<std::size_t>& selection, const std::vector<tin::core::Point>& path,
                         const tin::core::Polygon& polygon)
{
    const auto point = [&path](std::size_t i) { return path[i]; };
    for (std::size_t index : pointIndicesInPolygon(point, path.size(), polygon)) {
        if (selection.erase(index) == 0) {
            selection.insert(index);
        }
    }
}

} // namespace varnel
