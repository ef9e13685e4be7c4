#pragma once

#include "movarin/survey/GcpTableRow.h"

#include "orlin/core/Rect.h"

#include <QPointF>

#include <cstddef>
#include <vector>

namespace tin::core {
class Polygon;
}

namespace varnel {

/// The geometric tests with which the georeference pane and the main view's control-point
/// modes pick pairs: which positions lie inside a rubber band, and whether a press grabs
/// the current selection. Pure functions over lists of positions (the sources of the
/// table in the pane, the destinations on the main view), in world units; the callers
/// convert their pixel tolerances. Each is linear in its positions.
class GcpSelectionGeometry {
public:
    GcpSelectionGeometry() = delete;

    /// The source (pane) positions of the rows, in row order.
    static std::vector<QPointF> sources(const GcpTable& table);
    /// The destination (map) positions of the rows, in row order.
    static std::vector<QPointF> destinations(const GcpTable& table);

    /// The indices of the positions strictly inside the convex `polygon`, in order. A
    /// position is inside when, for every edge of non-zero length (the closing edge
    /// included), it lies strictly on the same side as for the others; a position on an
    /// edge's line is outside, and a polygon with fewer than three edges of non-zero
    /// length contains nothing. Either orientation is accepted.
    static std::vector<std::size_t> indicesInsidePolygon(const std::vector<QPointF>& positions,
                                                         const tin::core::Polygon& polygon);

    /// The bounding rectangle of the positions; not valid when there are none.
    static tin::core::Rect bounds(const std::vector<QPointF>& positions);

    /// Whether a press at `press` grabs the selection whose positions are `selected`.
    /// `tolerance` is the world size of the pixel tolerance along x and y (its components'
    /// absolute values are used, so the sign of a flipped axis does not matter).
    /// - Nothing selected: false.
    /// - One position: the press lies in the rhombus around it with half-diagonals
    ///   tolerance.x and tolerance.y.
    /// - Several: when their bounds are wider than 2·tolerance.x and taller than
    ///   2·tolerance.y, the press lies in the bounds; otherwise it lies in the rhombus
    ///   around the bounds' centre whose half-diagonal along each axis is half the bounds'
    ///   extent where that extent passed its comparison and the tolerance where it did
    ///   not (so a selection flat in one direction can still be grabbed along it).
    /// Boundaries count as inside.
    static bool hitsSelection(const std::vector<QPointF>& selected, const QPointF& press,
                              const QPointF& tolerance);
};

} // namespace varnel
