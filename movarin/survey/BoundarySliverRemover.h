#pragma once

#include <cstddef>
#include <vector>

namespace tin::core {
class Tin;
class Triangle;
} // namespace tin::core

namespace varnel {

/// Trims the thin triangles off the boundary of a freshly created TIN.
///
/// A triangle is a boundary sliver when one of its edges is an outer edge of the TIN and
/// the smallest of its angles at the vertices that touch an outer edge is under one degree
/// (pi / 180). An angle counts only at a vertex one of whose two adjacent edges is outer: a
/// thin triangle whose small angle lies opposite its only outer edge stays, as does any
/// triangle with three interior edges.
///
/// Removal runs in passes: a pass collects the outer edges into a hash set once, looks each
/// triangle's three edges up in it, and removes the slivers only after the whole TIN was
/// examined. Removing a boundary triangle makes its inner neighbours boundary triangles,
/// so passes repeat until one removes nothing.
///
/// Input: a TIN whose triangles run counter-clockwise, as the triangulation gives them
/// (`tin::core::Triangle::angleRadian` measures counter-clockwise, so a clockwise corner
/// reads as its reflex angle). Cost: a pass is linear in the number of triangles (plus the
/// outer-edge scan of the TIN's edge table); the number of passes is the depth of the
/// deepest sliver fan, usually two or three.
class BoundarySliverRemover {
public:
    /// One degree in radians.
    static constexpr double threshold = 0.017453292519943295;

    BoundarySliverRemover() = delete;

    /// Removes boundary slivers pass after pass from `tin`. Returns the number of triangles
    /// each pass removed, in order; the last entry is 0, and an empty TIN runs no pass.
    static std::vector<std::size_t> removeSlivers(tin::core::Tin& tin);

private:
    static std::size_t removeOnePass(tin::core::Tin& tin);
};

} // namespace varnel
