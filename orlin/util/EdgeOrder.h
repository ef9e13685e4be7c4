#pragma once

#include <memory>

namespace tin {
namespace core {
class Edge2D;
}  // namespace core

namespace util {

// Strict weak order of shared 2-D edges used by the ring tracing: lowest y of the two ends,
// then lowest x, then (for edges leaving the same lower-left corner) the direction
// point1 -> point2 counter-clockwise, then the shorter, then both end points (y, then x) and
// finally the object address. Equal objects are equivalent; no two distinct edges are.
struct EdgeOrder {
    bool operator()(std::shared_ptr<core::Edge2D> const& a,
                    std::shared_ptr<core::Edge2D> const& b) const;
};

}  // namespace util
}  // namespace tin
