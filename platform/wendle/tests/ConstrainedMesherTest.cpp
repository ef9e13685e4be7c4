#include "../src/ConstrainedMesher.h"
#include "../src/EdgeMarkerTable.h"
#include "MeshTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <vector>

using trianglecui::ConstrainedMesher;
using trianglecui::EdgeMarkerTable;
using trianglecui::MeshOutput;
using trianglecui::TriangleSwitches;
using namespace wendletest;

namespace {

Mesh run(std::vector<double> const& points, std::vector<int> const& segments,
         std::vector<int> const& markers, ConstrainedMesher::Insertion insertion)
{
    TriangleSwitches const switches = TriangleSwitches::parse("epjzQ");
    MeshOutput out = ConstrainedMesher::run(switches, points, segments, markers, insertion);
    Mesh m;
    m.points.assign(out.points.data(), out.points.data() + out.points.size());
    m.triangles.assign(out.triangles.data(), out.triangles.data() + out.triangles.size());
    m.edges.assign(out.edges.data(), out.edges.data() + 2 * out.edgeCount);
    m.markers.assign(out.edgeMarkers.data(), out.edgeMarkers.data() + out.edgeCount);
    return m;
}

// The run on cut subsegments against the run that resolves crossings inside the triangulation: the
// same vertices (created ones may differ in the last bits: the latter computes later crossings
// on subsegments of a segment), the same triangles and the same marker on every edge. Where four
// vertices are cocircular (a grid vertex and the crossings of two perpendicular sides near it)
// either diagonal is Delaunay and the last bits decide; there the segment edges must agree.
enum class Cocircular { None, Some };

void expectSameAsWithHistory(std::vector<double> const& points, std::vector<int> const& segments,
                             std::vector<int> const& markers,
                             Cocircular cocircular = Cocircular::None)
{
    Mesh const cut = run(points, segments, markers, ConstrainedMesher::Insertion::Subsegments);
    Mesh const history = run(points, segments, markers, ConstrainedMesher::Insertion::History);
    expectWellFormed(cut, true);
    ASSERT_EQ(cut.pointCount(), history.pointCount());
    ASSERT_EQ(cut.triangleCount(), history.triangleCount());

    // Vertices of the history run by position; input vertices come back bit for bit.
    std::size_t const inputs = points.size() / 2;
    std::vector<int> same(static_cast<std::size_t>(cut.pointCount()), -1);
    for (int v = 0; v < cut.pointCount(); ++v) {
        double best = INFINITY;
        for (int w = 0; w < history.pointCount(); ++w) {
            double const d = std::hypot(cut.x(v) - history.x(w), cut.y(v) - history.y(w));
            if (d < best) {
                best = d;
                same[static_cast<std::size_t>(v)] = w;
            }
        }
        double const scale = std::max(std::abs(cut.x(v)), std::abs(cut.y(v)));
        EXPECT_LE(best, 1e-12 * std::max(scale, 1.0)) << "vertex " << v;
        if (static_cast<std::size_t>(v) < inputs) {
            EXPECT_EQ(same[static_cast<std::size_t>(v)], v);
        }
    }
    auto triangles = [](Mesh const& m, std::vector<int> const& map) {
        std::set<std::array<int, 3>> set;
        for (int t = 0; t < m.triangleCount(); ++t) {
            std::array<int, 3> corners;
            for (int k = 0; k < 3; ++k) {
                int const v = m.triangles[static_cast<std::size_t>(3 * t + k)];
                corners[static_cast<std::size_t>(k)] = map.empty() ? v : map[static_cast<std::size_t>(v)];
            }
            std::sort(corners.begin(), corners.end());
            set.insert(corners);
        }
        return set;
    };
    if (cocircular == Cocircular::None) {
        EXPECT_EQ(triangles(cut, same), triangles(history, {}));
    }
    EXPECT_NEAR(totalArea(cut), totalArea(history), 1e-9 * std::abs(totalArea(history)));
    // Where the diagonal of a cocircular quadrilateral is a toss-up, only segment edges (marked
    // here) must agree.
    std::map<std::pair<int, int>, int> mapped;
    for (auto const& entry : markerByEdge(cut)) {
        if (cocircular == Cocircular::None || entry.second > 1)
            mapped[key(same[static_cast<std::size_t>(entry.first.first)],
                       same[static_cast<std::size_t>(entry.first.second)])] = entry.second;
    }
    std::map<std::pair<int, int>, int> expected;
    for (auto const& entry : markerByEdge(history)) {
        if (cocircular == Cocircular::None || entry.second > 1)
            expected.insert(entry);
    }
    EXPECT_EQ(mapped, expected);
}

std::vector<int> numbered(std::size_t count, int first)
{
    std::vector<int> markers(count);
    for (std::size_t s = 0; s < count; ++s)
        markers[s] = first + static_cast<int>(s);
    return markers;
}

// The vertices and sides of an n x n grid of cells cut by one diagonal each, turned by angle
// about (c, c); only vertices inside [0, limit]^2 and sides between them.
void addGrid(std::vector<double>& points, std::vector<int>& segments, int n, double angle,
             double scale, double c, double limit)
{
    std::vector<int> id(static_cast<std::size_t>(n * n), -1);
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            double const u = (column - (n - 1) / 2.0) * scale, v = (row - (n - 1) / 2.0) * scale;
            double const x = c + std::cos(angle) * u - std::sin(angle) * v;
            double const y = c + std::sin(angle) * u + std::cos(angle) * v;
            if (x < 0 || y < 0 || x > limit || y > limit)
                continue;
            id[static_cast<std::size_t>(row * n + column)] = static_cast<int>(points.size() / 2);
            points.insert(points.end(), {x, y});
        }
    }
    auto side = [&](int r0, int c0, int r1, int c1) {
        if (r1 >= n || c1 >= n)
            return;
        int const a = id[static_cast<std::size_t>(r0 * n + c0)];
        int const b = id[static_cast<std::size_t>(r1 * n + c1)];
        if (a >= 0 && b >= 0)
            segments.insert(segments.end(), {a, b});
    };
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            side(row, column, row, column + 1);
            side(row, column, row + 1, column);
            side(row, column, row + 1, column + 1);
        }
    }
}

} // namespace

