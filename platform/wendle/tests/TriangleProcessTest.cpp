#include "MeshTestSupport.h"

#include "trianglecui/TriangleProcess.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using trianglecui::TriangleProcess;
using trianglecui::TriangleProcessError;
using namespace wendletest;

namespace {

// A square of side `size` at the origin: corners 0..3 counter-clockwise, sides as segments.
std::vector<double> squareCorners(double size)
{
    return {0.0, 0.0, size, 0.0, size, size, 0.0, size};
}

std::vector<int> ring(int first, int count)
{
    std::vector<int> segments;
    for (int i = 0; i < count; ++i) {
        segments.push_back(first + i);
        segments.push_back(first + (i + 1) % count);
    }
    return segments;
}

void expectChain(Mesh const& m, std::set<std::pair<int, int>> const& edges, double ax, double ay,
                 double bx, double by)
{
    std::vector<int> chain = verticesOnSegment(m, ax, ay, bx, by);
    ASSERT_GE(chain.size(), 2u) << "segment ends missing";
    for (std::size_t i = 0; i + 1 < chain.size(); ++i)
        EXPECT_TRUE(edges.count(key(chain[i], chain[i + 1])))
            << "segment (" << ax << ", " << ay << ")-(" << bx << ", " << by
            << ") is not a chain of mesh edges";
}

} // namespace

TEST(TriangleProcessSegments, EverySegmentIsAChainOfMeshEdges)
{
    std::vector<double> points = squareCorners(100.0);
    std::vector<int> segments = ring(0, 4);
    std::vector<double> inner = randomPoints(400, 100.0, 7);
    points.insert(points.end(), inner.begin(), inner.end());
    // Breaklines between random interior points; several of them cross each other.
    for (int s = 0; s < 12; ++s) {
        segments.push_back(4 + 2 * s);
        segments.push_back(4 + 2 * s + 1);
    }
    Mesh m = triangulate("epjzQ", points, segments);
    expectWellFormed(m, true);
    EXPECT_NEAR(totalArea(m), 100.0 * 100.0, 1e-6);
    auto const edges = triangleEdges(m);
    for (std::size_t s = 0; s < segments.size() / 2; ++s) {
        int a = segments[2 * s];
        int b = segments[2 * s + 1];
        expectChain(m, edges, points[2 * a], points[2 * a + 1], points[2 * b], points[2 * b + 1]);
    }
    // A disc: V - E + F = 1.
    EXPECT_EQ(m.pointCount() - m.edgeCount() + m.triangleCount(), 1);
}

TEST(TriangleProcessSegments, CrossingGetsOneVertexOnBothChains)
{
    std::vector<double> points = squareCorners(2.0);
    std::vector<int> segments = ring(0, 4);
    segments.insert(segments.end(), {0, 2, 1, 3});
    std::vector<int> markers = {1, 1, 1, 1, 5, 7};
    Mesh m = triangulate("epjzQ", points, segments, markers);
    expectWellFormed(m, true);
    ASSERT_EQ(m.pointCount(), 5);
    EXPECT_NEAR(m.x(4), 1.0, 1e-12);
    EXPECT_NEAR(m.y(4), 1.0, 1e-12);
    auto markerOf = markerByEdge(m);
    EXPECT_EQ(markerOf.at(key(0, 4)), 5);
    EXPECT_EQ(markerOf.at(key(4, 2)), 5);
    EXPECT_EQ(markerOf.at(key(1, 4)), 7);
    EXPECT_EQ(markerOf.at(key(4, 3)), 7);
    EXPECT_EQ(m.triangleCount(), 4);
}

TEST(TriangleProcessSegments, SelfCrossingRingFarFromTheOriginGetsItsCrossing)
{
    // A bow tie in easting/northing-sized coordinates: two triangles meeting at the crossing.
    double const east = 612345.0, north = 5234567.0;
    std::vector<double> points = {east, north, east + 2, north + 2, east + 2, north, east, north + 2};
    Mesh m = triangulate("epjzQ", points, ring(0, 4));
    expectWellFormed(m, true);
    ASSERT_EQ(m.pointCount(), 5);
    EXPECT_NEAR(m.x(4), east + 1, 1e-9);
    EXPECT_NEAR(m.y(4), north + 1, 1e-9);
    EXPECT_EQ(m.triangleCount(), 2);
    EXPECT_NEAR(totalArea(m), 2.0, 1e-6);
}

