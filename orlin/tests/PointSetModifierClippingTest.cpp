// PointSetModifier operations that triangulate: clipping by a polygon and division of
// region and hole rings where breaklines cross them.

#include "orlin/core/Breakline.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Tin.h"
#include "orlin/util/PointSetModifier.h"
#include "orlin/util/PointSetToTin.h"

#include "TinTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

using namespace tin::core;
using namespace tin::util;
using namespace tintest;

namespace {

double plane(double x, double y) { return 5.0 + 0.3 * x + 0.7 * y; }

// Points on the plane at every integer position of [0, n]^2.
PointSet gridSet(int n, std::vector<PointPtr>* nodes)
{
    PointSet set;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            auto p = pt(i, j, plane(i, j));
            set.addPoint(p);
            nodes->push_back(p);
        }
    }
    return set;
}

std::shared_ptr<PointRing> ringOf(std::vector<PointPtr> corners)
{
    corners.push_back(corners.front());
    return std::make_shared<PointRing>(corners);
}

// The ring that holds the position, or null.
PointPtr ringPointAt(std::vector<std::shared_ptr<PointRing>> const& rings, double x, double y)
{
    for (auto const& r : rings) {
        for (auto const& p : r->points()) {
            if (p->x() == x && p->y() == y) {
                return p;
            }
        }
    }
    return nullptr;
}

} // namespace

TEST(PointSetClipping, ClipKeepsThePolygonsPartAndOnlyBreaklinesInsideIt)
{
    std::vector<PointPtr> nodes;
    PointSet set = gridSet(6, &nodes);
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * 7 + i)]; };
    set.addBreakline(at(2, 2), at(4, 4), true); // inside the clip
    set.addBreakline(at(1, 3), at(5, 3), true); // leaves it
    Polygon square{{1.5, 1.5}, {4.5, 1.5}, {4.5, 4.5}, {1.5, 4.5}};

    PointSet clipped = PointSetModifier::clipByPolygon(set, square);
    EXPECT_EQ(clipped.allPoints().size(), 9u); // 2..4 in both directions
    for (auto const& p : clipped.allPoints()) {
        EXPECT_TRUE(set.hasPoint(p));
        EXPECT_TRUE(p->x() >= 2 && p->x() <= 4 && p->y() >= 2 && p->y() <= 4);
    }
    ASSERT_EQ(clipped.allRegions().size(), 1u);
    EXPECT_NEAR(std::fabs(clipped.allRegions().front()->toPolygon().boundingRect().width()), 2.0, 1e-12);
    auto breaklines = clipped.allBreaklines();
    ASSERT_EQ(breaklines.size(), 1u);
    EXPECT_EQ(breaklines.front()->point1(), at(2, 2));
    EXPECT_EQ(breaklines.front()->point2(), at(4, 4));

    // The clipped part triangulates back to its 2 x 2 area.
    EXPECT_NEAR(totalArea(PointSetToTin::convertCleanPointSet(clipped, false, false)), 4.0, 1e-12);
    // The source is left as it was.
    EXPECT_EQ(set.allBreaklines().size(), 2u);
}

TEST(PointSetClipping, BreaklinesCrossingRingSidesAddPointsWithTheTinsElevationAndHolesStayHoles)
{
    // Base surface for the new ring points: a plane over [-5, 25]^2.
    PointSet base;
    for (double x : {-5.0, 25.0}) {
        for (double y : {-5.0, 25.0}) {
            base.addPoint(pt(x, y, plane(x, y)));
        }
    }
    Tin tin = PointSetToTin::convertCleanPointSet(base, false, false);

    PointSet set;
    std::vector<PointPtr> outer{pt(0, 0, plane(0, 0)), pt(10, 0, plane(10, 0)), pt(10, 10, plane(10, 10)),
                                pt(0, 10, plane(0, 10))};
    std::vector<PointPtr> hole{pt(3, 3, plane(3, 3)), pt(6, 3, plane(6, 3)), pt(6, 6, plane(6, 6)),
                               pt(3, 6, plane(3, 6))};
    for (auto const& p : outer) {
        set.addPoint(p);
    }
    for (auto const& p : hole) {
        set.addPoint(p);
    }
    set.addRegion(ringOf(outer));
    set.addHole(ringOf(hole));
    auto inside = pt(8, 5, plane(8, 5));
    auto beyond = pt(15, 5, plane(15, 5));
    auto belowHole = pt(4.5, 1, plane(4.5, 1));
    auto inHole = pt(4.5, 4, plane(4.5, 4));
    auto lonelyA = pt(1, 7, plane(1, 7));
    auto lonelyB = pt(2, 8, plane(2, 8));
    for (auto const& p : {inside, beyond, belowHole, inHole, lonelyA, lonelyB}) {
        set.addPoint(p);
    }
    set.addBreakline(inside, beyond, true);     // crosses the region side x = 10 at y = 5
    set.addBreakline(belowHole, inHole, true);  // crosses the hole side y = 3 at x = 4.5
    set.addBreakline(belowHole, hole[0], true); // ends on a hole vertex: crosses nothing
    set.addBreakline(lonelyA, lonelyB, true);   // crosses nothing
    std::size_t before = set.allPoints().size();

    PointSet divided = PointSetModifier::divideRegionsAndHolesWithBreaklines(set, tin);
    auto regions = divided.allRegions();
    auto holes = divided.allHoles();
    // The triangulation fills the hole; it must still come back as a hole.
    ASSERT_EQ(regions.size(), 1u);
    ASSERT_EQ(holes.size(), 1u);
    EXPECT_EQ(regions.front()->points().size(), 6u); // four corners, the crossing, closing repeat
    EXPECT_EQ(holes.front()->points().size(), 6u);
    for (auto const& [rings, x, y] : {std::make_tuple(regions, 10.0, 5.0), std::make_tuple(holes, 4.5, 3.0)}) {
        PointPtr crossing = ringPointAt(rings, x, y);
        ASSERT_TRUE(crossing);
        EXPECT_NEAR(crossing->elevation(), plane(x, y), 1e-9);
        EXPECT_TRUE(divided.hasPoint(crossing));
    }
    EXPECT_EQ(divided.allPoints().size(), before + 2);
    for (auto const& p : outer) {
        EXPECT_TRUE(ringPointAt(regions, p->x(), p->y()) == p); // the same shared corners
    }
    // The argument keeps its rings.
    EXPECT_EQ(set.allRegions().front()->points().size(), 5u);
}
