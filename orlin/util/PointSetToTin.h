#pragma once

// Triangulation of a point set into a TIN.
//
// Static operations only; never instantiated. The set is prepared first (its convex
// hull becomes its region when it has none; breaklines lying on a ring side are
// dropped), then every region ring is sent with its inner points and breaklines to
// the triangulation process as a constrained Delaunay triangulation, and the output
// triangles are added to one TIN over the set's own shared points. Hole rings take no
// part.
//
// - Output vertices are mapped back to points by exact position. Where two points
//   share a position, the first one entered (ring vertices first, then points in
//   order) stands for it.
// - Vertices the triangulation adds (a breakline crossing a ring side or another
//   breakline) become new interned points: convertCleanPointSet interpolates their
//   elevation linearly along the input segment they lie on (the mean where segments
//   cross); convert takes them from, or interpolates them in, the base TIN.
// - quality adds a second pass with a minimum angle; its new vertices are
//   interpolated in the first-pass TIN (in the nearest triangle where rounding puts
//   one just outside).
// - The triangles go into the TIN grouped by where their lowest vertex lies in memory
//   (the order the TIN's tables are fastest to build in), not in the triangulation's own
//   order; each keeps its corners in the triangulation's (counter-clockwise) order.
// - Every point that enters a run gets its vertex index in that run as its id, so
//   after a conversion the ids are those of the last run that used each point.
// - Failures: tin::util::AssertError when a vertex cannot be resolved,
//   trianglecui::TriangleProcessError from the triangulation. Nothing is returned on
//   a throw.
// - Cost: O(n log n) in the points, dominated by the triangulation and by building
//   the TIN (about two triangles per point). convertCleanPointSet reads the set in
//   place (its preparation copies no survey-sized set) and frees the run's arrays
//   before the TIN is built: while it is, the run holds about 50 bytes per point
//   besides it (point list, vertex map, triangle list).
//
// Simplification (convertToSimplifiedTin) starts from the region rings and breaklines
// alone (no inner point) and inserts, one at a time, the set point with the largest
// vertical error, until the TIN has pointCount points, or no error exceeds maxError.
// - Each insertion re-triangulates the neighbourhood of the new point; edges that lie
//   on a breakline of the start TIN stay edges, so the breaklines survive.
// - It stops early when the largest remaining error is 0 or no point is left, so a
//   point count above what the set can supply, or a negative maximum error, ends too.
// - A set point at the position of a TIN vertex (another object) or outside the TIN's
//   triangles is passed over.
// - Each insertion writes one progress line to std::cerr: the new point count directly
//   followed by "points".
// - A set point outside the start TIN throws common::exception::RuntimeException
//   "Interpolation failed."; failures of the start TIN and of an insertion pass on.
// - Cost: after each insertion only the errors of the points inside the changed
//   neighbourhood are recomputed (found through a uniform point grid, interpolated in
//   the new triangles); the next point comes from an ordered error map without a scan.
//   About 4 s for 100,000 points to 10,000.

namespace tin {
namespace core {
class PointSet;
class Tin;
} // namespace core

namespace util {

class PointSetToTin {
public:
    PointSetToTin() = delete;

    // TIN of the set; vertices the set lacks are taken from, or interpolated in, base.
    // With noInnerPoints only the ring vertices are triangulated.
    static core::Tin convert(core::PointSet const& set, core::Tin const& base, bool noInnerPoints);

    // TIN of the set over its own points. A region's run gets only the breaklines whose
    // two ends are vertices of that run.
    static core::Tin convertCleanPointSet(core::PointSet const& set, bool noInnerPoints, bool quality);

    // ---- Simplification ----

    static core::Tin convertToSimplifiedTin(core::PointSet const& set, int pointCount);
    static core::Tin convertToSimplifiedTin(core::PointSet const& set, double maxError);
};

} // namespace util
} // namespace tin
