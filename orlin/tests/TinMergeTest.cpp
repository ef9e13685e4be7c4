#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include <geos/geom/Polygon.h>

#include "OverlayTestSupport.h"
#include "TinTestSupport.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/TinDifferences.h"
#include "orlin/util/TinMerge.h"
#include "orlin/util/TinModifier.h"
#include "orlin/util/TinRefinement.h"

using namespace tin::core;
using tin::util::TinDifferences;
using tin::util::TinMerge;
using tin::util::TinRefinement;
using overlaytest::Corners;
using overlaytest::Vertex;
using overlaytest::makeTin;
using overlaytest::planarArea;

namespace {

// A grid of cells x cells squares over [x0, x1] x [y0, y1], two triangles each, on z(x, y).
Tin grid(double x0, double y0, double x1, double y1, int cells, std::function<double(double, double)> z,
         std::function<bool(double, double)> keep = nullptr)
{
    std::vector<Vertex> v;
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            double const x = x0 + (x1 - x0) * i / cells, y = y0 + (y1 - y0) * j / cells;
            v.push_back({x, y, z(x, y)});
        }
    }
    std::vector<Corners> t;
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            int const a = j * (cells + 1) + i, b = a + 1, c = a + cells + 2, d = a + cells + 1;
            double const cx = (v[a][0] + v[c][0]) / 2, cy = (v[a][1] + v[c][1]) / 2;
            if (keep && !keep(cx, cy)) {
                continue;
            }
            t.push_back({a, b, c});
            t.push_back({a, c, d});
        }
    }
    return makeTin(v, t);
}

double flat(double, double) { return 0.0; }

// The flat 10 x 10 base most cases merge into, 5 x 5 cells.
Tin flatBase()
{
    return grid(0, 0, 10, 10, 5, flat);
}

// A level 4 x 4 patch at height z over the middle of the base, off its grid lines.
Tin levelPatch(double z)
{
    return grid(3, 3, 7, 7, 2, [z](double, double) { return z; });
}

// A wavy base over [0, 10]^2 and a wavy surface crossing it over part of it, off its grid.
double wavyBaseZ(double x, double y) { return 0.3 * std::sin(x) + 0.1 * y; }

Tin wavyBase()
{
    return grid(0, 0, 10, 10, 6, wavyBaseZ);
}

Tin wavyOther()
{
    return grid(2.5, 1.5, 8.5, 7.5, 5, [](double x, double y) { return 0.5 * std::cos(y) + 0.05 * x; });
}

// The result is the base without the removed triangles and with the added ones (triangles
// matched by their vertices).
void expectChangeReproducesResult(Tin const& base, Tin const& result, Tin const& added, Tin const& removed)
{
    auto expected = tintest::cornerKeys(base);
    for (auto const& k : tintest::cornerKeys(removed)) {
        auto it = expected.find(k);
        ASSERT_NE(it, expected.end());
        expected.erase(it);
    }
    for (auto const& k : tintest::cornerKeys(added)) {
        expected.insert(k);
    }
    EXPECT_EQ(expected, tintest::cornerKeys(result));
}

// Elevation of the result at a position (its surface), or NaN outside it.
double elevationAt(Tin const& tin, double x, double y)
{
    double z = 0.0;
    return tin.interpolatedElevation(Point2D(x, y), &z) ? z : std::nan("");
}

struct Outputs {
    Tin taken, added, removed;
    bool ok = false;
};

// The result is the base less the removed plus the added triangles object for object, the
// removed come from the base, the added do not, and no added triangle stands over the very
// vertices of a removed one (the base's triangle would have been kept in its place).
void expectChangeIsExactByObject(Tin const& base, Tin const& result, Tin const& added, Tin const& removed)
{
    auto const baseObjects = tintest::objectsOf(base);
    auto expected = baseObjects;
    for (auto const* t : tintest::objectsOf(removed)) {
        EXPECT_EQ(baseObjects.count(t), 1u);
        expected.erase(t);
    }
    for (auto const* t : tintest::objectsOf(added)) {
        EXPECT_EQ(baseObjects.count(t), 0u);
        expected.insert(t);
    }
    EXPECT_EQ(expected, tintest::objectsOf(result));
    auto const removedKeys = tintest::cornerKeys(removed);
    for (auto const& k : tintest::cornerKeys(added)) {
        EXPECT_EQ(removedKeys.count(k), 0u);
    }
}

// Compares `to` against `from` and expects the fill (plus) and cut (minus) sums within
// tolerance; a tolerance of 0 asks for the exact value.
void expectDifferences(Tin const& from, Tin const& to, double plus, double minus, double tolerance = 1e-6)
{
    bool ok = false;
    double gotPlus = -1.0, gotMinus = -1.0;
    TinDifferences::calculateDifferences(from, to, &ok, &gotPlus, &gotMinus);
    ASSERT_TRUE(ok);
    EXPECT_NEAR(gotPlus, plus, tolerance);
    EXPECT_NEAR(gotMinus, minus, tolerance);
}

}  // namespace

TEST(TinMergeTest, AddTakesAHigherSurfaceInsideTheBase)
{
    Tin base = flatBase();
    Tin other = levelPatch(1.0);
    Outputs o;
    Tin result = TinMerge::add(base, other, &o.ok, &o.taken, &o.added, &o.removed);
    ASSERT_TRUE(o.ok);
    EXPECT_NEAR(planarArea(result), 100.0, 1e-9);
    EXPECT_NEAR(planarArea(o.taken), 16.0, 1e-9);
    EXPECT_DOUBLE_EQ(elevationAt(result, 5, 5), 1.0);
    EXPECT_DOUBLE_EQ(elevationAt(result, 1, 1), 0.0);
    EXPECT_DOUBLE_EQ(elevationAt(result, 8.5, 5), 0.0);
    for (auto const& t : o.taken.allTriangles()) {
        EXPECT_TRUE(result.containsTriangle(t));
    }
    expectChangeReproducesResult(base, result, o.added, o.removed);
    EXPECT_FALSE(o.removed.empty());
}