TEST(TriangleProcessSegments, VertexOnSegmentSplitsIt)
{
    // Vertex 4 lies exactly on the side 0-1.
    std::vector<double> points = squareCorners(4.0);
    points.insert(points.end(), {1.0, 0.0, 2.0, 2.0});
    std::vector<int> segments = ring(0, 4);
    Mesh m = triangulate("epjzQ", points, segments, {3, 3, 3, 3});
    expectWellFormed(m, true);
    auto markerOf = markerByEdge(m);
    EXPECT_EQ(markerOf.at(key(0, 4)), 3);
    EXPECT_EQ(markerOf.at(key(4, 1)), 3);
    EXPECT_EQ(markerOf.count(key(0, 1)), 0u);
}

TEST(TriangleProcessMarkers, FirstNonZeroMarkerInSegmentOrderWins)
{
    // 0 (0,0), 1 (1,0), 2 (2,0), 3 (2,2), 4 (0,2); the bottom side is covered three times.
    std::vector<double> points = {0, 0, 1, 0, 2, 0, 2, 2, 0, 2};
    std::vector<int> segments = {0, 2, 2, 3, 3, 4, 4, 0, 1, 2, 0, 2, 0, 2};
    std::vector<int> markers = {0, 2, 2, 2, 9, 8, 6};
    Mesh m = triangulate("epjzQ", points, segments, markers);
    expectWellFormed(m, true);
    auto markerOf = markerByEdge(m);
    EXPECT_EQ(markerOf.at(key(0, 1)), 8); // the marker 0 of the first segment does not count
    EXPECT_EQ(markerOf.at(key(1, 2)), 9); // segment 4 comes before segment 5
    EXPECT_EQ(markerOf.at(key(2, 3)), 2);
}

TEST(TriangleProcessMarkers, UnmarkedEdgesAreOneOnTheBoundaryAndZeroInside)
{
    std::vector<double> points = squareCorners(10.0);
    std::vector<double> inner = randomPoints(50, 10.0, 3);
    points.insert(points.end(), inner.begin(), inner.end());
    for (std::vector<int> const& markers : {std::vector<int>{}, std::vector<int>{0, 0, 0, 0}}) {
        Mesh m = triangulate("epjzQ", points, ring(0, 4), markers);
        expectWellFormed(m, true);
        std::map<std::pair<int, int>, int> sides;
        for (int t = 0; t < m.triangleCount(); ++t) {
            for (int k = 0; k < 3; ++k)
                ++sides[key(m.triangles[3 * t + k], m.triangles[3 * t + (k + 1) % 3])];
        }
        for (int e = 0; e < m.edgeCount(); ++e) {
            int const boundary = sides.at(key(m.edges[2 * e], m.edges[2 * e + 1])) == 1 ? 1 : 0;
            EXPECT_EQ(m.markers[static_cast<std::size_t>(e)], boundary);
        }
    }
}

TEST(TriangleProcessRegions, ConcavityIsEatenAndEnclosedGapStays)
{
    // L-shaped outer ring (area 300) with points in its concavity, and an inner square ring
    // (3 x 3) with nothing inside: the concavity goes, the enclosed square stays triangulated.
    std::vector<double> points = {0, 0, 20, 0, 20, 10, 10, 10, 10, 20, 0, 20};
    std::vector<int> segments = ring(0, 6);
    points.insert(points.end(), {2, 2, 5, 2, 5, 5, 2, 5});
    std::vector<int> inner = ring(6, 4);
    segments.insert(segments.end(), inner.begin(), inner.end());
    points.insert(points.end(), {15, 15, 18, 12, 12, 18}); // in the concavity
    points.insert(points.end(), {15, 5, 5, 15});          // inside the L
    Mesh m = triangulate("epjzQ", points, segments);
    expectWellFormed(m, true);
    EXPECT_NEAR(totalArea(m), 300.0, 1e-9);
    EXPECT_EQ(m.pointCount(), 12); // the three concavity points are dropped
    // The inner square is covered by triangles.
    double inside = 0.0;
    for (int t = 0; t < m.triangleCount(); ++t) {
        double cx = (m.x(m.triangles[3 * t]) + m.x(m.triangles[3 * t + 1]) + m.x(m.triangles[3 * t + 2])) / 3;
        double cy = (m.y(m.triangles[3 * t]) + m.y(m.triangles[3 * t + 1]) + m.y(m.triangles[3 * t + 2])) / 3;
        if (cx > 2 && cx < 5 && cy > 2 && cy < 5)
            inside += signedArea(m, m.triangles[3 * t], m.triangles[3 * t + 1], m.triangles[3 * t + 2]);
    }
    EXPECT_NEAR(inside, 9.0, 1e-9);
}

TEST(TriangleProcessRegions, WithoutSegmentsEverythingIsEatenButWithoutPTheHullStays)
{
    std::vector<double> points = randomPoints(30, 10.0, 11);
    EXPECT_EQ(triangulate("pjzQ", points).triangleCount(), 0);
    Mesh hull = triangulate("jzQ", points, {0, 1}); // segments are ignored without p
    expectWellFormed(hull, false);
    EXPECT_EQ(hull.pointCount(), 30);
    EXPECT_GT(hull.triangleCount(), 0);
}

