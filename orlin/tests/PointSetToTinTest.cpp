#include "orlin/core/Breakline.h"
#include "orlin/core/Edge.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/util/PointSetModifier.h"
#include "orlin/util/PointSetToTin.h"
#include "orlin/util/TriangleRecord.h"

#include "TinTestSupport.h"

#include <gtest/gtest.h>
#include <trianglecui/TriangleProcess.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

using namespace tin::core;
using namespace tin::util;
using namespace tintest;

namespace {

double plane(double x, double y) { return 10.0 + 0.5 * x + 2.0 * y; }

PointPtr add(PointSet& set, double x, double y, double z)
{
    auto p = pt(x, y, z);
    set.addPoint(p);
    return p;
}

PointPtr addOnPlane(PointSet& set, double x, double y) { return add(set, x, y, plane(x, y)); }

// Corners of a square [x0, x0 + size]^2 on the plane, as a region of the set.
std::vector<PointPtr> squareRegion(PointSet& set, double x0, double size)
{
    std::vector<PointPtr> c{addOnPlane(set, x0, 0), addOnPlane(set, x0 + size, 0),
                            addOnPlane(set, x0 + size, size), addOnPlane(set, x0, size)};
    set.addRegion(std::make_shared<PointRing>(std::vector<PointPtr>{c[0], c[1], c[2], c[3], c[0]}));
    return c;
}

bool hasEdge(Tin const& tin, PointPtr const& a, PointPtr const& b)
{
    for (auto const& t : tin.findTriangleFromPoint(a)) {
        for (int k = 0; k < 3; ++k) {
            if (t->point(k).get() == b.get()) {
                return true;
            }
        }
    }
    return false;
}

double minAngleDegrees(Triangle const& t)
{
    double best = 180.0;
    for (int k = 0; k < 3; ++k) {
        auto const& a = *t.point(k);
        auto const& b = *t.point(k + 1);
        auto const& c = *t.point(k + 2);
        double ux = b.x() - a.x(), uy = b.y() - a.y(), vx = c.x() - a.x(), vy = c.y() - a.y();
        double cosine = (ux * vx + uy * vy) / (std::hypot(ux, uy) * std::hypot(vx, vy));
        best = std::min(best, std::acos(std::max(-1.0, std::min(1.0, cosine))) * 180.0 / M_PI);
    }
    return best;
}

// A hull triangulation of `positions` distinct positions, `boundary` of them on the hull's
// sides: 2V - B - 2 counter-clockwise triangles whose areas sum to the hull's, and the vertex
// ids number the vertices of the run, 0 .. V - 1.
void expectHullTriangulation(Tin const& tin, std::size_t positions, std::size_t boundary, double area,
                             double tolerance)
{
    auto const used = vertices(tin);
    EXPECT_EQ(used.size(), positions);
    EXPECT_EQ(tin.allTriangles().size(), 2 * positions - boundary - 2);
    EXPECT_NEAR(totalArea(tin), area, tolerance);
    std::vector<char> seen(positions, 0);
    for (Point const* p : used) {
        ASSERT_GE(p->id(), 0);
        ASSERT_LT(static_cast<std::size_t>(p->id()), positions);
        seen[static_cast<std::size_t>(p->id())] = 1;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), static_cast<std::ptrdiff_t>(positions));
    for (auto const& t : tin.allTriangles()) {
        ASSERT_GT(signedArea(*t), 0.0);
    }
}

} // namespace

TEST(PointSetToTin, SetWithoutRegionsFillsItsHullWithItsOwnPoints)
{
    PointSet set;
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    for (int j = 0; j <= 6; ++j) {
        for (int i = 0; i <= 6; ++i) {
            bool border = i == 0 || j == 0 || i == 6 || j == 6;
            double x = border ? i : i + jitter(rng), y = border ? j : j + jitter(rng);
            addOnPlane(set, x, y);
        }
    }
    Tin tin = PointSetToTin::convertCleanPointSet(set, false, false);
    expectHullTriangulation(tin, set.allPoints().size(), 24, 36.0, 1e-9);
    auto used = vertices(tin);
    for (auto const& p : set.allPoints()) {
        EXPECT_TRUE(used.count(p.get())) << "a set point is no vertex";
    }
}

