#pragma once

// Mapping triangulation output back onto shared points.
//
// A triangulation run hands back bare positions. These free functions find the shared
// Point behind a position (a run's own position table, or a TIN), make the point a
// TIN implies where it has none (elevation interpolated in the TIN, interned through
// the point factory), and trace closed rings along the output edges that carry a
// given marker, creating points where the triangulation split a marked segment.
//
// Failures throw AssertError naming the operation and the position. Points are
// compared by exact x and y; identity decides everything else.

#include "orlin/core/Point2D.h"

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

struct triangleio_t;

namespace tin {
namespace core {
class Point;
class Point2DI;
class PointRing;
class PointSet;
class Tin;
class Triangle;
} // namespace core

namespace util {

struct PositionHash {
    std::size_t operator()(core::Point2D const& p) const;
};

struct PositionEqual {
    bool operator()(core::Point2D const& a, core::Point2D const& b) const
    {
        return a.x() == b.x() && a.y() == b.y();
    }
};

// Exact position to the shared point of a triangulation run.
using PositionPointMap =
    std::unordered_map<core::Point2D, std::shared_ptr<core::Point>, PositionHash, PositionEqual>;

// A point that may stand for a position, with the TIN triangles it belongs to.
struct Candidate {
    std::shared_ptr<core::Point> point;
    std::vector<std::shared_ptr<core::Triangle>> triangles;
};

// The table's point at exactly that position; throws AssertError
// "Point not found in getPointAt at (x, y)" when there is none.
std::shared_ptr<core::Point> getPointAt(core::Point2D const& position, PositionPointMap const& table);

// The TIN's point at the position whose triangles hold the hint; else a point with the
// TIN's elevation there, interned with overwrite. Throws AssertError
// "Interpolation failed in getOrCreatePoint() at (x, y)" when the TIN has neither.
std::shared_ptr<core::Point> getOrCreatePoint(core::Point2DI const& position, core::Tin const& tin,
                                              core::Point2DI const& hint);

// Every point the TIN may mean at the position: its vertices there with their
// triangles, or else one interned point per distinct elevation (1e-8) the TIN has
// there, each with the first triangle that gave it. Throws AssertError
// "Interpolation failed in getOrCreatePoints while trying (x, y)" when none.
std::vector<Candidate> getOrCreatePoints(core::Point2DI const& position, core::Tin const& tin);

// Closed rings along the output edges of the record whose marker equals key. The
// record must hold an edge list with markers (switch e). Ends are resolved in a copy
// of the set, then in the TIN. Throws AssertError when the marked edges do not close.
std::vector<std::shared_ptr<core::PointRing>> ringsFromMarkedEdges(triangleio_t const& record,
                                                                   core::PointSet const& set,
                                                                   core::Tin const& tin, int key);

} // namespace util
} // namespace tin
