#pragma once

namespace tin {
namespace core {
class Tin;
}  // namespace core

namespace util {

// Refinement of a TIN for building terrain from survey points: re-triangulates the TIN with every
// one of its edges as a constraint, adding points (never on an edge) until no triangle is larger
// than 10 square units. New points take the elevation of the source surface. Triangles that the
// triangulator fills where the source TIN has none (its holes) are dropped, so no terrain is
// invented there.
//
// Overwrites the ids of the source TIN's points with their index in the triangulation input.
// *ok is true when the refined TIN is returned; trianglecui::TriangleProcessError passes on with
// *ok false.
class TinRefinement {
public:
    static core::Tin refine(core::Tin const& tin, bool* ok);
};

}  // namespace util
}  // namespace tin