TEST(TinMergeTest, AddOfALowerSurfaceKeepsTheBaseShape)
{
    Tin base = flatBase();
    Tin other = levelPatch(-1.0);
    Outputs o;
    Tin result = TinMerge::add(base, other, &o.ok, &o.taken, &o.added, &o.removed);
    ASSERT_TRUE(o.ok);
    EXPECT_TRUE(o.taken.empty());
    EXPECT_NEAR(planarArea(result), 100.0, 1e-9);
    for (auto const& t : result.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(t->point(i)->elevation(), 0.0);
        }
    }
    expectChangeReproducesResult(base, result, o.added, o.removed);

    // sub mirrors it: the lower surface is cut in.
    Outputs s;
    Tin cut = tin::util::TinModifier::sub(base, other, &s.ok, &s.taken, &s.added, &s.removed);
    ASSERT_TRUE(s.ok);
    EXPECT_NEAR(planarArea(s.taken), 16.0, 1e-9);
    EXPECT_DOUBLE_EQ(elevationAt(cut, 5, 5), -1.0);
    expectChangeReproducesResult(base, cut, s.added, s.removed);
}

TEST(TinMergeTest, AddOfACrossingSurfaceTakesOnlyWhereItIsHigher)
{
    Tin base = flatBase();
    Tin other = grid(3, 3, 7, 7, 4, [](double x, double) { return x - 5.0; });
    Outputs o;
    Tin result = TinMerge::add(base, other, &o.ok, &o.taken, &o.added, &o.removed);
    ASSERT_TRUE(o.ok);
    EXPECT_NEAR(planarArea(result), 100.0, 1e-9);
    EXPECT_NEAR(planarArea(o.taken), 8.0, 1e-9);
    EXPECT_NEAR(elevationAt(result, 6, 5), 1.0, 1e-9);
    EXPECT_NEAR(elevationAt(result, 4, 5), 0.0, 1e-9);
    // Equal elevations choose the other surface in both directions.
    Outputs s;
    Tin cut = tin::util::TinModifier::sub(base, other, &s.ok, &s.taken, &s.added, &s.removed);
    ASSERT_TRUE(s.ok);
    EXPECT_NEAR(planarArea(s.taken), 8.0, 1e-9);
    EXPECT_NEAR(elevationAt(cut, 4, 5), -1.0, 1e-9);
    EXPECT_NEAR(elevationAt(cut, 6, 5), 0.0, 1e-9);
}

TEST(TinMergeTest, SurfacePartlyOutsideTheBaseAddsOnlyInside)
{
    Tin base = flatBase();
    Tin other = grid(8, 3, 12, 7, 2, [](double, double) { return 1.0; });
    Outputs o;
    Tin result = TinMerge::add(base, other, &o.ok, nullptr, &o.added, nullptr);
    ASSERT_TRUE(o.ok);
    EXPECT_NEAR(planarArea(result), 100.0, 1e-9);
    EXPECT_DOUBLE_EQ(elevationAt(result, 9, 5), 1.0);
    EXPECT_TRUE(std::isnan(elevationAt(result, 11, 5)));
}

TEST(TinMergeTest, BaseWithAHoleKeepsItsHole)
{
    auto outsideHole = [](double x, double y) { return !(x > 4 && x < 6 && y > 4 && y < 6); };
    Tin base = grid(0, 0, 10, 10, 5, flat, outsideHole);
    ASSERT_NEAR(planarArea(base), 96.0, 1e-9);
    Tin other = levelPatch(1.0);
    Outputs o;
    Tin result = TinMerge::add(base, other, &o.ok, &o.taken, &o.added, &o.removed);
    ASSERT_TRUE(o.ok);
    EXPECT_NEAR(planarArea(result), 96.0, 1e-9);
    EXPECT_TRUE(std::isnan(elevationAt(result, 5, 5)));
    EXPECT_DOUBLE_EQ(elevationAt(result, 3.5, 3.5), 1.0);
    expectChangeReproducesResult(base, result, o.added, o.removed);
}

TEST(TinMergeTest, OverwriteKeepsOnlyTheOtherWhereBothExist)
{
    Tin base = flatBase();
    Tin other = grid(8, 3, 12, 7, 2, [](double, double) { return 1.0; });
    Outputs o;
    Tin result = TinMerge::overwrite(base, other, &o.ok, &o.taken, &o.added, &o.removed);
    ASSERT_TRUE(o.ok);
    EXPECT_NEAR(planarArea(result), 8.0, 1e-9);
    EXPECT_NEAR(planarArea(o.removed), 100.0, 1e-9);
    for (auto const& t : result.allTriangles()) {
        EXPECT_LE(t->getInteriorPoint().x(), 10.0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(t->point(i)->elevation(), 1.0);
        }
    }
    expectChangeReproducesResult(base, result, o.added, o.removed);

    Outputs lonely;
    Tin kept = TinMerge::overwrite_deleteLonelyRegions(base, other, &lonely.ok, nullptr, nullptr, nullptr);
    ASSERT_TRUE(lonely.ok);
    EXPECT_NEAR(planarArea(kept), 8.0, 1e-9);
}

