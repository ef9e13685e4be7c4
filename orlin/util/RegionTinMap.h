#pragma once

#include <map>
#include <memory>
#include <vector>

#include "orlin/core/Tin.h"

namespace tin {
namespace core {
class Point2DIRing;
class Triangle;
}  // namespace core

namespace util {

// The re-triangulated triangles of one TIN of an overlay, grouped by region: the key is the
// address of the ring of a ring tree of the overlay's regions (valid while the caller keeps
// the trees); the null key holds the triangles that no region claimed.
using RegionTinMap = std::map<core::Point2DIRing const*, core::Tin>;

// The same grouping as plain lists, each in the order its region TIN holds the triangles, for
// callers that only read the triangles (no TIN is built per region).
using RegionTriangleMap =
    std::map<core::Point2DIRing const*, std::vector<std::shared_ptr<core::Triangle>>>;

}  // namespace util
}  // namespace tin