TEST(TriangleProcessNumbering, InputOrderCoordinatesAndDuplicates)
{
    // Vertex 2 lies outside the ring and is dropped; vertex 5 repeats vertex 1's position.
    std::vector<double> points = {0.1, 0.1, 10.3, 0.7, 50.0, 50.0, 10.0, 10.0, 0.0, 9.9, 10.3, 0.7,
                                  4.0, 5.0};
    std::vector<int> segments = {0, 1, 1, 3, 3, 4, 4, 0};
    Mesh m = triangulate("epjzQ", points, segments);
    expectWellFormed(m, true);
    ASSERT_EQ(m.pointCount(), 5);
    int const expectedInput[] = {0, 1, 3, 4, 6};
    for (int v = 0; v < 5; ++v) {
        // Bitwise equality: input coordinates are never recomputed.
        EXPECT_EQ(std::memcmp(&m.points[2 * v], &points[2 * expectedInput[v]], 2 * sizeof(double)), 0);
    }
    // Segments naming the duplicate are the same segments.
    Mesh viaDuplicate = triangulate("epjzQ", points, {0, 5, 5, 3, 3, 4, 4, 0});
    EXPECT_EQ(viaDuplicate.points, m.points);
    EXPECT_EQ(viaDuplicate.triangles, m.triangles);

    // Without j every input vertex keeps its index; without z indices start at 1.
    Mesh all = triangulate("epQ", points, segments);
    EXPECT_EQ(all.points, points);
    std::set<int> corners(all.triangles.begin(), all.triangles.end());
    EXPECT_EQ(corners, (std::set<int>{1, 2, 4, 5, 7}));
}

TEST(TriangleProcessNumbering, LowestInputIndexStandsForEveryRepeatedPosition)
{
    // Thousands of points on a coarse lattice, so that positions repeat many times and in no
    // order; the repeats of a position are inserted long after its first index.
    std::mt19937 random(11);
    std::uniform_int_distribution<int> cell(0, 59);
    std::vector<double> points;
    for (int i = 0; i < 6000; ++i) {
        points.push_back(cell(random) * 0.5);
        points.push_back(cell(random) * 0.25);
    }
    std::map<std::pair<double, double>, int> lowest;
    std::vector<int> representatives;
    for (int i = 0; i < 6000; ++i) {
        if (lowest.emplace(std::make_pair(points[2 * i], points[2 * i + 1]), i).second)
            representatives.push_back(i);
    }

    // With j: one output vertex per position, in the order of the positions' lowest indices.
    Mesh dropped = triangulate("jzQ", points);
    expectWellFormed(dropped, false);
    ASSERT_EQ(dropped.pointCount(), static_cast<int>(representatives.size()));
    for (std::size_t v = 0; v < representatives.size(); ++v) {
        EXPECT_EQ(dropped.x(static_cast<int>(v)), points[2 * representatives[v]]);
        EXPECT_EQ(dropped.y(static_cast<int>(v)), points[2 * representatives[v] + 1]);
    }
    // Without j: every index stays, and triangles name only the lowest index of a position.
    Mesh kept = triangulate("zQ", points);
    EXPECT_EQ(kept.points, points);
    ASSERT_EQ(kept.triangleCount(), dropped.triangleCount());
    std::set<int> corners(kept.triangles.begin(), kept.triangles.end());
    EXPECT_EQ(corners, std::set<int>(representatives.begin(), representatives.end()));
    for (std::size_t k = 0; k < kept.triangles.size(); ++k) {
        int const v = kept.triangles[k];
        EXPECT_EQ(representatives[static_cast<std::size_t>(dropped.triangles[k])], v);
    }
}

TEST(TriangleProcessNumbering, CreatedVerticesFollowInOrderOfCreation)
{
    // A horizontal breakline crossed by two vertical ones: the crossing made first comes first.
    std::vector<double> points = squareCorners(4.0);
    points.insert(points.end(), {0, 3, 4, 3, 1, 0, 1, 4, 3, 0, 3, 4});
    std::vector<int> segments = ring(0, 4);
    std::vector<int> horizontal = {4, 5};
    std::vector<int> left = {6, 7};
    std::vector<int> right = {8, 9};
    for (bool leftFirst : {true, false}) {
        std::vector<int> all = segments;
        all.insert(all.end(), horizontal.begin(), horizontal.end());
        std::vector<int> const& first = leftFirst ? left : right;
        std::vector<int> const& second = leftFirst ? right : left;
        all.insert(all.end(), first.begin(), first.end());
        all.insert(all.end(), second.begin(), second.end());
        Mesh m = triangulate("epjzQ", points, all);
        expectWellFormed(m, true);
        ASSERT_EQ(m.pointCount(), 12);
        EXPECT_NEAR(m.x(10), leftFirst ? 1.0 : 3.0, 1e-12);
        EXPECT_NEAR(m.x(11), leftFirst ? 3.0 : 1.0, 1e-12);
        EXPECT_NEAR(m.y(10), 3.0, 1e-12);
    }
}