TEST(TinMergeTest, PolygonFilterKeepsRegionsMeetingAnyPolygon)
{
    Tin base = flatBase();
    Tin other = grid(1, 1, 9, 9, 4, [](double x, double) { return std::sin(x) + 0.2; });
    Tin near = grid(0, 0, 2, 2, 1, flat);
    Tin far = grid(20, 20, 22, 22, 1, flat);
    Outputs all, none, some;
    TinMerge::add(base, other, &all.ok, &all.taken, nullptr, nullptr);
    TinMerge::add(base, other, far.geosPolygons(), &none.ok, &none.taken, nullptr, nullptr);
    auto polygons = far.geosPolygons();
    for (auto const* p : near.geosPolygons()) {
        polygons.push_back(p);
    }
    TinMerge::add(base, other, polygons, &some.ok, &some.taken, nullptr, nullptr);
    ASSERT_TRUE(all.ok && none.ok && some.ok);
    EXPECT_TRUE(none.taken.empty());
    EXPECT_FALSE(some.taken.empty());
    EXPECT_LT(planarArea(some.taken), planarArea(all.taken));
}

TEST(TinDifferencesTest, PlanesAtZeroAndTwoGiveTwoHundredWithTheSignOfTheSecond)
{
    Tin low = grid(0, 0, 10, 10, 2, flat);
    Tin high = grid(0, 0, 10, 10, 3, [](double, double) { return 2.0; });
    expectDifferences(low, high, 200.0, 0.0);
    // The same comparison the other way round, through the modifier's entry point.
    bool ok = false;
    double plus = -1, minus = -1;
    tin::util::TinModifier::calculateDifferences(high, low, &ok, &plus, &minus);
    ASSERT_TRUE(ok);
    EXPECT_DOUBLE_EQ(plus, 0.0);
    EXPECT_NEAR(minus, -200.0, 1e-6);
}

TEST(TinDifferencesTest, TiltedPlaneAgainstFlatCutsAndFillsEqually)
{
    Tin ground = grid(0, 0, 10, 10, 3, flat);
    Tin tilted = grid(0, 0, 10, 10, 4, [](double x, double) { return x - 5.0; });
    expectDifferences(ground, tilted, 125.0, -125.0);
    expectDifferences(ground, ground, 0.0, 0.0, 1e-9);
    Tin apart = grid(20, 0, 30, 10, 2, flat);
    expectDifferences(ground, apart, 0.0, 0.0, 0.0);
}

TEST(TinDifferencesTest, SmallerSurfaceIsComparedOverItsOwnAreaOnly)
{
    // One TIN spans the overlap rectangle, the other reaches beyond it: the tilted plane
    // z = x - 5 over [2, 8]^2 lies 27 above and 27 below the flat ground, either way round.
    Tin ground = grid(0, 0, 10, 10, 5, flat);
    Tin tilted = grid(2, 2, 8, 8, 3, [](double x, double) { return x - 5.0; });
    expectDifferences(ground, tilted, 27.0, -27.0);
    expectDifferences(tilted, ground, 27.0, -27.0);
}

TEST(TinRefinementTest, LargeTriangleIsRefinedOnItsPlaneWithoutNewPointsOnItsSides)
{
    auto plane = [](double x, double y) { return 1.0 + 0.5 * x + 0.25 * y; };
    Tin tin = makeTin({{0, 0, plane(0, 0)}, {20, 0, plane(20, 0)}, {0, 10, plane(0, 10)}}, {{0, 1, 2}});
    bool ok = false;
    Tin refined = TinRefinement::refine(tin, &ok);
    ASSERT_TRUE(ok);
    EXPECT_GT(refined.allTriangles().size(), 10u);
    EXPECT_NEAR(planarArea(refined), 100.0, 1e-9);
    for (auto const& t : refined.allTriangles()) {
        EXPECT_LE(t->area(), 10.0 + 1e-9);
        for (int i = 0; i < 3; ++i) {
            auto const& p = *t->point(i);
            EXPECT_NEAR(p.elevation(), plane(p.x(), p.y()), 1e-9);
            bool const corner = (p.x() == 0 || p.x() == 20) && (p.y() == 0 || p.y() == 10);
            bool const onSide = std::abs(p.y()) < 1e-9 || std::abs(p.x()) < 1e-9 ||
                                std::abs(p.x() / 20 + p.y() / 10 - 1) < 1e-9;
            EXPECT_TRUE(corner || !onSide) << p.x() << " " << p.y();
        }
    }
    // The source points are numbered by their place in the triangulation input.
    std::vector<int> ids;
    for (auto const& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            ids.push_back(t->point(i)->id());
        }
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<int>{0, 1, 2}));
}

TEST(TinRefinementTest, RefinementInventsNoTerrainInAHole)
{
    auto outsideHole = [](double x, double y) { return !(x > 4 && x < 6 && y > 4 && y < 6); };
    Tin tin = grid(0, 0, 10, 10, 5, [](double, double) { return 3.0; }, outsideHole);
    bool ok = false;
    Tin refined = TinRefinement::refine(tin, &ok);
    ASSERT_TRUE(ok);
    EXPECT_NEAR(planarArea(refined), 96.0, 1e-9);
    for (auto const& t : refined.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(t->point(i)->elevation(), 3.0);
        }
    }
}

TEST(TinMergeTest, OverwriteWithAPatchInsideTheBaseTakesThePatch)
{
    // The patch's region is nested in the ring around it, which the patch does not cover;
    // skipping the nested regions of an uncovered one left the patch without triangles.
    Tin base = flatBase();
    Tin patch = levelPatch(1.0);
    Outputs o;
    Tin result = TinMerge::overwrite(base, patch, &o.ok, &o.taken, &o.added, &o.removed);
    ASSERT_TRUE(o.ok);
    EXPECT_NEAR(planarArea(result), 16.0, 1e-9);
    EXPECT_NEAR(planarArea(o.taken), 16.0, 1e-9);
    EXPECT_DOUBLE_EQ(elevationAt(result, 5, 5), 1.0);
    expectChangeReproducesResult(base, result, o.added, o.removed);
}

