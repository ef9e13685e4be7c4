#pragma once

// Triangulation of the inside of a polygon into a flat TIN.
//
// Static operation only; never instantiated. The polygon's vertices (closing vertex
// implicit) are its sides; where sides cross, the triangulation adds a vertex. Every
// vertex of the result has elevation 0 and is interned through the point factory, so
// it is the shared point already registered there at elevation 0 when there is one.
// Coordinates reach the triangulation relative to the centre of the polygon's
// bounding rectangle, which keeps large survey coordinates exact enough.
// A polygon with fewer than three vertices encloses nothing and gives an empty TIN.
// trianglecui::TriangleProcessError passes to the caller.

namespace tin {
namespace core {
class Polygon;
class Tin;
} // namespace core

namespace util {

class PolygonToTin {
public:
    PolygonToTin() = delete;

    static core::Tin convert(core::Polygon const& polygon);
};

} // namespace util
} // namespace tin
