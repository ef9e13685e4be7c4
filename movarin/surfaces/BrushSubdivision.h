#pragma once

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"

#include <cstddef>
#include <memory>
#include <unordered_set>
#include <vector>

namespace tin::core {
class Edge;
class Triangle;
} // namespace tin::core

namespace varnel {

/// How the brush makes the triangles under it finer: an edge at least `size` long is cut
/// into pieces of at most `half` (half the size), and each triangle is re-triangulated on the
/// points of its divided edges. The periphery operations split a triangle that touches the
/// brushed region along one, two or three of its outer edges on a centre point, so that it
/// meets the region's divided boundary without hanging vertices.
///
/// Every point comes from `tin::core::PointFactory` (no overwrite), so two triangles that
/// divide their common edge, in one call or in two, get the very same point objects and the
/// result is conforming without any stitching. Divisions are symmetric: dividing b to a gives
/// the points of a to b in reverse order, at the very same plan positions (so do the two edges
/// of a vertical step, whose ends share their plan positions). An edge gives at most `MAX_EDGE_PIECES` pieces, so a
/// brush far smaller than the triangles cannot make millions of them from one edge.
///
/// Points that the factory makes new (held by nothing else at that moment) are recorded in
/// `created` when it is given: the brush may move those in place, and only those (see
/// `BrushEdit`).
///
/// The results go into a TIN passed in: a triangle with no divided edge is that very triangle
/// object, every other triangle is new, over shared points, in either orientation. The three
/// searches for a shared end point throw `common::exception::RuntimeException` ("Fatal error in
/// subdivideTriangle2.", "... subdivideTriangle3.", "... subdividePeripheryTriangle2.") when the
/// lists share none; lists made by `divideEdge` from one triangle always do.
///
/// Cost: linear in the triangles made, one factory probe per point and one edge-factory probe
/// per side. `subdividedTriangleCount` gives the number of triangles beforehand without
/// making any point.
class BrushSubdivision {
public:
    using PointPtr = std::shared_ptr<tin::core::Point>;
    using TrianglePtr = std::shared_ptr<tin::core::Triangle>;
    using PointList = std::vector<PointPtr>;
    /// Points made new for one brush edit; they stay alive as long as the set holds them.
    using CreatedPoints = std::unordered_set<PointPtr>;

    static constexpr std::size_t MAX_EDGE_PIECES = 1000;

    BrushSubdivision() = delete;

    /// The factory's point for p; recorded in `created` (when given) if the factory made it.
    static PointPtr internPoint(const tin::core::Point& p, CreatedPoints* created);

    /// [a, b] when the plan distance d of a and b is below `size`; otherwise
    /// [a, P1, ..., P(n-1), b] with n = ceil(d / half) (at most `MAX_EDGE_PIECES`) and Pi the
    /// interned point at i/n of the way, elevation interpolated, computed from the end first in
    /// plan order (x, then y).
    static PointList divideEdge(const PointPtr& a, const PointPtr& b, double size, double half,
                                CreatedPoints* created = nullptr);
    /// The number of pieces `divideEdge` cuts a-b into (1 when it is not divided).
    static std::size_t edgePieces(const tin::core::Point& a, const tin::core::Point& b, double size,
                                  double half);

    /// The triangles that replace `triangle`: itself when no edge is divided, else the fan
    /// (one divided edge), the strip (two) or the spokes (three) over its divided edges.
    static tin::core::Tin subdivideTriangle(const TrianglePtr& triangle, double size, double half,
                                            CreatedPoints* created = nullptr);
    /// `subdivideTriangle` of each, in order, into one TIN.
    static tin::core::Tin subdivideTriangles(const std::vector<TrianglePtr>& triangles, double size,
                                             double half, CreatedPoints* created = nullptr);
    /// `subdivideTriangle` adding its triangles to `out`.
    static void subdivideTriangleInto(const TrianglePtr& triangle, double size, double half,
                                      tin::core::Tin& out, CreatedPoints* created);
    /// How many triangles `subdivideTriangle` makes of `triangle`.
    static std::size_t subdividedTriangleCount(const tin::core::Triangle& triangle, double size,
                                               double half);

    /// The fan from `apex` over the divided edge `e`: |e| - 1 triangles.
    static void subdivideTriangle1(const PointList& e, const PointPtr& apex, tin::core::Tin& out);
    /// The strip between two divided edges with one common end: |a| + |b| - 3 triangles, the
    /// last one on the far ends of a and b.
    static void subdivideTriangle2(const PointList& a, const PointList& b, tin::core::Tin& out);
    /// Spokes from the corner opposite the longest edge to each point of it, each divided,
    /// with a strip between each pair of neighbouring spokes.
    static void subdivideTriangle3(const PointList& e1, const PointList& e2, const PointList& e3,
                                   double size, double half, tin::core::Tin& out,
                                   CreatedPoints* created);

    /// The mean of the three points in x, y and elevation (id -1).
    static tin::core::Point centroidPoint(const tin::core::Point& p, const tin::core::Point& q,
                                          const tin::core::Point& r);
    /// A triangle with one outer edge e and the opposite corner o: a centre point c with the
    /// two triangles to o and the fan from c over the divided e.
    static void subdividePeripheryTriangle1(const tin::core::Edge& e, const PointPtr& o, double size,
                                            double half, tin::core::Tin& out, CreatedPoints* created);
    /// Two outer edges: the triangle from c on the inner edge, then the fans over both.
    static void subdividePeripheryTriangle2(const tin::core::Edge& a, const tin::core::Edge& b,
                                            double size, double half, tin::core::Tin& out,
                                            CreatedPoints* created);
    /// Three outer edges (a triangle the region surrounds): the fans from its centroid.
    static void subdividePeripheryTriangle3(const tin::core::Edge& e1, const tin::core::Edge& e2,
                                            const tin::core::Edge& e3, double size, double half,
                                            tin::core::Tin& out, CreatedPoints* created);
};

} // namespace varnel
