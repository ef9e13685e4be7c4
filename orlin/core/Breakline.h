#pragma once

#include "orlin/core/Geometry.h"
#include "orlin/core/Rect.h"

#include <cstddef>
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
 * A constraint segment of a point set: the triangulation must use it as a side.
 *
 * Ends are shared points recognised by object identity. intersects() is a proper
 * crossing test: breaklines sharing an end, touching or overlapping along a line do
 * not intersect. The GEOS line string is built on first request and kept until the
 * breakline dies; a copy shares the points but not the line string.
 */
class Breakline : public Geometry {
public:
    /// Throws std::invalid_argument when an end is null.
    Breakline(std::shared_ptr<Point> p1, std::shared_ptr<Point> p2);
    Breakline(const Breakline& other);
    ~Breakline() override;
    Breakline& operator=(const Breakline&) = delete;

    const std::shared_ptr<Point>& point1() const { return m_p1; }
    const std::shared_ptr<Point>& point2() const { return m_p2; }
    /// Point i mod 2 for i >= 0.
    const std::shared_ptr<Point>& point(int i) const { return (i & 1) ? m_p2 : m_p1; }
    /// point2 when p is point1's object, else point1.
    const std::shared_ptr<Point>& otherPoint(const Point* p) const { return p == m_p1.get() ? m_p2 : m_p1; }
    /// The end with the smaller y, then the smaller x; point1 on a tie.
    const std::shared_ptr<Point>& bottomPoint() const;

    Rect boundingRect() const;
    /// (1 − t)·z1 + t·z2; t is not clamped.
    double innerElevation(double t) const;
    /// One of other's ends is the same object as one of ours.
    bool hasCommonPoint(const Breakline& other) const;
    /// Proper crossing with no common end.
    bool intersects(const Breakline& other) const;

    geos::geom::LineString* geosLineString() const;
    geos::geom::Geometry* geosGeometry() const override;

private:
    std::shared_ptr<Point> m_p1;
    std::shared_ptr<Point> m_p2;
    mutable std::unique_ptr<geos::geom::LineString> m_geos;
};

/// FNV-1a 64 with fold over the addresses of point1 then point2; order matters.
std::size_t hashBreakline(const Breakline& b);
/// Same point1 object and same point2 object; a reversed breakline is another key.
bool isSameBreakline(const Breakline& a, const Breakline& b);

} // namespace core
} // namespace tin
