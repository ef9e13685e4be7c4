#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "orlin/core/Geometry.h"
#include "orlin/core/Rect.h"

namespace geos {
namespace geom {
class Geometry;
class LinearRing;
}  // namespace geom
}  // namespace geos

namespace tin {
namespace core {

class Edge2D;
class Point2DI;
class Polygon;

// A closed ring of shared 2-D points (of one Point2DIRepository), stored in a canonical order
// so that two rings over the same cycle of point objects hold the same entries whatever
// point and direction they were traced from: the first entry is the lowest point (smallest
// y, then smallest x), the second is the neighbour of it that comes first in that order, and
// the last entry repeats the first. The order is not an orientation.
//
// Membership and sides are decided by object identity, never by coordinates; areas go to
// GEOS. The bounding rectangle, the sorted membership table and the GEOS ring are built on
// first use and owned by the ring. Rings do not change after construction.
class Point2DIRing : public Geometry {
public:
    // points: a closed list (first point repeated at the end) of at least three entries.
    // Throws std::invalid_argument for a shorter or an unclosed list.
    explicit Point2DIRing(std::vector<std::shared_ptr<Point2DI>> const& points);
    Point2DIRing(std::initializer_list<std::shared_ptr<Point2DI>> const& points);
    Point2DIRing(Point2DIRing const& other);
    // The source is left without a record and may only be destroyed.
    Point2DIRing(Point2DIRing&& other) noexcept;
    Point2DIRing& operator=(Point2DIRing const&) = delete;
    ~Point2DIRing() override;

    std::vector<std::shared_ptr<Point2DI>> points() const;
    int segmentCount() const;
    Rect boundingRect() const;
    // Whether the very object p is a point of the ring (O(log n)).
    bool contains(Point2DI* p) const;
    // Whether e joins two neighbouring entries of the ring, at any pass of the ring through
    // e's ends (O(log n)).
    bool containsEdge(Edge2D const& e) const;
    bool isSameRing(Point2DIRing const& other) const;

    // The cached GEOS ring (normalized), owned by this ring.
    geos::geom::LinearRing* geosLinearRing() const;
    geos::geom::Geometry* geosGeometry() const override;
    // A polygon over copies of the entries, closing entry included.
    Polygon toPolygon() const;

private:
    Point2DIRing();
    void setCanonical(std::vector<std::shared_ptr<Point2DI>> const& closed);
    void buildSortedPoints() const;

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace core
}  // namespace tin
