#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace tin {
namespace core {
class Point2DI;
class Triangle;
}  // namespace core

namespace util {

// A uniform bucket grid over the bounding rectangles of a list of triangles, for finding the
// triangle under a point when thousands of points are looked up in one list: each cell lists
// the numbers of the triangles whose rectangle meets it, ascending, so a look-up sees the
// candidates in list order whatever the grid's shape.
//
// About one triangle per cell over the rectangle of the whole list; a triangle is filed in
// every cell its rectangle meets, and where long thin triangles would make that more than 16
// filings per triangle the cells are made coarser. Building is linear in the triangles (a few
// passes, no per-cell allocation); a look-up costs one cell. The list is shared, not copied: the grid
// holds the triangles it was built from. Triangles must not move in the plane afterwards.
class TriangleBucketGrid {
public:
    explicit TriangleBucketGrid(std::vector<std::shared_ptr<core::Triangle>> triangles);

    std::vector<std::shared_ptr<core::Triangle>> const& triangles() const { return m_triangles; }

    // The numbers of the triangles whose rectangle may hold (x, y), ascending; empty off the
    // grid.
    std::pair<std::uint32_t const*, std::uint32_t const*> candidates(double x, double y) const;

    // The first triangle in list order that holds p (Triangle::interpolateElevation with its
    // rectangle test), or null.
    std::shared_ptr<core::Triangle> findContaining(core::Point2DI const& p) const;

    static constexpr std::uint32_t NONE = 0xffffffffu;
    // The number in the list of findContaining(p), or NONE.
    std::uint32_t findContainingNumber(core::Point2DI const& p) const;

    // OverlayTriangulation::planeElevation of triangle number n at (x, y), read from the
    // corners kept here: a corner's own elevation at the corner, else the plane through the
    // three corners (the barycentric weights of Triangle, in its arithmetic).
    double planeElevation(std::uint32_t n, double x, double y) const;

private:
    std::vector<std::shared_ptr<core::Triangle>> m_triangles;
    // x0, y0, x1, y1 of each triangle's rectangle, read before the triangle itself.
    std::vector<double> m_boxes;
    // x, y, z of each triangle's three corners in its own order: the containment test and the
    // plane read them here, beside each other, instead of in three point objects.
    std::vector<double> m_corners;
    double m_x0 = 0.0;
    double m_y0 = 0.0;
    double m_cell = 1.0;
    std::int64_t m_columns = 0;
    std::int64_t m_rows = 0;
    std::vector<std::uint32_t> m_cellStart;
    std::vector<std::uint32_t> m_cellTriangles;
};

}  // namespace util
}  // namespace tin
