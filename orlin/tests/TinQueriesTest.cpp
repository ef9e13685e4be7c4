#include "orlin/core/Edge.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/core/Tin.h"

#include "TinTestSupport.h"

#include <geos/geom/MultiPolygon.h>
#include <geos/geom/Polygon.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace tin::core;
using namespace tintest;

namespace {

double plane(double x, double y) { return 2.0 * x + 3.0 * y + 10.0; }

bool sameTriangles(std::vector<std::shared_ptr<Triangle>> a, std::vector<std::shared_ptr<Triangle>> b)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

} // namespace

TEST(TinQueries, InterpolationAtTheToleranceBorders)
{
    Tin tin;
    auto a = pt(0, 0, 0.0), b = pt(1, 0, 10.0), c = pt(0, 1, 20.0);
    tin.addTriangle(a, b, c);

    double z = -1.0;
    ASSERT_TRUE(tin.interpolatedElevation(Point2D(1, 0), &z));
    EXPECT_EQ(z, 10.0);
    ASSERT_TRUE(tin.interpolatedElevation(Point2D(0.25, 0.25), &z));
    EXPECT_DOUBLE_EQ(z, 7.5);
    // Just beyond the sloping side by rounding only: still the triangle's.
    ASSERT_TRUE(tin.interpolatedElevation(Point2D(0.5 + 5e-10, 0.5 + 5e-10), &z));
    EXPECT_NEAR(z, 15.0, 1e-6);
    // Clearly beyond it (inside the box): not found, output untouched.
    z = -1.0;
    EXPECT_FALSE(tin.interpolatedElevation(Point2D(0.5 + 1e-6, 0.5 + 1e-6), &z));
    EXPECT_FALSE(tin.interpolatedElevation(Point2D(5, 5), &z));
    EXPECT_EQ(z, -1.0);

    Point moving(0.25, 0.25, 99.0, 42);
    ASSERT_TRUE(tin.interpolateElevation(&moving));
    EXPECT_DOUBLE_EQ(moving.elevation(), 7.5);
    EXPECT_EQ(moving.id(), 42);
    Point outside(3, 3, 99.0);
    EXPECT_FALSE(tin.interpolateElevation(&outside));
    EXPECT_EQ(outside.elevation(), 99.0);

    Tin empty;
    EXPECT_FALSE(empty.interpolatedElevation(Point2D(0, 0), &z));
    EXPECT_EQ(empty.findPointAtWithHint(Point2D(0, 0), Point2D(0, 0)), nullptr);
}

TEST(TinQueries, SharedEdgeGivesOneElevationWhicheverTriangleIsFirst)
{
    for (unsigned seed : {0u, 5u, 77u}) {
        Tin tin = tinOf(gridTriangles(3, 3, [](int, int) { return false; }, plane), seed);
        double z = 0.0;
        ASSERT_TRUE(tin.interpolatedElevation(Point2D(1.5, 1.5), &z));
        EXPECT_NEAR(z, plane(1.5, 1.5), 1e-12);
        ASSERT_TRUE(tin.interpolatedElevation(Point2D(1.0, 1.7), &z));
        EXPECT_NEAR(z, plane(1.0, 1.7), 1e-12);
    }
}

TEST(TinQueries, FindPointAtWithHintPicksTheSideOfAVerticalStep)
{
    // A wall along x = 1: low vertices on the left fan, high ones on the right fan,
    // two point objects at each wall position.
    auto lowBottom = pt(1, 0, 0.0), lowTop = pt(1, 2, 0.0);
    auto highBottom = pt(1, 0, 5.0), highTop = pt(1, 2, 5.0);
    Tin tin;
    tin.addTriangle(pt(0, 0, 0.0), lowBottom, lowTop);
    tin.addTriangle(pt(0, 0, 0.0), lowTop, pt(0, 2, 0.0));
    tin.addTriangle(highBottom, pt(2, 0, 5.0), pt(2, 2, 5.0));
    tin.addTriangle(highBottom, pt(2, 2, 5.0), highTop);

    EXPECT_EQ(tin.findPointsAt(Point2D(1, 0)).size(), 2u);
    EXPECT_EQ(tin.findPointAtWithHint(Point2D(1, 0), Point2D(0.9, 0.1)), lowBottom);
    EXPECT_EQ(tin.findPointAtWithHint(Point2D(1, 0), Point2D(1.1, 0.05)), highBottom);
    EXPECT_EQ(tin.findPointAtWithHint(Point2D(1, 0), Point2D(5, 5)), nullptr);
    EXPECT_EQ(tin.findPointAtWithHint(Point2D(1, 1), Point2D(0.9, 1)), nullptr);
}

