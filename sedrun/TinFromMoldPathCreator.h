#pragma once

#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Tin.h"

#include <cstdint>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

namespace mold {
namespace core {
class Mold;
}
} // namespace mold

namespace tincreator {
namespace util {

/// Sweeps a mold along a 3-D path into a TIN, and gives the outline of the swept surface.
///
/// The mold is placed across the path at a sequence of positions (sections): near both sides
/// of every corner where the path turns, cut back far enough that the sections of a bend do
/// not cross on its inner side, and at the path vertices that lie on a straight stretch.
/// Offsets l of the mold are measured to the right of the walking direction; a section point
/// lies at l[i] across the path and h[i] above the path's elevation there. Consecutive
/// sections are joined by two triangles per pair of mold points; a closed path also joins its
/// last section to its first. A TIN of s sections and m mold points has 2(m-1)(s-1) triangles
/// when open, 2(m-1)s when closed, less the triangles that interning makes degenerate.
///
/// Corners: on an open path its two ends and every vertex whose neighbours are not exactly
/// collinear, except the vertices in the pinned set (indexes into the path as given); on a
/// closed path every vertex not exactly collinear with its neighbours (pinned is ignored).
/// A 180-degree reversal counts as collinear, i.e. as straight on.
///
/// Degenerate paths end and give finite points: repeated points (also a closed path's
/// repeated first point) are merged into one before the walk; a closed path needs three
/// corners and an open one two, or there are no sections. Points are interned through
/// tin::core::PointFactory. A path or mold with a value that is not finite is refused with
/// common::exception::RuntimeException.
///
/// The mold is held by reference and must outlive the creator; the path is copied. Every call
/// recomputes everything, in O(c^2 + s m) for c corners, s sections and m mold points.
class TinFromMoldPathCreator
{
public:
    /// Levelling of the first and the last section of an open path.
    enum FlattenTo
    {
        Highest = 0, ///< every point of the section gets its highest elevation
        Lowest = 1,  ///< ... its lowest
        None = 2
    };

    TinFromMoldPathCreator(const mold::core::Mold& mold, const std::vector<tin::core::Point>& path);
    TinFromMoldPathCreator(const TinFromMoldPathCreator& other);
    TinFromMoldPathCreator& operator=(const TinFromMoldPathCreator&) = delete;
    ~TinFromMoldPathCreator();

    /// The swept TIN; empty (and isValid() false) when the path gives no section. A closed path
    /// with a flattening other than None throws common::exception::RuntimeException and leaves
    /// isValid() false.
    tin::core::Tin createTin(bool closed, const std::unordered_set<std::uint64_t>& pinned,
                             FlattenTo flattenTo);

    /// Whether the last createTin produced at least one section.
    bool isValid() const;

    /// Open: the first points of the sections in order, then their last points backwards (2s
    /// vertices). Closed: the first side as a ring, across section 0, the second side as a
    /// ring backwards, back across section 1 (2s + 4 vertices). Empty without sections.
    tin::core::Polygon createOutlinePolygon(bool closed) const;

    /// The first (firstSide) or the last point of every section, in order.
    std::vector<tin::core::Point> createOutlineSide(bool firstSide, bool closed) const;

private:
    using Section = std::vector<tin::core::Point>;

    std::vector<std::pair<tin::core::Point, tin::core::Point>> createOutline(bool closed) const;
    std::vector<Section> computeSections(bool closed,
                                         const std::unordered_set<std::uint64_t>& pinned) const;
    static void flatten(Section& section, FlattenTo flattenTo);
    static tin::core::Tin stitch(const std::vector<Section>& sections, bool closed);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace util
} // namespace tincreator
