#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "OverlayTestSupport.h"
#include "orlin/core/Edge2D.h"
#include "orlin/core/Edge2DFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRepository.h"
#include "orlin/core/Point2DIRing.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Tin2D.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/OverlayTriangulation.h"
#include "orlin/util/RegionRetriangulation.h"
#include "trianglecui/TriangleProcessError.h"

using namespace tin::core;
using tin::util::OverlayTriangulation;
using tin::util::RegionRetriangulation;
using overlaytest::makeTin;

namespace {

// The region TINs of a re-triangulation with every region wanted.
tin::util::RegionTinMap retriangulatedTins(std::vector<std::shared_ptr<Point2DIRingTree>> const& trees,
                                           Tin2D const& tin2D, tin::util::SplitMap const& splitMap,
                                           Tin const& tin, int low, int high,
                                           Point2DIRepository* repository, Edge2DFactory* factory)
{
    return RegionRetriangulation::tinsOf(RegionRetriangulation::retriangulateTriangles(
        trees, tin2D, splitMap, tin, low, high, repository, factory));
}

// Every case interns its 2-D points and edges in a repository and factory of its own.
class RegionRetriangulationTest : public ::testing::Test {
protected:
    Point2DIRepository repository;
    Edge2DFactory factory{&repository};
};

} // namespace

TEST_F(RegionRetriangulationTest, SeedLiesInsideItsRegionWhenTheInteriorPointFallsOnASide)
{
    // A region pinched into a notch from below, traced with crossing points a rounding error
    // off their lines: GEOS puts its interior point on the side (1.5, 5)-(2, 5). The triangle
    // below that side lies in the notch, outside the region, and must not seed it.
    std::vector<std::pair<double, double>> const outline{
        {0, 0}, {1.5, 0}, {1.5, 0.5}, {1.5000000000000002, 2.8000000000000003}, {1.5, 5}, {2, 5},
        {2.4999999999999996, 5}, {3.3333333333333335, 5}, {3.5, 5.5}, {6.5, 6},
        {6.833333333333333, 5.0000000000000009}, {7, 5}, {7, 4.5}, {8, 1.5}, {7, 2},
        {7, 1.1250000000000002}, {7, 0}, {10, 0}, {10, 1.5}, {10, 10}, {0, 10}, {0, 0}};
    std::vector<std::shared_ptr<Point2DI>> ringPoints;
    for (auto const& p : outline) {
        ringPoints.push_back(repository.add(Point2D(p.first, p.second)));
    }
    repository.add(Point2D(1.75, 6));
    repository.add(Point2D(1.75, 4));
    auto tree = std::make_shared<Point2DIRingTree>(std::make_shared<Point2DIRing>(ringPoints));

    Tin work = makeTin({{1.5, 5, 0}, {2, 5, 0}, {1.75, 6, 0}, {1.75, 4, 0}}, {{0, 1, 2}, {1, 0, 3}});
    std::shared_ptr<Triangle> above, below;
    for (auto const& t : work.allTriangles()) {
        (t->getInteriorPoint().y() > 5 ? above : below) = t;
    }
    auto map = RegionRetriangulation::groupTrianglesByRegion(work, {tree}, &repository, &factory);
    ASSERT_EQ(map.count(tree->ring().get()), 1u);
    auto const& region = map.at(tree->ring().get());
    EXPECT_TRUE(region.containsTriangle(above));
    EXPECT_FALSE(region.containsTriangle(below));
    EXPECT_TRUE(map.at(nullptr).containsTriangle(below));
}