TEST(TinDifferencesTest, FillWithAVerticalStepAtItsRimIsCountedWhole)
{
    // The edited TIN has two vertices at each position of the pad's rim (ground and pad
    // elevation); its region must still take both sides of that step.
    Tin ground = flatBase();
    Tin pad = levelPatch(1.0);
    bool ok = false;
    Tin edited = TinMerge::add(ground, pad, &ok, nullptr, nullptr, nullptr);
    ASSERT_TRUE(ok);
    expectDifferences(ground, edited, 16.0, 0.0);

    // The edited TIN shares the untouched triangles with ground, which the comparison leaves
    // out; against a ground of its own triangles the whole area is compared, to the same sums.
    Tin separate = flatBase();
    expectDifferences(separate, edited, 16.0, 0.0);
}

namespace {

// A survey-like TIN far from the origin, so that points computed on its edges lie off them by
// rounding, and the same TIN cut along a line the way a merge cuts it at the rim of a surface:
// every triangle the line crosses is split at its crossings (shared with the neighbours) and
// the crossing points are raised. All triangles the line misses are shared by both.
struct RimEdit {
    Tin base;
    Tin edited;
};

RimEdit cutAlongLine(double slope, double offset, double raise)
{
    std::vector<Vertex> vertices;
    for (int j = 0; j < 9; ++j) {
        for (int i = 0; i < 9; ++i) {
            double const jitter = std::sin(i * 12.9898 + j * 78.233) * 0.3;
            vertices.push_back({639920.0 + i * 1.37 + jitter, 485150.0 + j * 1.21 - 0.7 * jitter,
                                100.0 + 0.3 * std::cos(i * 0.7) + 0.2 * std::sin(j * 1.3)});
        }
    }
    RimEdit edit{makeTin(vertices, overlaytest::delaunay(vertices)), Tin()};
    double const x0 = 639920.0;
    double const y0 = 485150.0;
    auto side = [&](Point const& p) { return (p.y() - y0) - (slope * (p.x() - x0) + offset); };
    std::map<std::pair<Point const*, Point const*>, std::shared_ptr<Point>> crossings;
    auto crossing = [&](std::shared_ptr<Point> const& a, std::shared_ptr<Point> const& b) {
        auto const key = a.get() < b.get() ? std::make_pair(a.get(), b.get()) : std::make_pair(b.get(), a.get());
        auto& m = crossings[key];
        if (!m) {
            auto const& [p, q] = a.get() < b.get() ? std::make_pair(a, b) : std::make_pair(b, a);
            double const t = side(*p) / (side(*p) - side(*q));
            m = std::make_shared<Point>(p->x() + t * (q->x() - p->x()), p->y() + t * (q->y() - p->y()),
                                        p->elevation() + t * (q->elevation() - p->elevation()) + raise);
        }
        return m;
    };
    std::vector<std::shared_ptr<Triangle>> untouched;
    std::vector<std::array<std::shared_ptr<Point>, 3>> cut;
    for (auto const& t : edit.base.allTriangles()) {
        bool const above[3] = {side(*t->point(0)) > 0, side(*t->point(1)) > 0, side(*t->point(2)) > 0};
        if (above[0] == above[1] && above[1] == above[2]) {
            untouched.push_back(t);
            continue;
        }
        // p is the corner alone on its side; q, r follow it in the triangle's order.
        int const k = above[0] != above[1] && above[0] != above[2] ? 0 : (above[1] != above[0] ? 1 : 2);
        auto const& p = t->point(k);
        auto const& q = t->point(k + 1);
        auto const& r = t->point(k + 2);
        auto const mq = crossing(p, q);
        auto const mr = crossing(p, r);
        cut.push_back({p, mq, mr});
        cut.push_back({mq, q, r});
        cut.push_back({mq, r, mr});
    }
    edit.edited = Tin(untouched);
    for (auto const& [a, b, c] : cut) {
        edit.edited.addTriangle(a, b, c);
    }
    return edit;
}

} // namespace

TEST(TinDifferencesTest, EditWithPointsOnTheBaseEdgesDoesNotBendTheOverlayConstraints)
{
    for (double slope : {0.31, -1.7, 0.0123}) {
        SCOPED_TRACE(slope);
        auto const edit = cutAlongLine(slope, 4.7, 0.5);
        ASSERT_GT(edit.edited.allTriangles().size(), edit.base.allTriangles().size());
        ASSERT_NEAR(planarArea(edit.edited), planarArea(edit.base), 1e-9 * planarArea(edit.base));
        double const change = TinDifferences::volume(edit.edited) - TinDifferences::volume(edit.base);
        ASSERT_GT(change, 0.0);
        expectDifferences(edit.base, edit.edited, change, 0.0, 1e-6 * change);
        expectDifferences(edit.edited, edit.base, 0.0, -change, 1e-6 * change);
    }
}

TEST(TinMergeTest, UncutBaseTrianglesStayTheBaseObjects)
{
    // Where the lower patch leaves the base in place, the base triangles that no region
    // boundary crosses come back over the same vertices; the result keeps the base's objects
    // there instead of look-alikes, and only the triangles along the patch's rim change.
    Tin base = flatBase();
    Tin other = levelPatch(-1.0);
    Outputs o;
    Tin result = TinMerge::add(base, other, &o.ok, &o.taken, &o.added, &o.removed);
    ASSERT_TRUE(o.ok);
    expectChangeIsExactByObject(base, result, o.added, o.removed);
    auto const kept = tintest::objectsOf(result);
    int uncut = 0;
    for (auto const& t : base.allTriangles()) {
        auto const r = t->boundingRect();
        bool const crossesRim = r.xMin() < 7 && r.xMax() > 3 && r.yMin() < 7 && r.yMax() > 3 &&
                                !(r.xMin() >= 3 && r.xMax() <= 7 && r.yMin() >= 3 && r.yMax() <= 7);
        if (!crossesRim) {
            ++uncut;
            EXPECT_EQ(kept.count(t.get()), 1u) << t->getInteriorPoint().x() << " " << t->getInteriorPoint().y();
        }
    }
    EXPECT_GT(uncut, 30);
    EXPECT_NEAR(planarArea(o.added), planarArea(o.removed), 1e-9);
    EXPECT_LT(o.removed.allTriangles().size(), 20u);
}

