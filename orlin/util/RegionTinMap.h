#pragma once

#include <map>

#include "orlin/core/Tin.h"

namespace tin {
namespace core {
class Point2DIRing;
}  // namespace core

namespace util {

// The re-triangulated triangles of one TIN of an overlay, grouped by region: the key is the
// address of the ring of a ring tree of the overlay's regions (valid while the caller keeps
// the trees); the null key holds the triangles that no region claimed.
using RegionTinMap = std::map<core::Point2DIRing const*, core::Tin>;

}  // namespace util
}  // namespace tin