TEST(TinQueries, PolygonAndPolylineQueriesIncludeWhatTouches)
{
    Tin tin = tinOf(gridTriangles(4, 4, [](int, int) { return false; }, plane));
    Polygon square({Point2D(1, 1), Point2D(2, 1), Point2D(2, 2), Point2D(1, 2)});
    auto inside = tin.findTrianglesInsidePolygon(square);
    auto meeting = tin.findTrianglesIntersectPolygon(square);
    EXPECT_TRUE(sameTriangles(inside, meeting));
    // Both triangles of the cell, both of each side neighbour, and the six triangles of
    // the corner cells that have a square corner as vertex.
    EXPECT_EQ(meeting.size(), 16u);
    EXPECT_TRUE(tin.findTrianglesIntersectPolygon(Polygon()).empty());

    auto points = tin.findPointsInPolygon(square);
    EXPECT_EQ(points.size(), 4u); // the four corners, on the boundary

    Polyline diagonal({Point2D(0.5, 0.5), Point2D(0.5, 3.5)});
    auto crossed = tin.findEdgesIntersectPolyline(diagonal);
    for (auto const& e : crossed) {
        EXPECT_TRUE(e->boundingRect().xMin() <= 0.5 && e->boundingRect().xMax() >= 0.5);
    }
    // Three horizontal edges at y = 1, 2, 3 and the four cell diagonals (the two end
    // points lie on diagonals).
    EXPECT_EQ(crossed.size(), 7u);
    EXPECT_EQ(tin.findTrianglesIntersectPolyline(diagonal).size(), 8u);
}

TEST(TinQueries, GeosPolygonsMergeTrianglesSharingAnEdge)
{
    Tin apart;
    apart.addTriangle(pt(0, 0), pt(1, 0), pt(0, 1));
    apart.addTriangle(pt(5, 5), pt(6, 5), pt(5, 6));
    EXPECT_EQ(apart.geosPolygons().size(), 2u);

    Tin joined = tinOf(gridTriangles(1, 1, [](int, int) { return false; }, plane));
    auto polygons = joined.geosPolygons();
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_DOUBLE_EQ(polygons[0]->getArea(), 1.0);

    EXPECT_TRUE(Tin().geosPolygons().empty());
}

TEST(TinQueries, CoveragePredicatesBetweenTins)
{
    Tin big = tinOf(gridTriangles(4, 4, [](int, int) { return false; }, plane));
    Tin small;
    small.addTriangle(pt(1, 1), pt(2, 1), pt(1, 2));
    Tin touching;
    touching.addTriangle(pt(0, 0), pt(1, 0), pt(0, 1));
    Tin stickingOut;
    stickingOut.addTriangle(pt(3, 3), pt(5, 3), pt(3, 5));
    Tin far;
    far.addTriangle(pt(10, 10), pt(11, 10), pt(10, 11));

    EXPECT_TRUE(isWithinGeometry(small, big));
    EXPECT_FALSE(isWithinGeometry(stickingOut, big));
    EXPECT_FALSE(isWithinGeometry(big, small));

    EXPECT_TRUE(big.isInsideTin(small));
    EXPECT_TRUE(big.isInsideTin(touching));
    EXPECT_TRUE(big.isCoveredByTin(touching));
    EXPECT_FALSE(big.isCoveredByTin(stickingOut));
    EXPECT_TRUE(big.isIntersectedByTin(stickingOut));
    EXPECT_TRUE(big.isOverlappedByTin(stickingOut));
    EXPECT_FALSE(big.isOverlappedByTin(small));
    EXPECT_FALSE(big.isIntersectedByTin(far));
    EXPECT_TRUE(small.isCoversTin(small));
    EXPECT_FALSE(big.isCoversTin(small));

    // The outline's own boundary line: covered, but not inside.
    Polyline border({Point2D(0, 0), Point2D(4, 0)});
    EXPECT_TRUE(big.isCoveredByTin(border));
    EXPECT_FALSE(big.isInsideTin(border));
}

TEST(TinQueries, OutlineFollowsTheTinAfterAChange)
{
    Tin tin;
    tin.addTriangle(pt(0, 0), pt(1, 0), pt(0, 1));
    EXPECT_DOUBLE_EQ(tin.geosGeometry()->getArea(), 0.5);
    tin.addTriangle(pt(5, 5), pt(6, 5), pt(5, 6));
    EXPECT_DOUBLE_EQ(tin.geosGeometry()->getArea(), 1.0);
    EXPECT_EQ(tin.geosMultiPolygon()->getNumGeometries(), 2u);
}

TEST(TinQueries, ForEachPointVisitsEveryVertexObjectOnceAfterRemovals)
{
    // A grid with a hole, shuffled, then thinned: the walk must follow the vertex table as
    // removals leave it, and two objects at one position are two vertices.
    std::vector<Corners> corners = gridTriangles(
        9, 7, [](int i, int j) { return i == 4 && j == 3; }, [](double x, double y) { return x - y; });
    corners.push_back({pt(20, 0), pt(21, 0), pt(20, 1)});
    corners.push_back({pt(20, 0), pt(21, 0), pt(21, 1)});
    tin::core::Tin tin = tinOf(corners, 5);
    std::vector<std::shared_ptr<tin::core::Triangle>> all(tin.allTriangles().begin(),
                                                          tin.allTriangles().end());
    for (std::size_t k = 0; k < all.size(); k += 3) {
        tin.removeTriangle(all[k]);
    }

    std::multiset<tin::core::Point const*> visited;
    tin.forEachPoint([&](tin::core::Point& p) { visited.insert(&p); });
    const auto expected = vertices(tin);
    EXPECT_EQ(visited.size(), expected.size());
    EXPECT_EQ(static_cast<int>(visited.size()), tin.pointCount());
    for (tin::core::Point const* p : expected) {
        EXPECT_EQ(visited.count(p), 1u);
    }

    tin::core::Tin empty;
    int calls = 0;
    empty.forEachPoint([&](tin::core::Point&) { ++calls; });
    EXPECT_EQ(calls, 0);
}
