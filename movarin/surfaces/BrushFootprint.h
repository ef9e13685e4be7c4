#pragma once

#include "orlin/core/Point2D.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"

namespace varnel {

/// The areas a square brush of side `size` covers on the plan, in model metres.
///
/// A mouse move from p1 to p2 brushes `sweptBrushPolygon`: what the square's trailing side
/// (two corners) or trailing corner (three) sweeps, so a rectangle for a move along an axis and
/// a hexagon otherwise. The square at p2 itself is left to the next move or to the release,
/// which brushes `brushSquare`. Consecutive moves therefore never brush the same strip twice.
class BrushFootprint {
public:
    BrushFootprint() = delete;

    /// p1 plus the trailing corners in the order of the direction's table, then p2 plus them
    /// in reverse order; an empty polygon when p1 and p2 are the same position.
    static tin::core::Polygon sweptBrushPolygon(const tin::core::Point2D& p1,
                                                const tin::core::Point2D& p2, double size);
    /// The square centred on p: p + (-h, -h), (h, -h), (h, h), (-h, h), h = size / 2.
    static tin::core::Polygon brushSquare(const tin::core::Point2D& p, double size);
    /// The same square as a valid rectangle, for drawing.
    static tin::core::Rect brushRect(const tin::core::Point2D& p, double size);
};

} // namespace varnel
