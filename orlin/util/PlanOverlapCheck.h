#pragma once

#include <memory>

namespace tin {
namespace core {
class Tin;
class Triangle;
}  // namespace core

namespace util {

// Whether a TIN is a single-valued surface, one elevation over every point of its plan: no
// triangle stands vertical and no two lie over one another.
//
// A triangle is vertical when its plan area is below VERTICAL_RATIO (1e-9) of its area in
// space. Two triangles overlap when their interiors share, in plan, more than OVERLAP_RATIO
// (1e-6) of the smaller one's plan area, so that neighbours meeting along an edge or at a
// corner pass, and so do the slivers of shared area that rounding leaves where a corner
// lies on another triangle's edge. A triangle whose corners are collinear in space has no
// interior and is neither.
//
// Input: any triangles, a closed solid read from STL as well as a TIN; nothing about their
// topology is assumed, corners are compared by position only, and orientation (clockwise
// or not) does not matter.
//
// Method: the plan corners are copied into one table, and each triangle is filed in every
// cell of a uniform grid that it meets (the triangle itself, not its box, so that a long
// diagonal sliver takes a row of cells rather than a square of them). The cells are about
// the size of the median triangle, and at most about twice as many as the triangles over
// the TIN's box. Only triangles that share a cell are compared: their boxes, then whether an
// edge of one separates them, and only when none does their shared area (one clipped
// against the other). Vertical triangles are looked for first; the search stops at the
// first fault.
//
// Cost: linear in the triangles for a TIN of ordinary shape, a few pair tests per triangle
// (about 0.1 s per million triangles); a triangle spanning many cells (the base of a solid)
// costs in proportion to the cells it meets and the triangles filed there. Memory while it
// runs: about 90 bytes per triangle. The TIN must not change meanwhile.
class PlanOverlapCheck {
public:
    static constexpr double VERTICAL_RATIO = 1e-9;
    static constexpr double OVERLAP_RATIO = 1e-6;

    enum class Fault { None, Vertical, Overlap };

    struct Finding {
        Fault fault = Fault::None;
        // The vertical triangle, or the two that overlap (the first pair found).
        std::shared_ptr<core::Triangle> first;
        std::shared_ptr<core::Triangle> second;
    };

    PlanOverlapCheck() = delete;

    // The first fault found, or Fault::None.
    static Finding find(core::Tin const& tin);
    static bool isSingleValued(core::Tin const& tin);
};

}  // namespace util
}  // namespace tin