TEST(PointSetToTin, CrossingBreaklinesGetAnInterpolatedVertexNeverZero)
{
    PointSet set;
    squareRegion(set, 0, 10);
    auto a1 = add(set, 2, 2, 0.0), a2 = add(set, 8, 8, 10.0);
    auto b1 = add(set, 2, 8, 100.0), b2 = add(set, 8, 2, 100.0);
    set.addBreakline(a1, a2, true);
    set.addBreakline(b1, b2, true);

    Tin tin = PointSetToTin::convertCleanPointSet(set, false, false);
    auto centre = tin.findPointsAt(Point2D(5, 5));
    ASSERT_EQ(centre.size(), 1u);
    // Along the first: 5; along the second: 100; the crossing takes their mean.
    EXPECT_NEAR(centre[0]->elevation(), 52.5, 1e-9);
    for (auto const& end : {a1, a2, b1, b2}) {
        EXPECT_TRUE(hasEdge(tin, centre[0], end));
    }
    EXPECT_EQ(vertices(tin).size(), 9u);
    EXPECT_NEAR(totalArea(tin), 100.0, 1e-9);
}

TEST(PointSetToTin, BreaklineCrossingRingSidesSplitsThem)
{
    // An L-shaped region; the breakline between two inner points leaves it through the
    // notch, crossing the sides y = 2 at (2.5, 2) and x = 2 at (2, 2.5).
    PointSet set;
    auto p0 = add(set, 0, 0, 1.0), p1 = add(set, 4, 0, 1.0), p2 = add(set, 4, 2, 1.0);
    auto p3 = add(set, 2, 2, 1.0), p4 = add(set, 2, 4, 1.0), p5 = add(set, 0, 4, 1.0);
    set.addRegion(std::make_shared<PointRing>(std::vector<PointPtr>{p0, p1, p2, p3, p4, p5, p0}));
    auto e1 = add(set, 3, 1.5, 3.0), e2 = add(set, 1, 3.5, 7.0);
    set.addBreakline(e1, e2, true);

    Tin tin = PointSetToTin::convertCleanPointSet(set, false, false);
    EXPECT_GE(totalArea(tin), 12.0 - 1e-9);
    int crossings = 0;
    for (Point const* p : vertices(tin)) {
        EXPECT_GT(p->elevation(), 0.5) << "vertex at " << p->x() << ", " << p->y();
        // Side elevation 1 and breakline elevation 4 (at t = 0.25) or 5 (t = 0.5).
        if (std::hypot(p->x() - 2.5, p->y() - 2.0) < 1e-9) {
            EXPECT_NEAR(p->elevation(), 2.5, 1e-6);
            ++crossings;
        }
        if (std::hypot(p->x() - 2.0, p->y() - 2.5) < 1e-9) {
            EXPECT_NEAR(p->elevation(), 3.0, 1e-6);
            ++crossings;
        }
    }
    EXPECT_EQ(crossings, 2);
}

TEST(PointSetToTin, QualityPassInterpolatesNewVerticesInTheFirstPass)
{
    PointSet set;
    squareRegion(set, 0, 10);
    addOnPlane(set, 0.3, 9.1);
    addOnPlane(set, 5.0, 0.2);
    addOnPlane(set, 9.7, 6.0);
    std::size_t inputCount = set.allPoints().size();

    Tin tin = PointSetToTin::convertCleanPointSet(set, false, true);
    auto used = vertices(tin);
    EXPECT_GT(used.size(), inputCount);
    for (Point const* p : used) {
        EXPECT_NEAR(p->elevation(), plane(p->x(), p->y()), 1e-9);
    }
    EXPECT_NEAR(totalArea(tin), 100.0, 1e-9);
    for (auto const& t : tin.allTriangles()) {
        EXPECT_GT(minAngleDegrees(*t), 30.0);
    }
}

TEST(PointSetToTin, TwoRegionsAndABreaklineInOneOfThem)
{
    PointSet set;
    squareRegion(set, 0, 4);
    squareRegion(set, 10, 4);
    auto a = addOnPlane(set, 1, 1), b = addOnPlane(set, 3, 3);
    addOnPlane(set, 12, 2);
    set.addBreakline(a, b, true);

    Tin tin;
    ASSERT_NO_THROW(tin = PointSetToTin::convertCleanPointSet(set, false, false));
    EXPECT_NEAR(totalArea(tin), 32.0, 1e-9);
    EXPECT_TRUE(hasEdge(tin, a, b));
    EXPECT_EQ(vertices(tin).size(), set.allPoints().size());
}

