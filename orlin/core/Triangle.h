#pragma once

#include "orlin/core/Edge.h"
#include "orlin/core/Geometry.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/RectRef.h"

#include <cstdint>
#include <memory>

namespace geos {
namespace geom {
class Polygon;
}
}

namespace tin {
namespace core {

class Point;

/**
 * A face of a TIN: three shared vertices and the three shared sides, edge i lying
 * opposite point i (edge1 = point2–point3, edge2 = point3–point1, edge3 =
 * point1–point2). Only the edges are held: a vertex is the end it shares with the
 * next edge (point1 an end of edge2, point2 of edge3, point3 of edge1), one bit says
 * which, and the point accessors return references into the edges. With the GEOS
 * polygon kept outside (below), a triangle costs 64 bytes on a 64-bit system instead
 * of 120.
 *
 * The bounding box refers to the coordinates of the vertices that were extreme when
 * the triangle was made, so it follows moved vertices as long as the same vertices
 * stay extreme. Only which vertex is extreme is stored (a byte), the RectRef is made
 * on request.
 *
 * Interpolation is barycentric and planar; barycentric weights down to −1e-8 count
 * as inside. Vertex order may be either orientation; area() is never negative.
 *
 * The GEOS polygon is built on first request (normalised) from the positions of that
 * moment and kept (in support::GeosCacheTable, so that the millions of triangles that never need
 * one do not pay for a pointer) until the triangle dies. Not synchronised.
 */
class Triangle : public Geometry {
public:
    /// Throws std::invalid_argument when a point or an edge is null, or when the ends of
    /// edge i are not the two points other than point i.
    Triangle(std::shared_ptr<Point> p1, std::shared_ptr<Point> p2, std::shared_ptr<Point> p3,
             std::shared_ptr<Edge> e1, std::shared_ptr<Edge> e2, std::shared_ptr<Edge> e3);
    ~Triangle() override;
    Triangle(const Triangle&) = delete;
    Triangle& operator=(const Triangle&) = delete;

    const std::shared_ptr<Point>& point1() const { return vertex(0); }
    const std::shared_ptr<Point>& point2() const { return vertex(1); }
    const std::shared_ptr<Point>& point3() const { return vertex(2); }
    /// Point i mod 3 for i >= 0 (0 is point1).
    const std::shared_ptr<Point>& point(int i) const { return vertex(i % 3); }

    const std::shared_ptr<Edge>& edge1() const { return m_edges[0]; }
    const std::shared_ptr<Edge>& edge2() const { return m_edges[1]; }
    const std::shared_ptr<Edge>& edge3() const { return m_edges[2]; }
    /// Edge i mod 3 for i >= 0 (0 is edge1).
    const std::shared_ptr<Edge>& edge(int i) const { return m_edges[i % 3]; }

    /// The first edge of which p's object is neither end; null when p is an end of all.
    std::shared_ptr<Edge> opposite(const std::shared_ptr<Point>& p) const;
    /// The first vertex that is neither end of e (identity); null when there is none.
    std::shared_ptr<Point> opposite(const std::shared_ptr<Edge>& e) const;

    /// Box over the extreme vertices' coordinates; valid while the vertices live.
    RectRef boundingRect() const;
    /// Never negative; 0 for a collinear triangle.
    double area() const;
    /// Counter-clockwise angle at vertex i from the next vertex to the one after.
    double angleRadian(int i) const;
    /// Barycentric weights of point1, point2, point3 for p (collinear: undefined).
    void calcSTU(const Point2DI& p, double* s, double* t, double* u) const;
    /**
     * Elevation of the triangle's plane at p into *z. False when p lies outside (the
     * box test first, unless skipBox; then weights below −1e-8); *z is then untouched.
     * At a vertex's exact position its elevation is returned. A collinear triangle
     * interpolates nowhere else.
     */
    bool interpolateElevation(const Point2DI& p, double* z, bool skipBox) const;
    /// The centroid, id −1.
    Point2D getInteriorPoint() const;

    geos::geom::Polygon* geosPolygon() const;
    geos::geom::Geometry* geosGeometry() const override;

private:
    /// Vertex i (0..2): an end of the edge after edge i.
    const std::shared_ptr<Point>& vertex(int i) const
    {
        return m_edges[(i + 1) % 3]->point((m_ends >> i) & 1);
    }

    std::shared_ptr<Edge> m_edges[3];
    // Two bits per bound: vertex index of xMin, xMax, yMin, yMax.
    std::uint8_t m_extremes;
    // Bit i: vertex i is point2 (not point1) of edge (i + 1) mod 3.
    std::uint8_t m_ends;
    mutable bool m_hasGeos = false; // support::GeosCacheTable holds this triangle's polygon
};

} // namespace core
} // namespace tin