TEST(ConstrainedMesherSubsegments, RandomBreaklinesGiveTheMeshOfTheTriangulationWithHistory)
{
    std::vector<double> points = {0, 0, 100, 0, 100, 100, 0, 100};
    std::vector<int> segments = {0, 1, 1, 2, 2, 3, 3, 0};
    std::vector<double> const inner = randomPoints(300, 100.0, 17);
    points.insert(points.end(), inner.begin(), inner.end());
    for (int s = 0; s < 40; ++s)
        segments.insert(segments.end(), {4 + 2 * s, 4 + 2 * s + 1});
    std::mt19937 random(9);
    std::uniform_int_distribution<int> marker(0, 5);
    std::vector<int> markers;
    for (std::size_t s = 0; s < segments.size() / 2; ++s)
        markers.push_back(marker(random));
    expectSameAsWithHistory(points, segments, markers);
}

TEST(ConstrainedMesherSubsegments, ForcedDiagonalsOfCocircularCellsAreFlippedIn)
{
    // Every cell of a square grid is cocircular; the segments force one diagonal per cell,
    // alternating, so many of them are not the diagonal the Delaunay triangulation chose.
    int const n = 16;
    std::vector<double> points;
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column)
            points.insert(points.end(), {static_cast<double>(column), static_cast<double>(row)});
    }
    int const corners[] = {0, n - 1, n * n - 1, n * (n - 1)};
    std::vector<int> segments;
    for (int k = 0; k < 4; ++k)
        segments.insert(segments.end(), {corners[k], corners[(k + 1) % 4]});
    for (int row = 0; row + 1 < n; ++row) {
        for (int column = 0; column + 1 < n; ++column) {
            int const lowerLeft = row * n + column;
            if ((row + column) % 2 == 0)
                segments.insert(segments.end(), {lowerLeft, lowerLeft + n + 1});
            else
                segments.insert(segments.end(), {lowerLeft + 1, lowerLeft + n});
        }
    }
    expectSameAsWithHistory(points, segments, numbered(segments.size() / 2, 2));
    Mesh const m = run(points, segments, {}, ConstrainedMesher::Insertion::Subsegments);
    auto const edges = triangleEdges(m);
    for (std::size_t s = 4; s < segments.size() / 2; ++s)
        EXPECT_TRUE(edges.count(key(segments[2 * s], segments[2 * s + 1]))) << "diagonal " << s;
}

TEST(ConstrainedMesherSubsegments, EdgesOfTwoTurnedGridsAsTheOverlayFeedsThem)
{
    std::vector<double> points;
    std::vector<int> segments;
    addGrid(points, segments, 12, 0.0, 1.0, 5.5, 11.0);
    addGrid(points, segments, 14, 0.3, 0.999, 5.5, 11.0);
    expectSameAsWithHistory(points, segments, numbered(segments.size() / 2, 2), Cocircular::Some);
}