TEST(PointSetToTin, NoInnerPointsLeavesInnerBreaklinesOut)
{
    PointSet set;
    auto corners = squareRegion(set, 0, 4);
    auto a = addOnPlane(set, 1, 1), b = addOnPlane(set, 3, 2);
    set.addBreakline(a, b, true);
    set.addBreakline(corners[0], b, true);

    Tin tin;
    ASSERT_NO_THROW(tin = PointSetToTin::convertCleanPointSet(set, true, false));
    EXPECT_EQ(tin.allTriangles().size(), 2u);
    EXPECT_EQ(vertices(tin).size(), 4u);
}

TEST(PointSetToTin, HolesLeaveNoHoleAndDuplicatesGiveOneVertex)
{
    PointSet set;
    squareRegion(set, 0, 4);
    auto h = std::vector<PointPtr>{addOnPlane(set, 1, 1), addOnPlane(set, 2, 1), addOnPlane(set, 1.5, 2)};
    set.addHole(std::make_shared<PointRing>(std::vector<PointPtr>{h[0], h[1], h[2], h[0]}));
    auto low = add(set, 3, 3, 1.0);
    auto high = add(set, 3, 3, 2.0);
    set.addBreakline(low, high, true); // zero length: joins one vertex to itself

    Tin tin = PointSetToTin::convertCleanPointSet(set, false, false);
    EXPECT_NEAR(totalArea(tin), 16.0, 1e-9);
    EXPECT_EQ(tin.findPointsAt(Point2D(3, 3)).size(), 1u);
    EXPECT_EQ(vertices(tin).size(), set.allPoints().size() - 1);
}

TEST(PointSetToTin, CollinearSetGivesAnEmptyTin)
{
    PointSet set;
    for (int i = 0; i < 4; ++i) {
        addOnPlane(set, i, i);
    }
    EXPECT_TRUE(PointSetToTin::convertCleanPointSet(set, false, false).empty());
}

TEST(PointSetToTin, ConvertTakesNewVerticesFromTheBase)
{
    auto other = [](double x, double y) { return 100.0 + x - y; };
    Tin base = tinOf(gridTriangles(10, 10, [](int, int) { return false; }, other));

    PointSet set;
    squareRegion(set, 0, 10);
    auto a1 = addOnPlane(set, 2, 2), a2 = addOnPlane(set, 8, 7);
    auto b1 = addOnPlane(set, 2, 8), b2 = addOnPlane(set, 8, 3);
    set.addBreakline(a1, a2, true);
    set.addBreakline(b1, b2, true);

    Tin tin = PointSetToTin::convert(set, base, false);
    EXPECT_NEAR(totalArea(tin), 100.0, 1e-9);
    int fromBase = 0;
    for (Point const* p : vertices(tin)) {
        if (set.findPointsAt(Point2D(p->x(), p->y())).empty()) {
            ++fromBase;
            EXPECT_NEAR(p->elevation(), other(p->x(), p->y()), 1e-9);
        } else {
            EXPECT_NEAR(p->elevation(), plane(p->x(), p->y()), 1e-12);
        }
    }
    EXPECT_EQ(fromBase, 1);
}

namespace {

// Each triangle as its three point objects, starting at the lowest address, in TIN order.
std::vector<std::array<Point const*, 3>> cornerObjects(Tin const& tin)
{
    std::vector<std::array<Point const*, 3>> result;
    for (auto const& t : tin.allTriangles()) {
        std::array<Point const*, 3> c{t->point(0).get(), t->point(1).get(), t->point(2).get()};
        std::rotate(c.begin(), std::min_element(c.begin(), c.end()), c.end());
        result.push_back(c);
    }
    return result;
}

} // namespace

