#pragma once

#include "orlin/core/Point2DI.h"

#include <memory>

namespace tin::core {

// A segment of the 2-D editing topology between two shared points of one Point2DIRepository.
//
// Edges are shared: Edge2DFactory hands out one Edge2D per unordered pair of repository points,
// so two triangles or rings that share a side hold the same object and are matched by address.
// An edge made by the factory keeps its smaller end point (x, then y) first. The id is a free
// number for the 2-D TIN's own use; it is 0 after construction.
class Edge2D
{
public:
    // The end points are kept in the given order.
    Edge2D(const std::shared_ptr<Point2DI>& a, const std::shared_ptr<Point2DI>& b);
    Edge2D(const Edge2D& other) = default;
    ~Edge2D();

    // Copies both shared end points and the id.
    Edge2D& operator=(const Edge2D& other);

    // The accessors hand out references to the edge's own pointers (no reference count
    // traffic on the hot paths of the overlay); they stay valid while the edge lives.
    const std::shared_ptr<Point2DI>& point1() const { return m_points[0]; }
    const std::shared_ptr<Point2DI>& point2() const { return m_points[1]; }

    // End point i modulo 2; i must not be negative.
    const std::shared_ptr<Point2DI>& point(int i) const { return m_points[i % 2]; }

    // The second point when p is the first point's object, otherwise the first point (also for
    // a p that is neither end).
    const std::shared_ptr<Point2DI>& otherPoint(Point2DI* p) const;

    // The end with the smaller y; on equal y the one with the smaller x; when both coordinates
    // are equal, the first point.
    const std::shared_ptr<Point2DI>& bottomPoint() const;

    double lengthSqr() const;

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }

private:
    std::shared_ptr<Point2DI> m_points[2];
    int m_id;
};

} // namespace tin::core
