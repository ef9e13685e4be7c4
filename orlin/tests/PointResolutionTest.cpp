#include "orlin/core/Point2D.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/util/AssertError.h"
#include "orlin/util/PointResolution.h"

#include "TinTestSupport.h"

#include <triangle/triangleio.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace tin::core;
using namespace tin::util;
using namespace tintest;

namespace {

std::string messageOf(std::function<void()> const& f)
{
    try {
        f();
    } catch (AssertError const& e) {
        return e.what();
    }
    return "no AssertError";
}

// A hand-made result record over caller-owned arrays (no triangulation run).
struct FakeRecord {
    std::vector<double> points;
    std::vector<int> edges;
    std::vector<int> markers;
    triangleio_t record;

    FakeRecord(std::vector<double> p, std::vector<int> e, std::vector<int> m)
        : points(std::move(p)), edges(std::move(e)), markers(std::move(m))
    {
        std::memset(&record, 0, sizeof record);
        record.pointlist = points.data();
        record.numberofpoints = static_cast<int>(points.size() / 2);
        record.edgelist = edges.data();
        record.edgemarkerlist = markers.data();
        record.numberofedges = static_cast<int>(markers.size());
    }
};

double slope(double x, double y) { return x + 10.0 * y; }

} // namespace

TEST(PointResolution, GetPointAtFindsExactPositionsOnly)
{
    PositionPointMap table;
    auto p = pt(1.5, 2.0, 3.0);
    table[Point2D(1.5, 2.0)] = p;
    EXPECT_EQ(getPointAt(Point2D(1.5, 2.0), table), p);
    EXPECT_EQ(messageOf([&] { getPointAt(Point2D(1.5, 2.0 + 1e-12), table); }),
              "Point not found in getPointAt at (1.5, 2)");
}

TEST(PointResolution, GetOrCreatePointPrefersTheTinPointOnTheHintSide)
{
    auto left = pt(1, 0, 0.0), right = pt(1, 0, 5.0);
    Tin tin;
    tin.addTriangle(pt(0, 0, 0.0), left, pt(0, 2, 0.0));
    tin.addTriangle(right, pt(2, 0, 5.0), pt(2, 2, 5.0));

    EXPECT_EQ(getOrCreatePoint(Point2D(1, 0), tin, Point2D(0.8, 0.1)), left);
    EXPECT_EQ(getOrCreatePoint(Point2D(1, 0), tin, Point2D(1.2, 0.1)), right);

    auto made = getOrCreatePoint(Point2D(0.5, 0.5), tin, Point2D(0.5, 0.5));
    EXPECT_EQ(made->x(), 0.5);
    EXPECT_EQ(made->elevation(), 0.0);
    EXPECT_EQ(messageOf([&] { getOrCreatePoint(Point2D(100, 100.25), tin, Point2D(100, 100)); }),
              "Interpolation failed in getOrCreatePoint() at (100, 100.25)");
}

TEST(PointResolution, GetOrCreatePointsGivesOneCandidatePerDistinctElevation)
{
    // Two triangles meeting along x = 1 without sharing vertices: a step of 5 there.
    Tin step;
    step.addTriangle(pt(0, 0, 0.0), pt(1, 0, 0.0), pt(1, 2, 0.0));
    step.addTriangle(pt(1, 0, 5.0), pt(2, 0, 5.0), pt(1, 2, 5.0));
    auto candidates = getOrCreatePoints(Point2D(1, 1), step);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_NE(candidates[0].point->elevation(), candidates[1].point->elevation());
    for (auto const& c : candidates) {
        EXPECT_EQ(c.triangles.size(), 1u);
    }

    Tin smooth = tinOf(gridTriangles(2, 2, [](int, int) { return false; }, slope));
    auto one = getOrCreatePoints(Point2D(0.5, 0.5), smooth);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_NEAR(one[0].point->elevation(), slope(0.5, 0.5), 1e-12);

    auto atVertex = getOrCreatePoints(Point2D(1, 1), smooth);
    ASSERT_EQ(atVertex.size(), 1u);
    EXPECT_EQ(atVertex[0].triangles.size(), 6u);

    EXPECT_EQ(messageOf([&] { getOrCreatePoints(Point2D(-3, 7.5), smooth); }),
              "Interpolation failed in getOrCreatePoints while trying (-3, 7.5)");
}

TEST(PointResolution, MarkedRingWithASplitSegmentGainsTheNewPoint)
{
    std::vector<PointPtr> nodes;
    Tin tin = tinOf(gridTriangles(2, 2, [](int, int) { return false; }, slope, &nodes));
    // The set holds the four corners of the 2 x 2 square; the output split the bottom
    // side at (1, 0), a position the set lacks but the TIN has a vertex at.
    PointSet set;
    auto a = nodes[0], b = nodes[2], c = nodes[8], d = nodes[6];
    for (auto const& p : {a, b, c, d}) {
        set.addPoint(p);
    }
    FakeRecord out({0, 0, 2, 0, 2, 2, 0, 2, 1, 0, 0.5, 0.5},
                   {0, 4, 4, 1, 1, 2, 2, 3, 3, 0, 0, 2, 4, 5},
                   {7, 7, 7, 7, 7, 0, 3});
    auto rings = ringsFromMarkedEdges(out.record, set, tin, 7);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0]->segmentCount(), 5);
    EXPECT_TRUE(rings[0]->contains(nodes[1].get())); // the TIN's own vertex at (1, 0)
    for (auto const& p : {a, b, c, d}) {
        EXPECT_TRUE(rings[0]->contains(p.get()));
    }
    // The set itself is left unchanged.
    EXPECT_FALSE(set.hasPoint(nodes[1]));
}

TEST(PointResolution, MarkedEdgeInsideATriangleGetsAnInterpolatedPoint)
{
    Tin tin = tinOf(gridTriangles(2, 2, [](int, int) { return false; }, slope));
    PointSet set;
    auto a = set.addPoint(Point(0.25, 0.25, slope(0.25, 0.25)));
    FakeRecord out({0.25, 0.25, 0.75, 0.25, 0.5, 0.6}, {0, 1, 1, 2, 2, 0}, {1, 1, 1});
    auto rings = ringsFromMarkedEdges(out.record, set, tin, 1);
    ASSERT_EQ(rings.size(), 1u);
    for (auto const& p : rings[0]->points()) {
        EXPECT_NEAR(p->elevation(), slope(p->x(), p->y()), 1e-9);
    }
    EXPECT_TRUE(rings[0]->contains(a.get()));
}

TEST(PointResolution, OpenChainOfMarkedEdgesThrows)
{
    Tin tin = tinOf(gridTriangles(2, 2, [](int, int) { return false; }, slope));
    PointSet set;
    FakeRecord out({0, 0, 1, 0, 1, 1}, {0, 1, 1, 2}, {4, 4});
    EXPECT_THROW(ringsFromMarkedEdges(out.record, set, tin, 4), AssertError);
}