TEST(PointSetToTin, SetWithoutRegionsTriangulatesLikeItsPreparedCopy)
{
    // The set is read in place; the same conversion of the copy that createRegion and
    // cleanUpBreaklines make (hull region, holes gone, ring-side breaklines gone) is the
    // oracle. Repeated objects at hull corners, collinear hull points, a breakline on a
    // hull side and one crossing a hole's side are the cases the preparation decides.
    PointSet set;
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<PointPtr> grid;
    for (int j = 0; j <= 30; ++j) {
        for (int i = 0; i <= 30; ++i) {
            bool border = i == 0 || j == 0 || i == 30 || j == 30;
            grid.push_back(addOnPlane(set, border ? i : i + jitter(rng), border ? j : j + jitter(rng)));
        }
    }
    auto at = [&grid](int i, int j) { return grid[static_cast<std::size_t>(j * 31 + i)]; };
    add(set, 0, 0, 50.0);
    add(set, 30, 30, 60.0);
    set.addBreakline(at(0, 0), at(30, 0), true);
    set.addBreakline(at(3, 3), at(27, 20), true);
    set.addBreakline(at(3, 20), at(27, 3), true);
    set.addBreakline(at(10, 10), at(15, 10), true); // a side of the hole, which goes
    set.addHole(std::make_shared<PointRing>(std::vector<PointPtr>{at(10, 10), at(15, 10), at(12, 14), at(10, 10)}));

    PointSet prepared = PointSetModifier::cleanUpBreaklines(PointSetModifier::createRegion(set));
    ASSERT_EQ(prepared.allRegions().size(), 1u);
    ASSERT_TRUE(prepared.allHoles().empty());
    Tin expected = PointSetToTin::convertCleanPointSet(prepared, false, false);
    std::map<Point const*, int> expectedIds;
    for (auto const& p : set.allPoints()) {
        expectedIds[p.get()] = p->id();
    }

    Tin tin = PointSetToTin::convertCleanPointSet(set, false, false);
    EXPECT_TRUE(set.allRegions().empty());
    EXPECT_EQ(set.allHoles().size(), 1u);
    EXPECT_EQ(set.allBreaklines().size(), 4u);
    auto got = cornerObjects(tin);
    auto want = cornerObjects(expected);
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
    for (auto const& p : set.allPoints()) {
        EXPECT_EQ(p->id(), expectedIds[p.get()]);
    }
    EXPECT_NEAR(totalArea(tin), 900.0, 1e-9);
}

TEST(PointSetToTin, NegativeAndPositiveZeroAreOnePosition)
{
    PointSet set;
    addOnPlane(set, 0.0, 0.0);
    addOnPlane(set, 4.0, 0.0);
    addOnPlane(set, 4.0, 4.0);
    addOnPlane(set, 0.0, 4.0);
    auto positive = add(set, 0.0, 2.0, 1.0);
    auto negative = std::make_shared<Point>(-0.0, 2.0, 1.0);
    set.addPoint(negative);
    addOnPlane(set, 2.0, 2.0);
    positive->setId(-7);
    negative->setId(-7);

    Tin tin = PointSetToTin::convertCleanPointSet(set, false, false);
    EXPECT_EQ(tin.findPointsAt(Point2D(0.0, 2.0)).size(), 1u);
    // The one that does not stand for the position is no vertex of the run.
    bool positiveUsed = vertices(tin).count(positive.get()) != 0;
    EXPECT_EQ((positiveUsed ? negative : positive)->id(), -7);
    EXPECT_EQ(vertices(tin).size(), set.allPoints().size() - 1);
    std::set<int> ids;
    for (Point const* p : vertices(tin)) {
        ids.insert(p->id());
    }
    EXPECT_EQ(ids.size(), vertices(tin).size());
    EXPECT_EQ(*ids.rbegin(), static_cast<int>(ids.size()) - 1);
    EXPECT_NEAR(totalArea(tin), 16.0, 1e-12);
}

TEST(PointSetToTin, SurveyFarFromTheOriginKeepsEveryPositionOnceAndCountsByEuler)
{
    // A jittered grid at survey coordinates, its border on the hull's sides, with a second
    // object at every 97th position (another elevation, so not interned). Every position is
    // a vertex once, the first object there standing for it; a triangulation of V vertices
    // with B of them on the hull's boundary has 2V - B - 2 triangles; areas sum to the hull's.
    double const east = 512000.0, north = 5412000.0;
    int const n = 120;
    PointSet set;
    std::mt19937 rng(23);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<PointPtr> first;
    std::vector<PointPtr> repeats;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            bool border = i == 0 || j == 0 || i == n || j == n;
            double x = east + (border ? i : i + jitter(rng)), y = north + (border ? j : j + jitter(rng));
            first.push_back(add(set, x, y, 100.0 + 0.01 * i));
            if (first.size() % 97 == 0) {
                repeats.push_back(add(set, x, y, 200.0));
            }
        }
    }

    Tin tin = PointSetToTin::convertCleanPointSet(set, false, false);
    expectHullTriangulation(tin, first.size(), 4 * static_cast<std::size_t>(n), double(n) * n, 1e-6);
    auto used = vertices(tin);
    for (auto const& p : first) {
        EXPECT_TRUE(used.count(p.get())) << "no vertex at " << p->x() << ", " << p->y();
    }
    for (auto const& p : repeats) {
        EXPECT_FALSE(used.count(p.get()));
    }
}

