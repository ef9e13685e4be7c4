#pragma once

#include "orlin/core/Geometry.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Rect.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace geos::geom {
class Geometry;
class Polygon;
} // namespace geos::geom

namespace tin::core {

class Edge2D;

// An editable, open vertex list of plain 2-D positions read as a polygon without holes: a
// user-drawn outline, a clipping or selection area, a polygon to triangulate.
//
// The closing side is implicit (the GEOS ring repeats the first vertex); either orientation is
// accepted, and the GEOS polygon is brought into GEOS's normal form. Vertex ids travel with the
// vertices but take part in no test. The bounding rectangle and the GEOS polygon are built on
// first (also const) request, owned by the polygon and dropped by every edit; callers never
// delete the returned GEOS pointer. GEOS refuses a polygon of one or two vertices when its
// geometry is first built; an empty polygon has an empty GEOS polygon. Index arguments out of
// range throw std::out_of_range. Copies share nothing. Single-threaded.
class Polygon : public Geometry
{
public:
    Polygon();
    explicit Polygon(const std::vector<Point2D>& vertices);
    Polygon(std::initializer_list<Point2D> vertices);
    Polygon(const Polygon& other);
    Polygon(Polygon&& other) noexcept;
    Polygon& operator=(const Polygon& other);
    Polygon& operator=(Polygon&& other) noexcept;
    ~Polygon() override;

    void addPoint(const Point2D& p);
    // Inserts before position index, 0 to pointsCount().
    void insertPoint(int index, const Point2D& p);
    void removePoint(int index);
    // Removes the first vertex at exactly p's x and y; throws common::exception::RuntimeException
    // "The point to remove not found." when there is none, leaving the polygon unchanged.
    void removePoint(const Point2D& p);
    void removeLastPoint();
    void setPoint(int index, const Point2D& p);
    void setLastPoint(const Point2D& p);
    void clear();

    bool empty() const;
    const std::vector<Point2D>& points() const;
    int pointsCount() const;
    // Invalid for an empty polygon.
    Rect boundingRect() const;

    geos::geom::Polygon* geosPolygon() const;
    geos::geom::Geometry* geosGeometry() const override;

    // The linear pieces of the intersection with g, one edge per consecutive coordinate pair of
    // every piece, each between two new Point2D with id -1. The caller owns the returned edges.
    // GEOS exceptions of the intersection propagate.
    std::vector<Edge2D*> intersectionEdges(geos::geom::Geometry* g) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tin::core
