#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace tin {
namespace core {
class Point2DIRingTree;
class Tin;
}  // namespace core

namespace util {

// The callback through which the caller of an overlay of two TINs prunes the traced regions
// before the TINs are re-triangulated: it receives the ring trees (and may erase or reorder
// them), the first and the second TIN. An empty processor makes the overlay throw
// std::bad_function_call.
using RegionProcessor = std::function<void(std::vector<std::shared_ptr<core::Point2DIRingTree>>&,
                                           core::Tin const&, core::Tin const&)>;

// Which region TINs of one TIN an overlay's caller will read: asked once per region of the
// pruned trees with that region's node, and once with null for the triangles no region claimed.
// A region left out still claims its triangles (they go to no other key); it only gets no TIN,
// which saves building it. Asked after the processor has run.
using RegionSelector = std::function<bool(core::Point2DIRingTree const* region, bool ofFirst)>;

}  // namespace util
}  // namespace tin