TEST(TriangleProcessNumbering, SameNumberingWhateverTheMarkers)
{
    std::vector<double> points = squareCorners(50.0);
    std::vector<double> inner = randomPoints(300, 50.0, 21);
    points.insert(points.end(), inner.begin(), inner.end());
    std::vector<int> segments = ring(0, 4);
    for (int s = 0; s < 20; ++s) {
        segments.push_back(4 + 3 * s);
        segments.push_back(4 + 3 * s + 1);
    }
    std::mt19937 random(5);
    std::uniform_int_distribution<int> marker(0, 40);
    std::vector<int> first;
    std::vector<int> second;
    for (std::size_t s = 0; s < segments.size() / 2; ++s) {
        first.push_back(marker(random));
        second.push_back(marker(random));
    }
    Mesh a = triangulate("epjzQ", points, segments, first);
    Mesh b = triangulate("epjzQ", points, segments, second);
    Mesh c = triangulate("epjzQ", points, segments);
    EXPECT_GT(a.pointCount(), 304); // the breaklines cross
    EXPECT_EQ(a.points, b.points);
    EXPECT_EQ(a.triangles, b.triangles);
    EXPECT_EQ(a.edges, b.edges);
    EXPECT_EQ(a.points, c.points);
    EXPECT_EQ(a.edges, c.edges);
    EXPECT_NE(a.markers, b.markers);
}

TEST(TriangleProcessDegenerate, TooFewOrCollinearPointsGiveAnEmptyMesh)
{
    std::vector<std::vector<double>> inputs = {
        {},
        {1, 1},
        {1, 1, 2, 2},
        {0, 0, 1, 1, 2, 2, 3, 3},
        {5, 5, 5, 5, 5, 5, 6, 6, 6, 6},
    };
    for (auto const& points : inputs) {
        std::vector<int> segments;
        if (points.size() >= 4)
            segments = {0, 1};
        Mesh m = triangulate("epjzQ", points, segments);
        EXPECT_EQ(m.pointCount(), 0);
        EXPECT_EQ(m.triangleCount(), 0);
        EXPECT_EQ(m.edgeCount(), 0);
    }
}

TEST(TriangleProcessInput, MalformedInputThrowsAndLeavesTheRecord)
{
    std::vector<double> const square = squareCorners(1.0);
    std::vector<int> const sides = ring(0, 4);
    double const nan = std::numeric_limits<double>::quiet_NaN();
    double const inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        std::string switches;
        std::vector<double> points;
        std::vector<int> segments;
        std::vector<int> markers;
        std::vector<int> extra;
    };
    std::vector<Case> cases = {
        {"pjzQc", square, sides, {}, {}},
        {"pjzQ-", square, sides, {}, {}},
        {"pjzQa", square, sides, {}, {}},
        {"pjzQa0", square, sides, {}, {}},
        {"pjzQq1.2.3", square, sides, {}, {}},
        {"pjzQ", {0, 0, 1, 0, 1}, {}, {}, {}},
        {"pjzQ", {0, 0, 1, 0, 1, nan}, {}, {}, {}},
        {"pjzQ", {0, 0, 1, 0, inf, 1}, {}, {}, {}},
        {"pjzQ", square, {0, 1, 2}, {}, {}},
        {"pjzQ", square, {0, 4}, {}, {}},
        {"pjzQ", square, {-1, 2}, {}, {}},
        {"pjzQ", square, sides, {1, 2, 3}, {}},
        {"pjzQ", square, sides, {}, {1}},
    };
    for (Case const& c : cases) {
        triangleio_t record;
        std::memset(&record, 0x5a, sizeof record);
        unsigned char before[sizeof record];
        std::memcpy(before, &record, sizeof record);
        EXPECT_THROW(TriangleProcess::execute(c.switches, c.points, c.extra, c.segments, c.markers,
                                              {}, {}, &record, true),
                     TriangleProcessError)
            << c.switches;
        EXPECT_EQ(std::memcmp(&record, before, sizeof record), 0);
    }
    EXPECT_THROW(TriangleProcess::execute("pjzQ", square, {}, sides, {}, {}, {}, nullptr, true),
                 TriangleProcessError);
}
