#ifndef WENDLE_TESTS_MESHTESTSUPPORT_H
#define WENDLE_TESTS_MESHTESTSUPPORT_H

// Helpers shared by the triangulation tests: run a triangulation into plain vectors and check the
// invariants every mesh must meet, independently of how it was built.

#include "trianglecui/TriangleProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace wendletest {

struct Mesh
{
    std::vector<double> points;
    std::vector<int> triangles;
    std::vector<int> edges;
    std::vector<int> markers;

    int pointCount() const { return static_cast<int>(points.size() / 2); }
    int triangleCount() const { return static_cast<int>(triangles.size() / 3); }
    int edgeCount() const { return static_cast<int>(edges.size() / 2); }
    double x(int v) const { return points[2 * static_cast<std::size_t>(v)]; }
    double y(int v) const { return points[2 * static_cast<std::size_t>(v) + 1]; }
};

inline void releaseRecord(triangleio_t& record)
{
    triangle_free(record.pointlist);
    triangle_free(record.pointattributelist);
    triangle_free(record.pointmarkerlist);
    triangle_free(record.trianglelist);
    triangle_free(record.triangleattributelist);
    triangle_free(record.trianglearealist);
    triangle_free(record.neighborlist);
    triangle_free(record.segmentlist);
    triangle_free(record.segmentmarkerlist);
    triangle_free(record.regionlist);
    triangle_free(record.edgelist);
    triangle_free(record.edgemarkerlist);
}

inline Mesh triangulate(std::string const& switches, std::vector<double> const& points,
                        std::vector<int> const& segments = {},
                        std::vector<int> const& markers = {})
{
    triangleio_t record{};
    trianglecui::TriangleProcess::execute(switches, points, {}, segments, markers, {}, {}, &record,
                                          true);
    Mesh mesh;
    EXPECT_EQ(record.holelist, nullptr);
    EXPECT_EQ(record.numberofcorners, 3);
    if (record.numberofpoints > 0)
        mesh.points.assign(record.pointlist, record.pointlist + 2 * record.numberofpoints);
    if (record.numberoftriangles > 0)
        mesh.triangles.assign(record.trianglelist, record.trianglelist + 3 * record.numberoftriangles);
    if (record.numberofedges > 0) {
        mesh.edges.assign(record.edgelist, record.edgelist + 2 * record.numberofedges);
        mesh.markers.assign(record.edgemarkerlist, record.edgemarkerlist + record.numberofedges);
    }
    releaseRecord(record);
    return mesh;
}

inline double signedArea(Mesh const& m, int a, int b, int c)
{
    return 0.5 * ((m.x(b) - m.x(a)) * (m.y(c) - m.y(a)) - (m.y(b) - m.y(a)) * (m.x(c) - m.x(a)));
}

inline double totalArea(Mesh const& m)
{
    double sum = 0.0;
    for (int t = 0; t < m.triangleCount(); ++t)
        sum += signedArea(m, m.triangles[3 * t], m.triangles[3 * t + 1], m.triangles[3 * t + 2]);
    return sum;
}

inline std::pair<int, int> key(int a, int b)
{
    return a < b ? std::make_pair(a, b) : std::make_pair(b, a);
}

inline std::set<std::pair<int, int>> triangleEdges(Mesh const& m)
{
    std::set<std::pair<int, int>> edges;
    for (int t = 0; t < m.triangleCount(); ++t) {
        for (int k = 0; k < 3; ++k)
            edges.insert(key(m.triangles[3 * t + k], m.triangles[3 * t + (k + 1) % 3]));
    }
    return edges;
}

inline std::map<std::pair<int, int>, int> markerByEdge(Mesh const& m)
{
    std::map<std::pair<int, int>, int> markers;
    for (int e = 0; e < m.edgeCount(); ++e)
        markers[key(m.edges[2 * e], m.edges[2 * e + 1])] = m.markers[static_cast<std::size_t>(e)];
    return markers;
}

// Indices in range, every triangle counter-clockwise and not degenerate, every vertex used, and
// (when edges were asked for) the edge list is exactly the set of triangle sides, each once.
inline void expectWellFormed(Mesh const& m, bool withEdges)
{
    std::vector<bool> used(static_cast<std::size_t>(m.pointCount()), false);
    for (int t = 0; t < m.triangleCount(); ++t) {
        for (int k = 0; k < 3; ++k) {
            int v = m.triangles[3 * t + k];
            ASSERT_GE(v, 0);
            ASSERT_LT(v, m.pointCount());
            used[static_cast<std::size_t>(v)] = true;
        }
        EXPECT_GT(signedArea(m, m.triangles[3 * t], m.triangles[3 * t + 1], m.triangles[3 * t + 2]),
                  0.0)
            << "triangle " << t << " is not counter-clockwise";
    }
    EXPECT_TRUE(std::all_of(used.begin(), used.end(), [](bool u) { return u; }))
        << "a vertex in no triangle was kept";
    if (!withEdges)
        return;
    std::set<std::pair<int, int>> listed;
    for (int e = 0; e < m.edgeCount(); ++e)
        EXPECT_TRUE(listed.insert(key(m.edges[2 * e], m.edges[2 * e + 1])).second)
            << "edge listed twice";
    EXPECT_EQ(listed, triangleEdges(m));
}

// Output vertices lying on the segment from a to b, ordered from a to b.
inline std::vector<int> verticesOnSegment(Mesh const& m, double ax, double ay, double bx, double by)
{
    double const dx = bx - ax;
    double const dy = by - ay;
    double const length2 = dx * dx + dy * dy;
    std::vector<std::pair<double, int>> found;
    for (int v = 0; v < m.pointCount(); ++v) {
        double const px = m.x(v) - ax;
        double const py = m.y(v) - ay;
        double const t = (px * dx + py * dy) / length2;
        double const cross = px * dy - py * dx;
        if (t >= -1e-12 && t <= 1 + 1e-12 && std::abs(cross) <= 1e-9 * length2)
            found.emplace_back(t, v);
    }
    std::sort(found.begin(), found.end());
    std::vector<int> result;
    for (auto const& f : found)
        result.push_back(f.second);
    return result;
}

inline std::vector<double> randomPoints(int count, double size, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(0.0, size);
    std::vector<double> points;
    for (int i = 0; i < 2 * count; ++i)
        points.push_back(coordinate(random));
    return points;
}

} // namespace wendletest

#endif
