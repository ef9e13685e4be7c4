#pragma once

#include "orlin/core/Geometry.h"
#include "orlin/core/Rect.h"

#include <memory>

namespace geos {
namespace geom {
class LineString;
}
}

namespace tin {
namespace core {

class Point;

/**
 * A side of TIN triangles: two shared points and an id (−1 until set).
 *
 * Ends are recognised by object identity, never by coordinates. Edges made by
 * EdgeFactory have the end at the lower address as point1 and are unique per
 * unordered pair of point objects while alive; such an edge removes its own entry
 * from the factory when it dies.
 *
 * The GEOS line string is built on first request from the positions of that moment
 * and kept (in support::GeosCacheTable, so that the millions of edges that never need one do
 * not pay for a pointer) until the edge dies; the edge does not watch its points.
 * 64 bytes on a 64-bit system. Planar lengths.
 */
class Edge : public Geometry, public std::enable_shared_from_this<Edge> {
public:
    /// Throws std::invalid_argument when an end is null.
    Edge(std::shared_ptr<Point> p1, std::shared_ptr<Point> p2);
    Edge(std::shared_ptr<Point> p1, std::shared_ptr<Point> p2, int id);
    ~Edge() override;

    Edge(const Edge&) = delete;
    Edge& operator=(const Edge&) = delete;

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }

    const std::shared_ptr<Point>& point1() const { return m_p1; }
    const std::shared_ptr<Point>& point2() const { return m_p2; }
    /// Point i mod 2 for i >= 0 (0 the first).
    const std::shared_ptr<Point>& point(int i) const { return (i & 1) ? m_p2 : m_p1; }

    /// From the smaller to the larger x and y of the ends; valid, not widened.
    Rect boundingRect() const;
    double lengthSqr() const;
    double length() const;

    geos::geom::LineString* geosLineString() const;
    geos::geom::Geometry* geosGeometry() const override;

private:
    friend class EdgeFactory;

    int m_id;
    bool m_interned = false; // registered in EdgeFactory under (point1, point2)
    mutable bool m_hasGeos = false; // support::GeosCacheTable holds this edge's line string
    std::shared_ptr<Point> m_p1;
    std::shared_ptr<Point> m_p2;
};

} // namespace core
} // namespace tin