TEST(ConstrainedMesherSubsegments, SegmentsThroughVerticesAndOverlappingSegmentsKeepTheirMarkers)
{
    // Collinear vertices on y = 0 and on the diagonal, segments running through them, a segment
    // covered twice and one covered by a longer one; the first non-zero marker in segment order
    // stays, as with history.
    std::vector<double> const points = {0, 0, 1, 0, 2, 0, 3, 0, 3, 3, 0, 3, 1, 1, 2, 2, 1.5, 2.5};
    std::vector<int> const segments = {0, 3, 3, 4, 4, 5, 5, 0, 1, 2, 0, 4, 6, 7, 0, 2, 8, 1};
    std::vector<int> const markers = {0, 4, 4, 4, 9, 6, 0, 7, 3};
    expectSameAsWithHistory(points, segments, markers);
    Mesh const m = run(points, segments, markers, ConstrainedMesher::Insertion::Subsegments);
    auto const markerOf = markerByEdge(m);
    EXPECT_EQ(markerOf.at(key(0, 1)), 7); // 0-3 carries 0, so 0-2's marker stays
    EXPECT_EQ(markerOf.at(key(1, 2)), 9); // 1-2 comes before 0-2
    // 0-4 passes through 6 and 7, and 8-1 crosses both 0-4 and 6-7 at (1.25, 1.25).
    ASSERT_EQ(m.pointCount(), 10);
    EXPECT_EQ(m.x(9), 1.25);
    EXPECT_EQ(m.y(9), 1.25);
    EXPECT_EQ(markerOf.at(key(6, 9)), 6);
    EXPECT_EQ(markerOf.at(key(9, 7)), 6);
}

TEST(ConstrainedMesherSubsegments, SubsegmentsThatRoundingLeavesCrossingAreSettledInASecondRun)
{
    // Nine breaklines through about one point inside a square: cut once, the subsegments around the
    // point cross again and the triangulation rejects them; the result must still have every
    // segment as a chain of edges, and equal the run with history where the crossings agree.
    double const cx = 50.0 + 1.0 / 3.0, cy = 50.0 + 1.0 / 7.0;
    std::vector<double> points = {0, 0, 100, 0, 100, 100, 0, 100};
    std::vector<int> segments = {0, 1, 1, 2, 2, 3, 3, 0};
    for (int k = 0; k < 9; ++k) {
        double const angle = 0.3 + k * 0.37;
        double const dx = std::cos(angle), dy = std::sin(angle);
        int const first = static_cast<int>(points.size() / 2);
        points.insert(points.end(), {cx - 30 * dx, cy - 30 * dy, cx + 40 * dx, cy + 40 * dy});
        segments.insert(segments.end(), {first, first + 1});
    }
    Mesh const m = run(points, segments, numbered(segments.size() / 2, 2),
                       ConstrainedMesher::Insertion::Subsegments);
    expectWellFormed(m, true);
    EXPECT_NEAR(totalArea(m), 100.0 * 100.0, 1e-6);
    EXPECT_GT(m.pointCount(), static_cast<int>(points.size() / 2));
    EXPECT_EQ(m.pointCount() - m.edgeCount() + m.triangleCount(), 1);
    // Each breakline is a path of mesh edges lying along it from one end to the other (where
    // breaklines share edges near the point, the first one's marker stays on them).
    auto const edges = triangleEdges(m);
    for (std::size_t s = 4; s < segments.size() / 2; ++s) {
        int const from = segments[2 * s], to = segments[2 * s + 1];
        double const ax = m.x(from), ay = m.y(from), dx = m.x(to) - ax, dy = m.y(to) - ay;
        auto along = [&](int v) {
            return std::abs(dx * (m.y(v) - ay) - dy * (m.x(v) - ax)) <= 1e-9 * (dx * dx + dy * dy);
        };
        std::set<int> reached = {from};
        std::vector<int> stack = {from};
        while (!stack.empty()) {
            int const v = stack.back();
            stack.pop_back();
            for (auto const& e : edges) {
                int const w = e.first == v ? e.second : e.second == v ? e.first : -1;
                if (w >= 0 && along(w) && reached.insert(w).second)
                    stack.push_back(w);
            }
        }
        EXPECT_TRUE(reached.count(to)) << "breakline " << s;
    }
}

TEST(EdgeMarkerTableTest, FirstMarkerStaysInEitherOrderThroughGrowth)
{
    EdgeMarkerTable table;
    EXPECT_EQ(table.find(1, 2, -5), -5);
    table.reserve(4);
    for (int a = 0; a < 2000; ++a)
        EXPECT_TRUE(table.insert(a, a + 1, a + 10));
    EXPECT_FALSE(table.insert(6, 5, 99));
    for (int a = 0; a < 2000; ++a) {
        EXPECT_EQ(table.find(a, a + 1, -1), a + 10);
        EXPECT_EQ(table.find(a + 1, a, -1), a + 10);
    }
    EXPECT_EQ(table.find(0, 2, -1), -1);
    EXPECT_EQ(table.find(2000, 2002, 1), 1);
}
