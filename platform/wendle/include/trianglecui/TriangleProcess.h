#ifndef TRIANGLECUI_TRIANGLEPROCESS_H
#define TRIANGLECUI_TRIANGLEPROCESS_H

#include "triangle/triangleio.h"
#include "trianglecui/TriangleProcessError.h"

#include <string>
#include <vector>

namespace trianglecui {

// Constrained Delaunay triangulation and refinement of a planar straight-line graph, driven by a
// switch string in the manner of the classic mesh generator's command line.
//
// Switches (any other character throws TriangleProcessError):
//   p  the segments are constraints: each appears in the mesh as a chain of edges; crossing
//      segments get a vertex at the crossing (rounded to doubles, and taken to be a segment end
//      within four units in the last place of it), a vertex lying on a segment splits it. Triangles
//      reachable from the convex hull without crossing a segment are removed; areas enclosed by
//      segments stay triangulated (there are no hole points). Without p the segments are ignored
//      and the whole convex hull is triangulated.
//   j  vertices that end in no triangle are dropped and the others numbered compactly: input
//      vertices in input order, then created vertices in order of creation (a crossing is
//      created with the later of its two segments in segment order, from that segment's first
//      end on). Without j every input vertex keeps its input index and created vertices follow.
//   z  indices in the output start at 0 (else at 1).
//   e  the edge list: every mesh edge once. An edge on an input segment with a non-zero marker
//      carries that marker (the first non-zero one in segment order where segments overlap);
//      any other edge carries 1 on the mesh boundary and 0 inside.
//   q[angle]  refine towards a minimum angle (default 20 degrees, clamped to 33.8 degrees, above
//      which refinement does not end); created vertices may split segments unless Y is given.
//      Throws when more than max(10 n, 100000) vertices would be added.
//   a<area>  refine until no triangle is larger than the area.
//   Y  refinement adds no vertex on any segment.
//   Q  quiet; nothing is ever printed.
//
// Input: points holds x, y of vertex i at 2i and 2i + 1 (finite); segments two vertex indices per
// segment (0-based); segmentMarkers one marker per segment, or empty (all 0). a, b and c must be
// empty; flag is ignored. Odd lengths, indices out of range, non-finite coordinates or a marker list
// of the wrong length throw. Duplicate positions become one vertex (the lowest input index); input
// vertices keep their coordinates bit for bit. Fewer than three distinct points, or all of them on
// one line, give a mesh without triangles.
//
// Output: out is overwritten completely (any arrays it held are not released). Triangles are
// counter-clockwise. The same points and segments always give the same numbering, triangles and
// edges, whatever the markers. The caller owns the arrays and releases each with triangle_free.
//
// Cost: O(n log n) for n points, close to a bare Delaunay triangulation (faster than one on
// ordinary pages: the triangulation's blocks are asked to be huge pages, and are returned to the
// system when the call ends; the result arrays are filled in place, never copied). Without
// refinement the segments are cut at their crossings beforehand (a grid over the segments, exact
// predicates) and go in as constraints that meet only at vertices: a subsegment that is an edge
// already, or the other diagonal of two triangles, costs a fraction of a microsecond, and a
// crossing about as much as inserting a point. Near-degenerate crossings (several within
// rounding of each other) may cost a second run. With q or a every segment goes through CGAL's
// constraint history (several microseconds each). Refinement costs about as much per added
// vertex; near the 33.8-degree clamp the angle pass adds many times the input's vertices (30 to
// 120 times on survey point sets).
class TriangleProcess
{
public:
    static void execute(std::string const& switches, std::vector<double> const& points,
                        std::vector<int> const& a, std::vector<int> const& segments,
                        std::vector<int> const& segmentMarkers, std::vector<int> const& b,
                        std::vector<int> const& c, triangleio_t* out, bool flag);
};

} // namespace trianglecui

#endif
