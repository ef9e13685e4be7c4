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
// - cleanUpBreaklines: drops the breaklines that are a side of a region or hole ring
//   (the ring side is sent to the triangulation anyway).
// - copyRegionsAndHoles: adds the region and hole rings of one set, with their points,
//   to another.

namespace tin {
namespace core {
class PointSet;
} // namespace core

namespace util {

class PointSetModifier {
public:
    PointSetModifier() = delete;

    static core::PointSet createRegion(core::PointSet const& set);
    static core::PointSet cleanUpBreaklines(core::PointSet const& set);
    // cleanUpBreaklines on the set itself, for callers that already hold a copy.
    static void removeRingSideBreaklines(core::PointSet& set);
    static void copyRegionsAndHoles(core::PointSet const& from, core::PointSet* to);
};

} // namespace util
} // namespace tin