namespace {

// The oracle of add and sub over a 10 x 10 base: inside the other TIN the result is the higher
// (add) or the lower (sub) of the two surfaces, outside it the base; the plan area stays the
// base's. The samples keep off the other's rim, where the result steps from one to the other.
void expectHigherAndLower(Tin const& base, Tin const& other, Tin const& higher, Tin const& lower)
{
    EXPECT_NEAR(planarArea(higher), 100.0, 1e-9);
    EXPECT_NEAR(planarArea(lower), 100.0, 1e-9);
    for (double x = 0.29; x < 10; x += 0.61) {
        for (double y = 0.23; y < 10; y += 0.67) {
            double const b = elevationAt(base, x, y);
            double const o = elevationAt(other, x, y);
            bool const inOther = !std::isnan(o);
            EXPECT_NEAR(elevationAt(higher, x, y), inOther ? std::max(b, o) : b, 1e-9) << x << " " << y;
            EXPECT_NEAR(elevationAt(lower, x, y), inOther ? std::min(b, o) : b, 1e-9) << x << " " << y;
        }
    }
}

}  // namespace

TEST(TinMergeTest, EveryOperationChangesTheBaseExactlyByItsAddedAndRemoved)
{
    Tin base = wavyBase();
    Tin other = wavyOther();
    using Operation = Tin (*)(Tin const&, Tin const&, bool*, Tin*, Tin*, Tin*);
    std::vector<std::pair<char const*, Operation>> const operations{
        {"add", &TinMerge::add}, {"sub", &TinMerge::sub}, {"overwrite", &TinMerge::overwrite},
        {"overwrite_deleteLonelyRegions", &TinMerge::overwrite_deleteLonelyRegions}};
    std::vector<Tin> results;
    for (auto const& [name, operation] : operations) {
        SCOPED_TRACE(name);
        Outputs o;
        results.push_back(operation(base, other, &o.ok, &o.taken, &o.added, &o.removed));
        Tin const& result = results.back();
        ASSERT_TRUE(o.ok);
        expectChangeIsExactByObject(base, result, o.added, o.removed);
        for (auto const& t : o.taken.allTriangles()) {
            EXPECT_TRUE(result.containsTriangle(t));
        }
        // Without the outputs the same triangles result.
        bool ok = false;
        Tin bare = operation(base, other, &ok, nullptr, nullptr, nullptr);
        ASSERT_TRUE(ok);
        EXPECT_EQ(tintest::cornerKeys(bare), tintest::cornerKeys(result));
    }
    expectHigherAndLower(base, other, results[0], results[1]);

    // An edit drops the base's cached rectangle; the merge must not depend on it.
    auto const corner = base.findTrianglesIntersectRect(Rect(0, 0, 0.1, 0.1)).front();
    base.removeTriangle(corner);
    base.addTriangle(corner);
    bool ok = false;
    EXPECT_EQ(tintest::cornerKeys(TinMerge::add(base, other, &ok, nullptr, nullptr, nullptr)), tintest::cornerKeys(results[0]));
    EXPECT_TRUE(ok);
}

TEST(TinMergeTest, SurfaceOnTheBaseGridWithEdgesAlongBaseEdgesGivesTheHigherAndTheLower)
{
    // The other TIN's vertices lie on the base's grid at half its spacing, so that many of its
    // edges run along halves of base edges: the overlay then finds the cuts of each TIN's edges
    // from runs of their own. Same oracle as above, and the change reproduces the result.
    auto zOther = [](double x, double y) { return 1.2 - 0.08 * ((x - 5) * (x - 5) + (y - 5) * (y - 5)); };
    Tin base = grid(0, 0, 10, 10, 10, wavyBaseZ);
    Tin other = grid(2, 2, 8, 8, 12, zOther);
    Outputs add, sub;
    Tin const higher = TinMerge::add(base, other, &add.ok, &add.taken, &add.added, &add.removed);
    ASSERT_TRUE(add.ok);
    Tin const lower = TinMerge::sub(base, other, &sub.ok, &sub.taken, &sub.added, &sub.removed);
    ASSERT_TRUE(sub.ok);
    EXPECT_FALSE(add.taken.allTriangles().empty());
    EXPECT_FALSE(sub.taken.allTriangles().empty());
    expectChangeReproducesResult(base, higher, add.added, add.removed);
    expectChangeReproducesResult(base, lower, sub.added, sub.removed);
    expectHigherAndLower(base, other, higher, lower);
}

TEST(TinMergeTest, SurfaceInTheNotchOfAnLShapedBaseChangesNothing)
{
    // The other lies inside the base's rectangle but over no base triangle.
    Tin base = grid(0, 0, 10, 10, 5, flat, [](double x, double y) { return x < 5 || y < 5; });
    Tin other = grid(6.5, 6.5, 9.5, 9.5, 2, [](double, double) { return 1.0; });
    using Operation = Tin (*)(Tin const&, Tin const&, bool*, Tin*, Tin*, Tin*);
    for (Operation const operation : {Operation(&TinMerge::add), Operation(&TinMerge::sub)}) {
        Outputs o;
        Tin result = operation(base, other, &o.ok, &o.taken, &o.added, &o.removed);
        ASSERT_TRUE(o.ok);
        EXPECT_EQ(tintest::objectsOf(result), tintest::objectsOf(base));
        EXPECT_TRUE(o.taken.empty());
        EXPECT_TRUE(o.added.empty());
        EXPECT_TRUE(o.removed.empty());
    }
}

