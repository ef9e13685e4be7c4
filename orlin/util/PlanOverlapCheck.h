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
// or not) does not matter. A triangle with a corner that is not finite is left out (the
// file readers refuse such corners).
//
// Method: the plan corners are copied into one table, and each triangle is filed in the
// cells of a uniform grid that it meets: a small one in the cells of its box, a larger one
// row by row in the cells the triangle itself meets, so that a long diagonal sliver takes a
// row of cells rather than a square of them. The cells are about the size of the median
// triangle, and no more than about twice as many as the triangles over the box of all (a
// few huge triangles, such as a solid's base, make them coarser). Only triangles that share
// a cell are compared, each pair of small ones once: their boxes, then whether an edge of one
// separates them, and only when none does their shared area (one clipped by the other).
// Vertical triangles are looked for first; the search stops at the first fault.
//
// Cost: linear in the triangles for a TIN of ordinary shape, about 0.3 s per million
// triangles (half of an STL read of them; bench_plan_overlap), also for a narrow strip across
// a large empty box; a triangle spanning many cells costs in proportion to the triangles
// filed there. Memory while it runs: about 90 bytes per triangle. The TIN must not change
// meanwhile.
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
