#pragma once

// A TIN turned back into survey data.
//
// convert returns a PointSet holding every vertex of the TIN (the TIN's own shared
// Point objects, no copies), every edge of the TIN as a new Breakline between them, and
// the TIN's outline as region and hole rings. Triangulating that set again with its
// breaklines reproduces the TIN's edges; callers that want a fresh triangulation of
// the same area drop the breaklines first.
//
// - Breaklines that are a side of a region or hole ring are dropped at the end (the
//   ring side constrains the triangulation anyway).
// - An empty TIN gives an empty set.
// - A TIN whose outline cannot be traced into regions and holes (an interior gap that
//   holds no island) throws the AssertError of the outline tracing; nothing is
//   returned then.
// - Cost: linear in the triangles, plus the outline tracing. The TIN must not change
//   during the call.

namespace tin {
namespace core {
class PointSet;
class Tin;
} // namespace core

namespace util {

class TinToPointSet {
public:
    TinToPointSet() = delete;

    static core::PointSet convert(core::Tin const& tin);
};

} // namespace util
} // namespace tin