namespace {

// A strip swept along a -> b: across it the surface is level from 3 to the left up to the
// line and rises by 2 over 3 to the right; along the line it lies on `ground`. Sections at both
// ends and at the middle.
Tin stripAlong(Point2D a, Point2D b, std::function<double(double, double)> const& ground)
{
    double const length = std::hypot(b.x() - a.x(), b.y() - a.y());
    double const nx = (b.y() - a.y()) / length, ny = -(b.x() - a.x()) / length;
    double const l[] = {-3.0, 0.0, 3.0};
    double const h[] = {0.0, 0.0, 2.0};
    std::vector<Vertex> v;
    for (double t : {0.0, 0.5, 1.0}) {
        double const x = a.x() + t * (b.x() - a.x()), y = a.y() + t * (b.y() - a.y());
        for (int k = 0; k < 3; ++k) {
            v.push_back({x + l[k] * nx, y + l[k] * ny, ground(x, y) + h[k]});
        }
    }
    std::vector<Corners> t;
    for (int s = 0; s < 2; ++s) {
        for (int k = 0; k < 2; ++k) {
            int const p = 3 * s + k, c = p + 3;
            t.push_back({p, c, c + 1});
            t.push_back({p + 1, c + 1, p});
        }
    }
    return makeTin(v, t);
}

}  // namespace

TEST(TinMergeTest, SurfaceEqualToTheBaseAlongALineLeavesNoHole)
{
    // Where the two surfaces are equal along a whole line, the elevation differences there are
    // rounding noise, and the triangles on either side of the line disagreed about where the
    // surfaces cross it: their crossing segments overlapped, the traced region passed a point
    // twice, and its flood ran out over the whole base, which lost its triangles.
    auto const ground = [](double x, double y) { return 0.01 * x + 0.02 * y; };
    Tin const base = grid(0, 0, 40, 40, 20, ground);
    double const baseArea = planarArea(base);
    std::vector<std::pair<Point2D, Point2D>> const lines = {
        {{32, 16.25}, {24, 19}}, {{20.25, 10.75}, {17, 27.5}}, {{10, 30}, {28.5, 31.25}}, {{13, 13}, {27, 24}}};
    for (auto const& [a, b] : lines) {
        SCOPED_TRACE(::testing::Message() << "along (" << a.x() << ", " << a.y() << ") (" << b.x() << ", " << b.y() << ")");
        Tin const other = stripAlong(a, b, ground);
        using Operation = Tin (*)(Tin const&, Tin const&, bool*, Tin*, Tin*, Tin*);
        for (Operation const operation : {Operation(&TinMerge::add), Operation(&TinMerge::sub)}) {
            Outputs o;
            Tin const result = operation(base, other, &o.ok, &o.taken, &o.added, &o.removed);
            ASSERT_TRUE(o.ok);
            EXPECT_NEAR(planarArea(result), baseArea, 1e-6);
            EXPECT_NEAR(planarArea(o.added), planarArea(o.removed), 1e-6);
            expectChangeIsExactByObject(base, result, o.added, o.removed);
        }
    }
}

TEST(TinMergeTest, CornersOfAnEarlierEditARoundingErrorAwayOpenNoCrackAtAVerticalStep)
{
    // A level patch added above a flat base stands on a vertical wall along its outline, whose
    // foot and top are two corners at one plan position: where the outline crosses a base
    // edge, at a crossing the overlay computes. Corners an earlier edit made there (kept alive
    // by an undo history) may stand a rounding error away: the point factory hands such a
    // corner back for the top, and the foot, made anew, must stand exactly where it stands, or
    // the TIN has a crack along the wall.
    Tin const base = grid(0, 0, 20, 20, 10, flat);
    std::vector<Vertex> corners;
    for (int k = 0; k < 4; ++k) {
        double const angle = 0.3 + k * M_PI / 2.0;
        corners.push_back({10.0 + 5.5 * std::cos(angle), 10.0 + 5.5 * std::sin(angle), 1.0});
    }
    corners.push_back({10.0, 10.0, 1.0});
    Tin const patch = makeTin(corners, {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}});

    // The positions of the steps, found by a first add whose result is then let go.
    std::vector<Point2D> steps;
    {
        bool ok = false;
        Tin const first = TinMerge::add(base, patch, &ok, nullptr, nullptr, nullptr);
        ASSERT_TRUE(ok);
        std::map<std::pair<double, double>, std::set<double>> elevations;
        first.forEachPoint([&](Point& p) { elevations[{p.x(), p.y()}].insert(p.elevation()); });
        for (auto const& [xy, zs] : elevations) {
            if (zs.size() > 1) {
                steps.emplace_back(xy.first, xy.second);
            }
        }
    }
    ASSERT_GE(steps.size(), 8u);
    std::vector<std::shared_ptr<Point>> earlier;
    for (auto const& p : steps) {
        earlier.push_back(tin::core::PointFactory::instance().factory(Point(p.x() + 1e-14, p.y() - 1e-14, 1.0)));
    }

    bool ok = false;
    Tin const result = TinMerge::add(base, patch, &ok, nullptr, nullptr, nullptr);
    ASSERT_TRUE(ok);
    std::vector<std::pair<double, double>> positions;
    result.forEachPoint([&](Point& p) { positions.emplace_back(p.x(), p.y()); });
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    int apart = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        for (std::size_t j = i + 1; j < positions.size() && positions[j].first - positions[i].first <= 1e-8; ++j) {
            apart += std::abs(positions[j].second - positions[i].second) <= 1e-8 ? 1 : 0;
        }
    }
    EXPECT_EQ(apart, 0) << "positions within the factory's tolerance of each other";
    EXPECT_NEAR(planarArea(result), 400.0, 1e-9);
}

