#pragma once

// Preparation of a point set for triangulation and copying of its regions.
//
// Static operations only; never instantiated. Every operation returns a new PointSet
// (or fills the one given) and leaves its argument unchanged; points, breaklines and
// rings stay shared objects, never deep copies.
//
// - createRegion: when the set has no region ring, its convex hull (over the set's own
//   point objects, collinear hull points left out) becomes its one region. A set whose
//   points do not span an area (fewer than three points off one line) gets no region
//   and so triangulates to an empty TIN. O(n log n) in the points.
// - hullRing: the ring createRegion adds, over the given point objects (the first of
//   several at one corner, in list order); null where they enclose no area.
// - cleanUpBreaklines: drops the breaklines that are a side of a region or hole ring
//   (the ring side is sent to the triangulation anyway).
// - copyRegionsAndHoles: adds the region and hole rings of one set, with their points,
//   to another.
// - clipByPolygon: triangulates the set, keeps the triangles the polygon contains and
//   returns them as a point set (outline as rings); of the set's breaklines only those
//   with both ends in the result are carried over (crossed breaklines give way).
//   Failures of the triangulation pass on.
// - divideRegionsAndHolesWithBreaklines: a cleaned copy whose region and hole rings
//   carry the points where breaklines cross them; where a breakline crosses a ring side
//   the new ring point is tin's point there, else a new point with tin's elevation.
//   Throws AssertError (a ring end or crossing that cannot be resolved) and
//   trianglecui::TriangleProcessError; nothing is returned then.
// These two set the ids of the points they triangulate to their vertex index.

#include <memory>
#include <vector>

namespace tin {
namespace core {
class Point;
class PointRing;
class PointSet;
class Polygon;
class Tin;
} // namespace core

namespace util {

class PointSetModifier {
public:
    PointSetModifier() = delete;

    static core::PointSet createRegion(core::PointSet const& set);
    static std::shared_ptr<core::PointRing> hullRing(std::vector<std::shared_ptr<core::Point>> const& points);
    static core::PointSet cleanUpBreaklines(core::PointSet const& set);
    // cleanUpBreaklines on the set itself, for callers that already hold a copy.
    static void removeRingSideBreaklines(core::PointSet& set);
    static void copyRegionsAndHoles(core::PointSet const& from, core::PointSet* to);

    // ---- Clipping and ring division ----

    static core::PointSet clipByPolygon(core::PointSet const& set, core::Polygon const& polygon);
    static core::PointSet divideRegionsAndHolesWithBreaklines(core::PointSet const& set,
                                                              core::Tin const& tin);
};

} // namespace util
} // namespace tin
