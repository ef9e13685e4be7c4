#include "orlin/util/PointSetModifier.h"

#include "orlin/core/Breakline.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFunctions.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Tin.h"
#include "orlin/util/PointResolution.h"
#include "orlin/util/PointSetToTin.h"
#include "orlin/util/TinModifier.h"
#include "orlin/util/TinRegions.h"
#include "orlin/util/TinToPointSet.h"
#include "orlin/util/TriangleRecord.h"

#include <trianglecui/TriangleProcess.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tin {
namespace util {

using core::Point;
using core::PointRing;
using core::PointSet;

namespace {

struct HullEntry {
    double x;
    double y;
    std::size_t order; // index in the caller's list
};

double cross(HullEntry const& o, HullEntry const& a, HullEntry const& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The entries of the points that may be hull corners, in list order. A survey has a few
// thousand of its million points near the hull, so sorting only those is most of the
// saving. The points extreme in x, y, x + y and x - y are hull points; taken in the order
// of those directions they span a convex polygon inside the hull (Akl and Toussaint). A
// point inside that polygon by more than the rounding of the orientation test lies inside
// the hull, where the chain would push and pop it again: leaving it out changes nothing.
std::vector<HullEntry> hullCandidates(std::vector<std::shared_ptr<Point>> const& points)
{
    std::vector<HullEntry> candidates;
    if (points.empty()) {
        return candidates;
    }
    // Extremes in the order the polygon runs (counter-clockwise, from the leftmost point):
    // min x, min x + y, min y, max x - y, max x, max x + y, max y, min x - y.
    constexpr int DIRECTIONS = 8;
    static constexpr double DX[DIRECTIONS] = {-1.0, -1.0, 0.0, 1.0, 1.0, 1.0, 0.0, -1.0};
    static constexpr double DY[DIRECTIONS] = {0.0, -1.0, -1.0, -1.0, 0.0, 1.0, 1.0, 1.0};
    HullEntry extreme[DIRECTIONS];
    double best[DIRECTIONS];
    double magnitude = 0.0;
    for (int d = 0; d < DIRECTIONS; ++d) {
        best[d] = -std::numeric_limits<double>::infinity();
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        double x = points[i]->x();
        double y = points[i]->y();
        magnitude = std::max({magnitude, std::fabs(x), std::fabs(y)});
        for (int d = 0; d < DIRECTIONS; ++d) {
            double reach = DX[d] * x + DY[d] * y;
            if (reach > best[d]) {
                best[d] = reach;
                extreme[d] = HullEntry{x, y, i};
            }
        }
    }
    std::vector<HullEntry> polygon;
    for (HullEntry const& e : extreme) {
        if (polygon.empty() || polygon.back().x != e.x || polygon.back().y != e.y) {
            polygon.push_back(e);
        }
    }
    while (polygon.size() > 1 && polygon.back().x == polygon.front().x && polygon.back().y == polygon.front().y) {
        polygon.pop_back();
    }
    std::size_t const sides = polygon.size();
    polygon.push_back(polygon.front());
    // Each difference and product of the test rounds by a relative 2^-53 of a value below
    // 2 * magnitude: a margin many times that total keeps every doubtful point. A NaN or
    // infinite coordinate makes the margin useless, and then every point is kept.
    double const margin = 1e-12 * magnitude * magnitude;
    bool const filter = sides >= 3 && std::isfinite(margin);
    candidates.reserve(filter ? 1024 : points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        HullEntry e{points[i]->x(), points[i]->y(), i};
        bool inside = filter;
        for (std::size_t k = 0; inside && k < sides; ++k) {
            inside = cross(polygon[k], polygon[k + 1], e) > margin;
        }
        if (!inside) {
            candidates.push_back(e);
        }
    }
    return candidates;
}

// Convex hull by the monotone chain, counter-clockwise, collinear and repeated
// positions left out. Where several point objects stand at a hull corner, the first
// of them in the list is used. Returns the open corner list. The chain runs on a flat
// copy of the positions: sorting a million shared pointers by their pointees' positions
// is a cache miss per comparison.
std::vector<std::shared_ptr<Point>> convexHull(std::vector<std::shared_ptr<Point>> const& points)
{
    std::vector<HullEntry> sorted = hullCandidates(points);
    // By position, the earlier entry first among equal positions.
    std::sort(sorted.begin(), sorted.end(), [](HullEntry const& a, HullEntry const& b) {
        if (a.x != b.x) {
            return a.x < b.x;
        }
        if (a.y != b.y) {
            return a.y < b.y;
        }
        return a.order < b.order;
    });
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](HullEntry const& a, HullEntry const& b) { return a.x == b.x && a.y == b.y; }),
                 sorted.end());
    if (sorted.size() < 3) {
        return {};
    }
    // A stack that grows as far as the chain does: sized for the worst case up front, it
    // would touch twice the input's memory.
    std::vector<HullEntry> hull;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        while (hull.size() >= 2 && cross(hull[hull.size() - 2], hull.back(), sorted[i]) <= 0.0) {
            hull.pop_back();
        }
        hull.push_back(sorted[i]);
    }
    for (std::size_t i = sorted.size() - 1, lower = hull.size() + 1; i > 0; --i) {
        while (hull.size() >= lower && cross(hull[hull.size() - 2], hull.back(), sorted[i - 1]) <= 0.0) {
            hull.pop_back();
        }
        hull.push_back(sorted[i - 1]);
    }
    hull.pop_back(); // the last one repeats the first
    if (hull.size() < 3) {
        return {};
    }
    std::vector<std::shared_ptr<Point>> corners;
    corners.reserve(hull.size());
    for (HullEntry const& e : hull) {
        corners.push_back(points[e.order]);
    }
    return corners;
}

} // namespace