TEST_F(RegionRetriangulationTest, RunThatAddsAVertexFailsInsteadOfSnapping)
{
    // A ring side crossing the TIN's diagonal at a point the overlay never made.
    Tin tin = makeTin({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {{0, 1, 2}, {0, 2, 3}});
    Tin2D tin2D(tin, &repository, &factory);
    int const next = tin2D.setEdgeIds(2);
    auto a = repository.add(Point2D(1, 2)), b = repository.add(Point2D(2, 1)),
         c = repository.add(Point2D(3, 3.5));
    auto tree = std::make_shared<Point2DIRingTree>(std::make_shared<Point2DIRing>(
        std::vector<std::shared_ptr<Point2DI>>{a, b, c, a}));
    EXPECT_THROW(retriangulatedTins({tree}, tin2D, {}, tin, 2, next - 1,
                                                         &repository, &factory),
                 trianglecui::TriangleProcessError);
}

TEST_F(RegionRetriangulationTest, RegionWithHoleStopsAtTheHoleAndHoleTakesItsOwn)
{
    // One TIN over [0, 6]^2 re-triangulated against a square ring and a smaller square inside
    // it: the outer region stops at the inner ring, whose region gets what lies within.
    Tin tin = makeTin({{0, 0, 1}, {6, 0, 2}, {6, 6, 3}, {0, 6, 4}}, {{0, 1, 2}, {0, 2, 3}});
    Tin2D tin2D(tin, &repository, &factory);
    int const next = tin2D.setEdgeIds(2);
    auto ring = [&](double lo, double hi) {
        auto p = repository.add(Point2D(lo, lo)), q = repository.add(Point2D(hi, lo)),
             r = repository.add(Point2D(hi, hi)), s = repository.add(Point2D(lo, hi));
        return std::make_shared<Point2DIRing>(std::vector<std::shared_ptr<Point2DI>>{p, q, r, s, p});
    };
    auto inner = std::make_shared<Point2DIRingTree>(ring(2, 4));
    auto outer = std::make_shared<Point2DIRingTree>(ring(1, 5));
    outer->addChildRing(inner);
    auto map = retriangulatedTins({outer}, tin2D, {}, tin, 2, next - 1,
                                                       &repository, &factory);
    ASSERT_EQ(map.count(outer->ring().get()), 1u);
    ASSERT_EQ(map.count(inner->ring().get()), 1u);
    EXPECT_NEAR(overlaytest::planarArea(map.at(outer->ring().get())), 16.0 - 4.0, 1e-9);
    EXPECT_NEAR(overlaytest::planarArea(map.at(inner->ring().get())), 4.0, 1e-9);
    EXPECT_NEAR(overlaytest::planarArea(map.at(nullptr)), 36.0 - 16.0, 1e-9);
    // Every new vertex lies on the TIN's own surface.
    for (auto const& entry : map) {
        for (auto const& t : entry.second.allTriangles()) {
            for (int i = 0; i < 3; ++i) {
                auto const& p = *t->point(i);
                bool found = false;
                for (auto const& source : tin.findTrianglesIntersectRect(Rect(p.x(), p.y(), p.x(), p.y()))) {
                    double z = 0.0;
                    if (source->interpolateElevation(p, &z, false)) {
                        EXPECT_NEAR(p.elevation(), z, 1e-9);
                        found = true;
                    }
                }
                EXPECT_TRUE(found);
            }
        }
    }
}

TEST_F(RegionRetriangulationTest, CornersThatInternToOnePointDropTheirTriangleOnly)
{
    // Two ring corners 4e-9 apart on one vertical line: distinct in the plane, one point in 3-D
    // (the point factory's tolerance is 1e-8). The sliver between them has two corners on one
    // point and is dropped; every other triangle stays, and nothing else is merged.
    Tin tin = makeTin({{0, 0, 1}, {6, 0, 1.6}, {6, 6, 1.6}, {0, 6, 1}}, {{0, 1, 2}, {0, 2, 3}});
    Tin2D tin2D(tin, &repository, &factory);
    int const next = tin2D.setEdgeIds(2);
    auto p = repository.add(Point2D(1, 1)), q = repository.add(Point2D(5, 1)),
         r = repository.add(Point2D(5, 5)), s = repository.add(Point2D(1, 5)),
         near = repository.add(Point2D(1, 5 - 4e-9));
    auto tree = std::make_shared<Point2DIRingTree>(std::make_shared<Point2DIRing>(
        std::vector<std::shared_ptr<Point2DI>>{p, q, r, s, near, p}));
    auto map = retriangulatedTins({tree}, tin2D, {}, tin, 2, next - 1,
                                                       &repository, &factory);
    ASSERT_EQ(map.count(tree->ring().get()), 1u);
    EXPECT_NEAR(overlaytest::planarArea(map.at(tree->ring().get())), 16.0, 1e-6);
    EXPECT_NEAR(overlaytest::planarArea(map.at(nullptr)), 20.0, 1e-6);
    std::size_t triangles = 0;
    for (auto const& entry : map) {
        for (auto const& t : entry.second.allTriangles()) {
            ++triangles;
            EXPECT_NE(t->point1(), t->point2());
            EXPECT_NE(t->point2(), t->point3());
            EXPECT_NE(t->point1(), t->point3());
            for (int i = 0; i < 3; ++i) {
                EXPECT_NEAR(t->point(i)->elevation(), 1.0 + 0.1 * t->point(i)->x(), 1e-9);
            }
        }
    }
    // Vertices at the TIN's 4 corners and the ring's 4 (the two near ones as one): a
    // triangulation of 8 points with a convex hull of 4 has 2 * 8 - 4 - 2 = 10 triangles;
    // the one sliver more the run made is the one dropped.
    EXPECT_EQ(triangles, 10u);
}

TEST_F(RegionRetriangulationTest, GroupingOfTheRunMatchesGroupingOfAWorkTin)
{
    // The re-triangulation floods its own triangle list; the public grouping floods a TIN of
    // the same triangles through the repository. Both must file every triangle alike.
    // Ring corners on the diagonal or off it entirely: no side crosses a TIN edge.
    Tin tin = makeTin({{0, 0, 1}, {6, 0, 2}, {6, 6, 3}, {0, 6, 4}}, {{0, 1, 2}, {0, 2, 3}});
    Tin2D tin2D(tin, &repository, &factory);
    int const next = tin2D.setEdgeIds(2);
    auto ring = [&](double x0, double y0, double x1, double y1) {
        auto p = repository.add(Point2D(x0, y0)), q = repository.add(Point2D(x1, y0)),
             r = repository.add(Point2D(x1, y1)), s = repository.add(Point2D(x0, y1));
        return std::make_shared<Point2DIRing>(std::vector<std::shared_ptr<Point2DI>>{p, q, r, s, p});
    };
    auto outer = std::make_shared<Point2DIRingTree>(ring(1, 1, 5, 5));
    outer->addChildRing(std::make_shared<Point2DIRingTree>(ring(2, 2, 4, 4)));
    auto island = std::make_shared<Point2DIRingTree>(ring(5.2, 0.5, 5.8, 3.0));
    std::vector<std::shared_ptr<Point2DIRingTree>> const trees{outer, island};
    auto const bulk = retriangulatedTins(trees, tin2D, {}, tin, 2, next - 1,
                                                              &repository, &factory);
    Tin work;
    std::size_t total = 0;
    for (auto const& entry : bulk) {
        for (auto const& t : entry.second.allTriangles()) {
            work.addTriangle(t);
            ++total;
        }
    }
    EXPECT_NEAR(overlaytest::planarArea(work), 36.0, 1e-9);
    auto const plain = RegionRetriangulation::groupTrianglesByRegion(work, trees, &repository, &factory);
    ASSERT_EQ(plain.size(), bulk.size());
    EXPECT_EQ(bulk.size(), 4u);  // outer, hole, island and the rest
    for (auto const& entry : bulk) {
        ASSERT_EQ(plain.count(entry.first), 1u);
        auto const& other = plain.at(entry.first);
        EXPECT_EQ(other.allTriangles().size(), entry.second.allTriangles().size());
        for (auto const& t : entry.second.allTriangles()) {
            EXPECT_TRUE(other.containsTriangle(t));
        }
    }
    // The grouping takes the claimed triangles out of the work TIN.
    EXPECT_EQ(work.allTriangles().size(), bulk.at(nullptr).allTriangles().size());
    EXPECT_GT(total, work.allTriangles().size());
}

TEST(OverlayTriangulationTest, PlaneElevationHoldsJustOutsideTheTriangle)
{
    Tin tin = makeTin({{0, 0, 0}, {1, 0, 10}, {0, 1, 20}}, {{0, 1, 2}});
    auto const& t = **tin.allTriangles().begin();
    Point2D const outside(0.5 + 1e-6, 0.5 + 1e-6);
    double z = 0.0;
    ASSERT_FALSE(t.interpolateElevation(outside, &z, true));
    EXPECT_NEAR(OverlayTriangulation::planeElevation(t, outside), 15.0 + 3e-5, 1e-9);
    EXPECT_DOUBLE_EQ(OverlayTriangulation::planeElevation(t, Point2D(0.25, 0.25)), 7.5);
}

TEST_F(RegionRetriangulationTest, TriangleOfNoAreaIsFlippedWithItsNeighbour)
{
    // c lies a rounding error above the side a-b, as a crossing point does where a crossing
    // line runs straight through a thin strip; q is the corner across a-b. The pair becomes
    // a-q-c and q-b-c, of the same total area; a triangle elsewhere keeps its corners, and a
    // sliver on the outline (no neighbour across its longest side) stays.
    std::vector<std::shared_ptr<Point2DI>> const corners = {
        repository.add(Point2D(0, 0)),     repository.add(Point2D(2, 0)),  repository.add(Point2D(1, 1e-13)),
        repository.add(Point2D(1, -1)),    repository.add(Point2D(3, -1)), repository.add(Point2D(10, 0)),
        repository.add(Point2D(12, 0)),    repository.add(Point2D(11, 1e-13))};
    std::vector<std::array<std::uint32_t, 3>> triangles = {{0, 1, 2}, {1, 0, 3}, {3, 4, 1}, {5, 6, 7}};
    auto area = [&](std::array<std::uint32_t, 3> const& t) {
        auto const& a = *corners[t[0]];
        auto const& b = *corners[t[1]];
        auto const& c = *corners[t[2]];
        return ((b.x() - a.x()) * (c.y() - a.y()) - (c.x() - a.x()) * (b.y() - a.y())) / 2.0;
    };
    double before = 0.0;
    for (auto const& t : triangles) {
        before += area(t);
    }
    RegionRetriangulation::flipSlivers(&triangles, corners);
    EXPECT_EQ(triangles[0], (std::array<std::uint32_t, 3>{0, 3, 2}));
    EXPECT_EQ(triangles[1], (std::array<std::uint32_t, 3>{3, 1, 2}));
    EXPECT_EQ(triangles[2], (std::array<std::uint32_t, 3>{3, 4, 1}));
    EXPECT_EQ(triangles[3], (std::array<std::uint32_t, 3>{5, 6, 7}));
    double after = 0.0;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_GT(area(triangles[i]), 0.1);
        after += area(triangles[i]);
    }
    EXPECT_NEAR(after + area(triangles[3]), before, 1e-12);
}
