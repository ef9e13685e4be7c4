#ifndef TRIANGLECUI_SEGMENTSPLITTER_H
#define TRIANGLECUI_SEGMENTSPLITTER_H

#include "orlin/support/HugePageAllocatorT.h"

#include <cstddef>
#include <vector>

namespace trianglecui {

// Cuts segments at the points where they cross, so that a constrained triangulation can take the
// subsegments without constructing a point itself (a triangulation that resolves crossings one at a
// time keeps a history of every constraint, which costs several microseconds per segment).
//
// Input: vertex positions (x, y of vertex i at 2i and 2i + 1, finite) and segments as pairs of
// vertex ids, each position under one id. A segment whose two ends are one id has no subsegments.
// Segments that only touch (an end on the other, or overlapping on one line) are not cut: the
// triangulation splits a constraint at a vertex lying on it without constructing anything.
//
// Crossings: exact predicates decide whether two segments cross in their interiors. The crossing
// point is computed in double precision the way the triangulation rounds a crossing it meets
// itself: recomputed almost exactly where the double one strays from either line by more than a few
// units in the last place, and snapped to an end of either segment within four such units. Rounded
// crossings may make subsegments cross other subsegments (only near-degenerate input does: several
// crossings within rounding of each other or of a vertex). With Rounds::UntilSettled those are cut
// in further rounds until no two subsegments cross (converged is false when that takes more than a
// few rounds); with Rounds::One the subsegments are left as they are and a caller that cannot take
// crossing subsegments must find them itself (a constrained triangulation that rejects crossing
// constraints does), at no cost where there are none.
//
// Output: created vertices get the ids vertexCount, vertexCount + 1, ... in order of creation:
// by round, then by the later of the two segments in input order, then along it. Several
// crossings may round to one position and an created vertex may fall on an input position; the
// caller merges those. Each segment becomes a chain of vertex ids from its first end to its
// second, consecutive ids at distinct positions.
//
// Cost: a uniform grid of about one cell per subsegment, so O(n + k) for n segments with k
// crossings when the segments are short against their extent (the edges of two TINs); a segment
// spanning the extent is filed in the cells along it only. Each further round costs about as much
// again, for three times the subsegments when most segments were cut.
class SegmentSplitter
{
public:
    enum class Rounds { One, UntilSettled };

    template <typename T>
    using Array = std::vector<T, tin::support::HugePageAllocatorT<T>>;

    struct Result
    {
        Array<double> created;           // x, y per created vertex, in order of creation
        Array<std::size_t> chainStart;   // chain of segment s: chains[chainStart[s], chainStart[s + 1])
        Array<int> chains;               // vertex ids along each segment
        bool converged = true;
    };

    static Result split(std::vector<double> const& positions, std::vector<int> const& segments,
                        Rounds rounds = Rounds::UntilSettled);
};

} // namespace trianglecui

#endif