PointSet PointSetModifier::createRegion(PointSet const& set)
{
    if (!set.allRegions().empty()) {
        return PointSet(set);
    }
    PointSet result(set);
    result.removeAllRegionsAndHoles();
    if (auto ring = hullRing(set.allPoints())) {
        result.addRegion(ring);
    }
    return result;
}

std::shared_ptr<PointRing> PointSetModifier::hullRing(std::vector<std::shared_ptr<Point>> const& points)
{
    std::vector<std::shared_ptr<Point>> hull = convexHull(points);
    // Points on one line (or fewer than three positions) enclose no area.
    if (hull.empty()) {
        return nullptr;
    }
    hull.push_back(hull.front());
    return std::make_shared<PointRing>(hull);
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

// =================================================================================
// Clipping and ring division: these need the whole triangulation toolbox.

namespace tin {
namespace util {

using core::Tin;

namespace {

using PointPtr = std::shared_ptr<Point>;

// Input of the ring-division run: vertices by exact position (first one wins), the
// flat point list and the marked segments.
struct MarkedRun {
    PositionPointMap table;
    std::vector<PointPtr> vertices;
    std::vector<double> pointList;
    std::vector<int> segments;
    std::vector<int> markers;
    std::unordered_map<Point const*, int> indexOf;
    std::set<std::pair<Point const*, Point const*>> sent;

    void addVertex(PointPtr const& p)
    {
        if (!table.emplace(core::Point2D(p->x(), p->y()), p).second) {
            return;
        }
        int index = static_cast<int>(vertices.size());
        p->setId(index);
        indexOf.emplace(p.get(), index);
        vertices.push_back(p);
        pointList.push_back(p->x());
        pointList.push_back(p->y());
    }

    void addSegment(PointPtr const& a, PointPtr const& b, int marker)
    {
        PointPtr va = getPointAt(core::Point2D(a->x(), a->y()), table);
        PointPtr vb = getPointAt(core::Point2D(b->x(), b->y()), table);
        if (va == vb || !sent.emplace(a.get(), b.get()).second) {
            return;
        }
        segments.push_back(indexOf.at(va.get()));
        segments.push_back(indexOf.at(vb.get()));
        markers.push_back(marker);
    }
};

void addRingVertices(MarkedRun& run, std::vector<std::shared_ptr<PointRing>> const& rings)
{
    for (auto const& ring : rings) {
        auto pts = ring->points();
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
            run.addVertex(pts[i]);
        }
    }
}

void addRingSides(MarkedRun& run, std::vector<std::shared_ptr<PointRing>> const& rings)
{
    for (auto const& ring : rings) {
        auto pts = ring->points();
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
            run.addSegment(pts[i], pts[i + 1], 2);
        }
    }
}

// Even-odd test against the ring's corners (closing repeat included).
bool insideRing(PointRing const& ring, double x, double y)
{
    return core::insideRingEvenOdd(ring.points(), x, y);
}

// Inside a hole of the set: within an even, non-zero number of its rings (a region
// nested in a hole is an island, a level deeper).
bool inHole(PointSet const& set, double x, double y)
{
    int depth = 0;
    for (auto const& r : set.allRegions()) {
        depth += insideRing(*r, x, y);
    }
    for (auto const& r : set.allHoles()) {
        depth += insideRing(*r, x, y);
    }
    return depth > 0 && depth % 2 == 0;
}

// The output triangles over the result's points; a corner the result lacks drops the
// triangle, a position with several points is resolved in tin near the triangle. The
// triangulation knows no holes and fills them; triangles inside a hole of the given set
// are left out, so that its ring bounds an empty gap and sorts as a hole again.
Tin workingTin(triangleio_t const& out, PointSet const& result, Tin const& tin, PointSet const& given)
{
    Tin working;
    auto vertex = [&out](int i) { return core::Point2D(out.pointlist[2 * i], out.pointlist[2 * i + 1]); };
    for (int t = 0; t < out.numberoftriangles; ++t) {
        int const* c = out.trianglelist + 3 * t;
        core::Point2D hint((vertex(c[0]).x() + vertex(c[1]).x() + vertex(c[2]).x()) / 3.0,
                           (vertex(c[0]).y() + vertex(c[1]).y() + vertex(c[2]).y()) / 3.0);
        if (inHole(given, hint.x(), hint.y())) {
            continue;
        }
        PointPtr corner[3];
        bool complete = true;
        for (int k = 0; k < 3 && complete; ++k) {
            auto found = result.findPointsAt(vertex(c[k]));
            if (found.empty()) {
                complete = false;
            } else if (found.size() == 1) {
                corner[k] = found.front();
            } else {
                corner[k] = getOrCreatePoint(vertex(c[k]), tin, hint);
            }
        }
        if (complete) {
            working.addTriangle(corner[0], corner[1], corner[2]);
        }
    }
    return working;
}

} // namespace

PointSet PointSetModifier::clipByPolygon(PointSet const& set, core::Polygon const& polygon)
{
    Tin full = PointSetToTin::convertCleanPointSet(set, false, false);
    Tin clipped = TinModifier::clipByPolygon(full, polygon);
    PointSet result = TinToPointSet::convert(clipped);
    result.removeAllBreaklines();
    for (auto const& b : set.allBreaklines()) {
        result.addBreakline(b, false);
    }
    return result;
}

PointSet PointSetModifier::divideRegionsAndHolesWithBreaklines(PointSet const& set, Tin const& tin)
{
    PointSet result = cleanUpBreaklines(set);

    MarkedRun run;
    addRingVertices(run, result.allRegions());
    addRingVertices(run, result.allHoles());
    for (auto const& b : result.allBreaklines()) {
        run.addVertex(b->point1());
        run.addVertex(b->point2());
    }
    addRingSides(run, set.allRegions());
    addRingSides(run, set.allHoles());
    for (auto const& b : set.allBreaklines()) {
        run.addSegment(b->point1(), b->point2(), 0);
    }

    TriangleRecord record;
    std::vector<int> none;
    trianglecui::TriangleProcess::execute("epjzQ", run.pointList, none, run.segments, run.markers, none,
                                          none, record.get(), true);

    result.removeAllRegionsAndHoles();
    RingList rings = ringsFromMarkedEdges(*record, result, tin, 2);
    for (auto const& ring : rings) {
        for (auto const& p : ring->points()) {
            result.addPoint(p);
        }
    }
    Tin working = workingTin(*record, result, tin, set);
    RingList regions;
    RingList holes;
    buildRegionsAndHoles(rings, regions, holes, working);
    for (auto const& ring : regions) {
        result.addRegion(ring);
    }
    for (auto const& ring : holes) {
        result.addHole(ring);
    }
    return result;
}

} // namespace util
} // namespace tin
