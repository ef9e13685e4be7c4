#pragma once

#include "orlin/core/Tin.h"

#include <vector>

namespace varnel {

/// Finds the live triangle objects for the added triangles of a GeoEdit surface read from
/// its archive (see `GeoEditSurfaceItemI::buildAddedTin`). A stored triangle and its live
/// counterpart have the same three vertex objects (the point factory interns vertices), so
/// triangles are matched by the sorted triple of their vertex addresses.
///
/// The candidates, in order, are the edited TIN's triangles and then the removed triangles
/// of each newer surface from the front; the first one over the same vertices that is not
/// itself a triangle put in by a newer surface wins. (A newer surface that took a triangle
/// out and put a new one back on the same vertices leaves two candidates: the object it put
/// in is its own, the one it took out is the older surface's.)
///
/// Input contract: the newer surfaces' added TINs hold live triangles (they are rebound
/// first). Nothing is changed; the result shares the triangles it found.
///
/// Cost: linear in the stored triangles (the edited TIN is asked through the adjacency of
/// one vertex per triangle, never through its spatial index) plus the triangles of the newer
/// surfaces whose added or removed TIN's extent meets the stored TIN's (hashed once each: the
/// removed ones by their vertex triple, the added ones by object).
class AddedTriangleRebinder {
public:
    /// One newer surface: its added and removed triangles.
    struct Surface {
        const tin::core::Tin* added;
        const tin::core::Tin* removed;
    };

    /// The live triangles for `stored`: from `edited` (null counts as empty) and the newer
    /// surfaces, the front first. Throws `common::exception::RuntimeException`
    /// "Fatal error in buildAddedTin." when a stored triangle has no live counterpart.
    static tin::core::Tin rebind(const tin::core::Tin& stored, const tin::core::Tin* edited,
                                 const std::vector<Surface>& newer);
};

} // namespace varnel