TEST(TinMergeTest, BaseOfPointsOfItsOwnKeepsEveryTriangleTheOtherDoesNotMeet)
{
    // A base whose corners the point factory does not hold (made as shared points of its own):
    // the re-triangulation gives its uncut triangles back over new point objects. Those are
    // still the base's triangles: nothing beyond the other TIN changes, and an other TIN beside
    // the base changes nothing at all.
    std::vector<std::shared_ptr<Point>> nodes;
    for (int j = 0; j <= 10; ++j) {
        for (int i = 0; i <= 10; ++i) {
            nodes.push_back(std::make_shared<Point>(2.0 * i, 2.0 * j, 0.01 * i));
        }
    }
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * 11 + i)]; };
    Tin base;
    for (int j = 0; j < 10; ++j) {
        for (int i = 0; i < 10; ++i) {
            base.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            base.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    Tin const inside = grid(7.3, 6.1, 11.7, 9.9, 2, [](double, double) { return 1.0; });
    Tin const beside = grid(23.0, 4.0, 27.0, 8.0, 2, [](double, double) { return 1.0; });
    {
        Outputs o;
        Tin const result = TinMerge::add(base, inside, &o.ok, &o.taken, &o.added, &o.removed);
        ASSERT_TRUE(o.ok);
        expectChangeIsExactByObject(base, result, o.added, o.removed);
        EXPECT_NEAR(planarArea(result), 400.0, 1e-9);
        Rect const patch = inside.boundingRect();
        for (auto const& t : o.removed.allTriangles()) {
            auto const r = t->boundingRect();
            EXPECT_TRUE(r.xMax() > patch.xMin() && r.xMin() < patch.xMax() && r.yMax() > patch.yMin() && r.yMin() < patch.yMax())
                << "a triangle away from the other TIN was replaced";
        }
        EXPECT_LE(o.removed.allTriangles().size(), 24u);
    }
    for (auto const& other : {beside}) {
        Outputs o;
        Tin const result = TinMerge::add(base, other, &o.ok, &o.taken, &o.added, &o.removed);
        ASSERT_TRUE(o.ok);
        EXPECT_TRUE(o.added.empty());
        EXPECT_TRUE(o.removed.empty());
        EXPECT_EQ(tintest::objectsOf(result), tintest::objectsOf(base));
    }
}

namespace {

// Each triangle as its three corners' coordinates, sorted: equal for TINs of the same
// triangles wherever their point objects come from.
using CoordinateKey = std::array<std::array<double, 3>, 3>;

std::multiset<CoordinateKey> coordinateKeys(Tin const& tin)
{
    std::multiset<CoordinateKey> keys;
    for (auto const& t : tin.allTriangles()) {
        CoordinateKey k;
        for (int i = 0; i < 3; ++i) {
            k[i] = {t->point(i)->x(), t->point(i)->y(), t->point(i)->elevation()};
        }
        std::sort(k.begin(), k.end());
        keys.insert(k);
    }
    return keys;
}

// A base of n x n nodes at spacing 1 from (x0, y0), each node moved by up to 0.3 along both
// axes (a fixed sequence), over z(x, y): the survey's jittered grid in small.
Tin jitteredBase(double x0, double y0, int n, std::function<double(double, double)> const& z)
{
    std::vector<Vertex> v;
    unsigned state = 12345u;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<double>((state >> 8) & 0xffff) / 65535.0 - 0.5;
    };
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            double const x = x0 + i + 0.6 * next(), y = y0 + j + 0.6 * next();
            v.push_back({x, y, z(x, y)});
        }
    }
    std::vector<Corners> t;
    for (int j = 0; j + 1 < n; ++j) {
        for (int i = 0; i + 1 < n; ++i) {
            int const a = j * n + i, b = a + 1, c = a + n + 1, d = a + n;
            t.push_back({a, b, c});
            t.push_back({a, c, d});
        }
    }
    return makeTin(v, t);
}

// A ridge swept along the polyline: across it, at offsets -4.5, -1.5, 1.5, 4.5, 1 below, 1 above,
// 1 above and 1 below `ground` at the path (the "Convex" mold); a section at every vertex.
// Closed: the last section joins the first.
Tin ridgeAlong(std::vector<Point2D> const& path, bool closed, std::function<double(double, double)> const& ground)
{
    double const l[] = {-4.5, -1.5, 1.5, 4.5};
    double const h[] = {-1.0, 1.0, 1.0, -1.0};
    std::size_t const n = path.size();
    std::vector<Vertex> v;
    for (std::size_t s = 0; s < n; ++s) {
        Point2D const& before = path[s == 0 ? (closed ? n - 1 : 0) : s - 1];
        Point2D const& after = path[s + 1 == n ? (closed ? 0 : n - 1) : s + 1];
        double const dx = after.x() - before.x(), dy = after.y() - before.y();
        double const length = std::hypot(dx, dy);
        double const nx = dy / length, ny = -dx / length;
        double const z = ground(path[s].x(), path[s].y());
        for (int k = 0; k < 4; ++k) {
            v.push_back({path[s].x() + l[k] * nx, path[s].y() + l[k] * ny, z + h[k]});
        }
    }
    std::vector<Corners> t;
    std::size_t const sections = closed ? n : n - 1;
    for (std::size_t s = 0; s < sections; ++s) {
        int const p = static_cast<int>(4 * s), c = static_cast<int>(4 * ((s + 1) % n));
        for (int k = 0; k < 3; ++k) {
            t.push_back({p + k, c + k, c + k + 1});
            t.push_back({p + k, c + k + 1, p + k + 1});
        }
    }
    return makeTin(v, t);
}

