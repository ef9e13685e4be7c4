#include "orlin/util/PointSetModifier.h"

#include "orlin/core/Breakline.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace tin {
namespace util {

using core::Point;
using core::PointRing;
using core::PointSet;

namespace {

double cross(Point const& o, Point const& a, Point const& b)
{
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

// Convex hull by the monotone chain, counter-clockwise, collinear and repeated
// positions left out. Where several point objects stand at a hull corner, the first
// of them in the set's iteration order is used. Returns the open corner list.
std::vector<std::shared_ptr<Point>> convexHull(std::vector<std::shared_ptr<Point>> points)
{
    std::stable_sort(points.begin(), points.end(),
                     [](std::shared_ptr<Point> const& a, std::shared_ptr<Point> const& b) {
                         return a->x() < b->x() || (a->x() == b->x() && a->y() < b->y());
                     });
    points.erase(std::unique(points.begin(), points.end(),
                             [](std::shared_ptr<Point> const& a, std::shared_ptr<Point> const& b) {
                                 return a->x() == b->x() && a->y() == b->y();
                             }),
                 points.end());
    if (points.size() < 3) {
        return {};
    }
    std::vector<std::shared_ptr<Point>> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross(*hull[k - 2], *hull[k - 1], *points[i]) <= 0.0) {
            --k;
        }
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i > 0; --i) {
        while (k >= lower && cross(*hull[k - 2], *hull[k - 1], *points[i - 1]) <= 0.0) {
            --k;
        }
        hull[k++] = points[i - 1];
    }
    hull.resize(k - 1); // the last one repeats the first
    if (hull.size() < 3) {
        return {};
    }
    return hull;
}

} // namespace

PointSet PointSetModifier::createRegion(PointSet const& set)
{
    if (!set.allRegions().empty()) {
        return PointSet(set);
    }
    PointSet result(set);
    result.removeAllRegionsAndHoles();
    std::vector<std::shared_ptr<Point>> hull = convexHull(set.allPoints());
    // Points on one line (or fewer than three positions) enclose no area.
    if (hull.empty()) {
        return result;
    }
    hull.push_back(hull.front());
    result.addRegion(std::make_shared<PointRing>(hull));
    return result;
}

PointSet PointSetModifier::cleanUpBreaklines(PointSet const& set)
{
    PointSet result(set);
    removeRingSideBreaklines(result);
    return result;
}

void PointSetModifier::removeRingSideBreaklines(PointSet& set)
{
    auto regions = set.allRegions();
    auto holes = set.allHoles();
    for (auto const& b : set.allBreaklines()) {
        auto onSide = [&b](std::shared_ptr<PointRing> const& r) { return r->containsBreakline(*b); };
        if (std::any_of(regions.begin(), regions.end(), onSide) ||
            std::any_of(holes.begin(), holes.end(), onSide)) {
            set.removeBreakline(b);
        }
    }
}

void PointSetModifier::copyRegionsAndHoles(PointSet const& from, PointSet* to)
{
    for (auto const& ring : from.allRegions()) {
        for (auto const& p : ring->points()) {
            to->addPoint(p);
        }
        to->addRegion(ring);
    }
    for (auto const& ring : from.allHoles()) {
        for (auto const& p : ring->points()) {
            to->addPoint(p);
        }
        to->addHole(ring);
    }
}

} // namespace util
} // namespace tin
