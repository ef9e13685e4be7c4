#include "MeshTestSupport.h"

#include "trianglecui/TriangleProcess.h"

#include <gtest/gtest.h>

#include <cmath>

using trianglecui::TriangleProcessError;
using namespace wendletest;

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double CLAMPED_ANGLE = 33.8;

double minimumAngleDegrees(Mesh const& m, int t)
{
    double smallest = 180.0;
    for (int k = 0; k < 3; ++k) {
        int a = m.triangles[3 * t + k];
        int b = m.triangles[3 * t + (k + 1) % 3];
        int c = m.triangles[3 * t + (k + 2) % 3];
        double ux = m.x(b) - m.x(a), uy = m.y(b) - m.y(a);
        double vx = m.x(c) - m.x(a), vy = m.y(c) - m.y(a);
        double angle = std::atan2(std::abs(ux * vy - uy * vx), ux * vx + uy * vy) * 180.0 / PI;
        smallest = std::min(smallest, angle);
    }
    return smallest;
}

struct Graph
{
    std::vector<double> points;
    std::vector<int> segments;
    std::vector<int> markers;
};

// Every output vertex past the input ones is new; none may lie on a segment, and every input
// vertex must come back unchanged in input order (all of them are used here).
void expectAreaRefined(Graph const& g, Mesh const& m, double bound, double area)
{
    expectWellFormed(m, true);
    int const inputCount = static_cast<int>(g.points.size() / 2);
    ASSERT_GT(m.pointCount(), inputCount);
    for (std::size_t i = 0; i < g.points.size(); ++i)
        ASSERT_EQ(m.points[i], g.points[i]);
    for (int t = 0; t < m.triangleCount(); ++t)
        EXPECT_LE(signedArea(m, m.triangles[3 * t], m.triangles[3 * t + 1], m.triangles[3 * t + 2]),
                  bound * (1 + 1e-12));
    EXPECT_NEAR(totalArea(m), area, area * 1e-12);
    auto const edges = triangleEdges(m);
    auto const markerOf = markerByEdge(m);
    for (std::size_t s = 0; s < g.segments.size() / 2; ++s) {
        int a = g.segments[2 * s];
        int b = g.segments[2 * s + 1];
        std::vector<int> chain = verticesOnSegment(m, g.points[2 * a], g.points[2 * a + 1],
                                                   g.points[2 * b], g.points[2 * b + 1]);
        for (std::size_t i = 0; i < chain.size(); ++i) {
            EXPECT_LT(chain[i], inputCount) << "a new vertex lies on segment " << s;
            if (i + 1 < chain.size()) {
                ASSERT_TRUE(edges.count(key(chain[i], chain[i + 1])));
                EXPECT_EQ(markerOf.at(key(chain[i], chain[i + 1])), g.markers[s]);
            }
        }
    }
    EXPECT_EQ(m.pointCount() - m.edgeCount() + m.triangleCount(), 1);
}

} // namespace

TEST(TriangleProcessAreaRefinement, CellsClosedBySegmentsMeetTheBoundWithoutSplittingSegments)
{
    // A 40 x 30 rectangle cut in two cells by a segment, each side marked as refinement does.
    Graph g;
    g.points = {0, 0, 40, 0, 40, 10, 40, 30, 0, 30, 0, 10, 13, 21, 27, 4};
    g.segments = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 0, 5, 2};
    g.markers = {2, 3, 4, 5, 6, 7, 8};
    Mesh m = triangulate("epjzQYa10", g.points, g.segments, g.markers);
    expectAreaRefined(g, m, 10.0, 1200.0);
}

TEST(TriangleProcessAreaRefinement, LongThinStripNeedsCentroidsAndStillEnds)
{
    // Circumcentres of the triangles beside the long sides fall outside the strip, so the mesher
    // alone leaves them oversized.
    Graph g;
    g.points = {0, 0, 200, 0, 200, 1.5, 0, 1.5};
    g.segments = {0, 1, 1, 2, 2, 3, 3, 0};
    g.markers = {11, 12, 13, 14};
    Mesh m = triangulate("epjzQYa10", g.points, g.segments, g.markers);
    expectAreaRefined(g, m, 10.0, 300.0);
}

TEST(TriangleProcessAreaRefinement, OneSmallTriangleStaysAsItIs)
{
    Mesh m = triangulate("epjzQYa10", {0, 0, 4, 0, 0, 4}, {0, 1, 1, 2, 2, 0}, {2, 3, 4});
    ASSERT_EQ(m.triangleCount(), 1);
    EXPECT_EQ(m.pointCount(), 3);
}

TEST(TriangleProcessQualityRefinement, SquareWithRandomPointsMeetsTheClampedAngle)
{
    std::vector<double> points = {0, 0, 100, 0, 100, 100, 0, 100};
    std::vector<double> inner = randomPoints(200, 100.0, 17);
    points.insert(points.end(), inner.begin(), inner.end());
    std::vector<int> segments = {0, 1, 1, 2, 2, 3, 3, 0};
    Mesh m = triangulate("pjzQq40", points, segments);
    expectWellFormed(m, false);
    ASSERT_GE(m.pointCount(), 204);
    for (std::size_t i = 0; i < points.size(); ++i)
        ASSERT_EQ(m.points[i], points[i]);
    EXPECT_NEAR(totalArea(m), 10000.0, 1e-6);
    double worst = 180.0;
    for (int t = 0; t < m.triangleCount(); ++t)
        worst = std::min(worst, minimumAngleDegrees(m, t));
    EXPECT_GE(worst, CLAMPED_ANGLE - 1e-6);
}

TEST(TriangleProcessQualityRefinement, FiveDegreeInputAngleEnds)
{
    // Two segments leave the apex (10, 50) five degrees apart; no mesh can have only large
    // angles at the apex, so the refinement has to stop there or give up within its budget.
    double const spread = 80.0 * std::tan(5.0 * PI / 180.0);
    std::vector<double> points = {0, 0, 100, 0, 100, 100, 0, 100, 10, 50, 90, 50, 90, 50 + spread};
    std::vector<int> segments = {0, 1, 1, 2, 2, 3, 3, 0, 4, 5, 4, 6};
    Mesh m;
    try {
        m = triangulate("pjzQq40", points, segments);
    } catch (TriangleProcessError const& error) {
        EXPECT_NE(std::string(error.what()).find("did not finish"), std::string::npos);
        return;
    }
    expectWellFormed(m, false);
    EXPECT_NEAR(totalArea(m), 10000.0, 1e-6);
    // Away from the corner: a tenth of the sides' length.
    int checked = 0;
    for (int t = 0; t < m.triangleCount(); ++t) {
        double nearest = 1e300;
        for (int k = 0; k < 3; ++k) {
            int v = m.triangles[3 * t + k];
            nearest = std::min(nearest, std::hypot(m.x(v) - 10.0, m.y(v) - 50.0));
        }
        if (nearest > 8.0) {
            ++checked;
            EXPECT_GE(minimumAngleDegrees(m, t), CLAMPED_ANGLE - 1e-6);
        }
    }
    EXPECT_GT(checked, m.triangleCount() / 2);
}
