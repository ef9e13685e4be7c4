#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemController.h"

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"

#include <cstddef>
#include <vector>

namespace varnel {

/// A reference line of a surface path: a direction (any length; its id means nothing)
/// attached to a path vertex, the guide along which the path's angles are read. Record i
/// belongs to vertex i, which starts segment i; a path of n >= 2 vertices has n - 1 records,
/// a shorter one none. A line is `defined` once the user set it; until then it is the
/// vertex's default: (0, 1) for vertex 0, else the direction of the segment that arrives at
/// the vertex. Reference lines never change the surface, its mold or its TINs.
///
/// The static operations keep a list in step with its path (`path` is the path after the
/// change): a default line follows the vertices that define it, a user's line stays as set.
/// Each is O(1) amortised plus the shift of the list.
class GeoEditSurfaceItemController::ReferenceLine {
public:
    tin::core::Point2D direction{0.0, 1.0};
    bool defined = false;

    bool operator==(const ReferenceLine& other) const;
    bool operator!=(const ReferenceLine& other) const { return !(*this == other); }

    /// The default line of vertex `i` of `path` (0 < i < path size for a segment's direction).
    static ReferenceLine defaultFor(const std::vector<tin::core::Point>& path, std::size_t i);
    /// The default line of every vertex but the last.
    static ReferenceLines defaultsFor(const std::vector<tin::core::Point>& path);

    /// A vertex was inserted at `index`.
    static void afterInsert(ReferenceLines& lines, const std::vector<tin::core::Point>& path,
                            std::size_t index);
    /// The vertex at `index` was removed.
    static void afterRemove(ReferenceLines& lines, const std::vector<tin::core::Point>& path,
                            std::size_t index);
    /// The vertex at `index` was moved.
    static void afterMove(ReferenceLines& lines, const std::vector<tin::core::Point>& path,
                          std::size_t index);

private:
    /// A default record k becomes the default of vertex k again (nothing beyond the list).
    static void refresh(ReferenceLines& lines, const std::vector<tin::core::Point>& path,
                        std::size_t k);
};

} // namespace varnel
