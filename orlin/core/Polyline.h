#pragma once

#include "orlin/core/Geometry.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Rect.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace geos::geom {
class Geometry;
class LineString;
} // namespace geos::geom

namespace tin::core {

// An editable vertex list of plain 2-D positions read as an open path: a user-drawn section line
// or route.
//
// Vertex ids travel with the vertices but take part in no test. The bounding rectangle and the
// GEOS line string are built on first (also const) request, owned by the polyline and dropped by
// every edit; callers never delete the returned GEOS pointer. GEOS refuses a line string of
// exactly one vertex when it is first built. Index arguments out of range throw
// std::out_of_range. Copies share nothing. Single-threaded.
class Polyline : public Geometry
{
public:
    Polyline();
    explicit Polyline(const std::vector<Point2D>& vertices);
    Polyline(std::initializer_list<Point2D> vertices);
    Polyline(const Polyline& other);
    Polyline(Polyline&& other) noexcept;
    Polyline& operator=(const Polyline& other);
    Polyline& operator=(Polyline&& other) noexcept;
    ~Polyline() override;

    void addPoint(const Point2D& p);
    // Inserts before position index, 0 to pointsCount().
    void insertPoint(int index, const Point2D& p);
    void removePoint(int index);
    // Removes the first vertex at exactly p's x and y; throws common::exception::RuntimeException
    // "The point to remove not found." when there is none, leaving the polyline unchanged.
    void removePoint(const Point2D& p);
    void removeLastPoint();
    void setPoint(int index, const Point2D& p);
    void setLastPoint(const Point2D& p);
    void clear();

    bool empty() const;
    const std::vector<Point2D>& points() const;
    int pointsCount() const;
    // Invalid for an empty polyline.
    Rect boundingRect() const;

    geos::geom::LineString* geosLineString() const;
    geos::geom::Geometry* geosGeometry() const override;

    // The point pieces of the intersection with g, in the intersection's component order, with
    // id -1; pieces where the two overlap along a line yield nothing. GEOS exceptions propagate.
    std::vector<Point2D> intersectionPoints(geos::geom::Geometry* g) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tin::core