double rolling(double x, double y)
{
    return 2.0 * std::sin(x / 7.0) * std::cos(y / 9.0) + 0.05 * x;
}

// add and sub of `other` into `base` (within the polygons when there are any), read under the other's
// outline and read under the whole overlap rectangle: the same results (by coordinates), the
// same base triangles removed (by object), the same triangles added and taken (by
// coordinates), and each change exactly the base's.
void expectTheOutlineReadsAsTheRectangle(Tin const& base, Tin const& other,
                                         std::vector<geos::geom::Polygon const*> const& polygons)
{
    using Reach = TinMerge::BaseReach;
    struct Mode {
        char const* name;
        TinMerge::ElevationPredicate predicate;
        TinMerge::Pruning pruning;
    };
    auto const baseNotAbove = [](double zBase, double zOther) { return zBase <= zOther; };
    auto const baseNotBelow = [](double zBase, double zOther) { return zBase >= zOther; };
    for (Mode const mode : {Mode{"add", baseNotAbove, TinMerge::Pruning::KeepOrDrop},
                            Mode{"sub", baseNotBelow, TinMerge::Pruning::KeepOrDrop},
                            Mode{"add in polygons", baseNotAbove, TinMerge::Pruning::KeepOrDropInPolygons},
                            Mode{"sub in polygons", baseNotBelow, TinMerge::Pruning::KeepOrDropInPolygons}}) {
        SCOPED_TRACE(mode.name);
        if (mode.pruning == TinMerge::Pruning::KeepOrDropInPolygons && polygons.empty()) {
            continue;  // no polygon keeps no region
        }
        Outputs near, wide;
        Tin const nearResult = TinMerge::mergeTins(base, other, mode.pruning, polygons, mode.predicate, true, false,
                                                   &near.ok, &near.taken, &near.added, &near.removed, Reach::NearOther);
        Tin const wideResult = TinMerge::mergeTins(base, other, mode.pruning, polygons, mode.predicate, true, false,
                                                   &wide.ok, &wide.taken, &wide.added, &wide.removed,
                                                   Reach::OverlapRectangle);
        ASSERT_TRUE(near.ok);
        ASSERT_TRUE(wide.ok);
        EXPECT_FALSE(near.removed.empty()) << "the other TIN changed nothing: no test";
        EXPECT_EQ(coordinateKeys(nearResult), coordinateKeys(wideResult));
        EXPECT_EQ(tintest::objectsOf(near.removed), tintest::objectsOf(wide.removed));
        EXPECT_EQ(coordinateKeys(near.added), coordinateKeys(wide.added));
        EXPECT_EQ(coordinateKeys(near.taken), coordinateKeys(wide.taken));
        expectChangeIsExactByObject(base, nearResult, near.added, near.removed);
        EXPECT_NEAR(planarArea(nearResult), planarArea(base), 1e-6);
    }
}

}  // namespace

TEST(TinMergeTest, DiagonalRidgeReadUnderItsOutlineMergesAsUnderItsRectangle)
{
    // A ridge along the diagonal of a 60 x 60 survey meets a fifth of its rectangle's
    // triangles; the rest of them lie apart from it and must change nothing.
    Tin const base = jitteredBase(0.0, 0.0, 61, rolling);
    std::vector<Point2D> path;
    for (int k = 0; k < 12; ++k) {
        double const s = 8.0 + 4.0 * k;
        path.emplace_back(s + 1.5 * std::sin(k * 0.9), s - 1.5 * std::sin(k * 0.9) + 0.37);
    }
    Tin const ridge = ridgeAlong(path, false, rolling);
    expectTheOutlineReadsAsTheRectangle(base, ridge, {});
    expectTheOutlineReadsAsTheRectangle(base, ridge, ridge.geosPolygons());
}

TEST(TinMergeTest, RingRidgeReadUnderItsOutlineMergesAsUnderItsRectangle)
{
    // A closed ridge: the base read under it has a hole in the middle, which the base read under
    // the rectangle has not.
    Tin const base = jitteredBase(0.0, 0.0, 50, rolling);
    std::vector<Point2D> path;
    for (int k = 0; k < 16; ++k) {
        double const a = 2.0 * M_PI * k / 16;
        path.emplace_back(24.6 + 16.0 * std::cos(a), 24.3 + 14.0 * std::sin(a));
    }
    expectTheOutlineReadsAsTheRectangle(base, ridgeAlong(path, true, rolling), {});
}

TEST(TinMergeTest, RidgeOverTheBaseRimAndAlongItsGridReadUnderItsOutlineMergesAsUnderItsRectangle)
{
    // Partly beyond the base (the overlap is the two rectangles' intersection), and on a base
    // whose nodes and edges the ridge's corners and sides run along: the triangles that only
    // touch the ridge at a corner or along a side are read too.
    auto const ground = [](double x, double y) { return 0.01 * x + 0.02 * y; };
    Tin const base = grid(0, 0, 40, 40, 40, ground);
    std::vector<Point2D> across{{-6.0, 20.5}, {10.0, 20.5}, {22.0, 32.5}, {33.0, 32.5}};
    expectTheOutlineReadsAsTheRectangle(base, ridgeAlong(across, false, ground), {});
    std::vector<Point2D> onGrid{{4.0, 9.5}, {14.0, 9.5}, {24.0, 9.5}};
    expectTheOutlineReadsAsTheRectangle(base, ridgeAlong(onGrid, false, ground), {});
}
