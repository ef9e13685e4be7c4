#pragma once

#include <cstddef>
#include <unordered_set>
#include <vector>

namespace tin::core {
class Edge;
class Tin;
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
/// Removal runs in passes: a pass holds the outer edges (those of an odd number of
/// triangles, `tin::core::Tin::outerEdges`) in a hash set, looks the edges of the triangles
/// up in it, and removes the slivers only after the whole TIN was examined. Removing a
/// boundary triangle makes its inner neighbours boundary triangles, so passes repeat until
/// one removes nothing.
///
/// Only the triangles on outer edges can be slivers, so a pass examines those, found
/// through the TIN's edge adjacency; the others have three interior edges and stay. The
/// outer edges are collected once; each removal then flips its three edges in the set,
/// which keeps it equal to what `outerEdges` would give. The result, pass by pass, is that
/// of examining every triangle.
///
/// Input: a TIN whose triangles run counter-clockwise, as the triangulation gives them
/// (`tin::core::Triangle::angleRadian` measures counter-clockwise, so a clockwise corner
/// reads as its reflex angle). Cost: one scan of the TIN's edge table, then per pass time
/// in proportion to the outline's length; a pass is never worse than linear in the
/// triangles. The number of passes is the depth of the deepest sliver fan: two or three on
/// most surveys, a dozen or more along the long hull edges of a jittered grid.
class BoundarySliverRemover {
public:
    /// One degree in radians.
    static constexpr double threshold = 0.017453292519943295;

    BoundarySliverRemover() = delete;

    /// Removes boundary slivers pass after pass from `tin`. Returns the number of triangles
    /// each pass removed, in order; the last entry is 0, and an empty TIN runs no pass.
    static std::vector<std::size_t> removeSlivers(tin::core::Tin& tin);

private:
    using EdgeSet = std::unordered_set<const tin::core::Edge*>;

    /// Removes the slivers of one pass and brings `outer` up to date; their number.
    static std::size_t removeOnePass(tin::core::Tin& tin, EdgeSet& outer);
};

} // namespace varnel