TEST(PointSetToTin, TinHoldsTheRunsTrianglesWithTheirCornersInOrderWhateverTheAddresses)
{
    // The conversion adds the run's triangles in an order of its own choosing (by where
    // their points lie in memory). Point objects made in shuffled order lie in memory
    // unrelated to the set's order; the TIN must still hold exactly the run's triangles, each
    // with its corners in the run's order. Oracle: the same run made here from the set's
    // points (hull corners first, then the points, each position once), its triangles mapped
    // to the point objects by position.
    int const n = 40;
    std::mt19937 rng(31);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<std::pair<double, double>> positions;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            bool border = i == 0 || j == 0 || i == n || j == n;
            positions.emplace_back(border ? i : i + jitter(rng), border ? j : j + jitter(rng));
        }
    }
    std::vector<std::size_t> creation(positions.size());
    for (std::size_t k = 0; k < creation.size(); ++k) {
        creation[k] = k;
    }
    std::shuffle(creation.begin(), creation.end(), rng);
    std::vector<PointPtr> objects(positions.size());
    for (std::size_t k : creation) {
        objects[k] = pt(positions[k].first, positions[k].second, plane(positions[k].first, positions[k].second));
    }
    PointSet set;
    for (auto const& p : objects) {
        set.addPoint(p);
    }

    std::vector<PointPtr> points = set.allPoints();
    auto ring = PointSetModifier::hullRing(points);
    ASSERT_TRUE(ring);
    std::vector<PointPtr> candidates = ring->points();
    candidates.pop_back(); // the closing repeat of the first corner
    std::size_t const sides = candidates.size();
    candidates.insert(candidates.end(), points.begin(), points.end());
    std::map<std::pair<double, double>, int> indexAt;
    std::map<std::pair<double, double>, Point const*> objectAt;
    std::vector<double> xy;
    for (auto const& p : candidates) {
        auto const at = std::make_pair(p->x(), p->y());
        if (indexAt.emplace(at, static_cast<int>(xy.size() / 2)).second) {
            objectAt[at] = p.get();
            xy.push_back(p->x());
            xy.push_back(p->y());
        }
    }
    std::vector<int> segments;
    for (std::size_t i = 0; i < sides; ++i) {
        segments.push_back(indexAt.at({candidates[i]->x(), candidates[i]->y()}));
        segments.push_back(indexAt.at({candidates[(i + 1) % sides]->x(), candidates[(i + 1) % sides]->y()}));
    }
    TriangleRecord record;
    std::vector<int> none;
    trianglecui::TriangleProcess::execute("pjzQ", xy, none, segments, none, none, none, record.get(), true);
    std::vector<std::array<Point const*, 3>> want;
    for (int t = 0; t < record->numberoftriangles; ++t) {
        std::array<Point const*, 3> corners{};
        for (int k = 0; k < 3; ++k) {
            int const v = record->trianglelist[3 * t + k];
            corners[static_cast<std::size_t>(k)] =
                objectAt.at({record->pointlist[2 * v], record->pointlist[2 * v + 1]});
        }
        want.push_back(corners);
    }

    Tin tin = PointSetToTin::convertCleanPointSet(set, false, false);
    std::vector<std::array<Point const*, 3>> got;
    for (auto const& t : tin.allTriangles()) {
        got.push_back({t->point(0).get(), t->point(1).get(), t->point(2).get()});
    }
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got.size(), static_cast<std::size_t>(2 * n * n));
    EXPECT_EQ(got, want);
    // Each vertex lists every triangle it is a corner of.
    std::map<Point const*, std::size_t> cornerCount;
    for (auto const& c : want) {
        for (Point const* p : c) {
            ++cornerCount[p];
        }
    }
    for (auto const& p : objects) {
        EXPECT_EQ(tin.findTriangleFromPoint(p).size(), cornerCount[p.get()]);
    }
    EXPECT_NEAR(totalArea(tin), double(n) * n, 1e-9);
}

TEST(PointSetToTin, SurveyLargeEnoughForMappedArraysCountsByEuler)
{
    // Past a quarter of a million points the run's arrays (positions, hashes, the position
    // table, the vertex map, the reordered corner list) are mapped in 2 MiB pages rather than
    // taken from the heap. The result must not notice: every position a vertex, 2V - B - 2
    // triangles, areas summing to the square's, ids numbering the vertices.
    int const n = 520;
    PointSet set;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            bool border = i == 0 || j == 0 || i == n || j == n;
            addOnPlane(set, border ? i : i + jitter(rng), border ? j : j + jitter(rng));
        }
    }
    std::size_t const v = static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1);

    expectHullTriangulation(PointSetToTin::convertCleanPointSet(set, false, false), v, 4 * static_cast<std::size_t>(n),
                            double(n) * n, 1e-5);
}
