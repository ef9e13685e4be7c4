#pragma once

#include "orlin/core/Point2DI.h"

namespace geos {
namespace geom {
class Point;
}
}

namespace tin {
namespace core {

/**
 * Plain 2-D point value: x, y and an id (−1, "undefined", unless given).
 *
 * boundingRect() is the degenerate valid rectangle at the position, not widened.
 */
class Point2D : public Point2DI {
public:
    Point2D() = default;
    Point2D(double x, double y) : m_x(x), m_y(y) {}
    Point2D(double x, double y, int id) : m_x(x), m_y(y), m_id(id) {}
    Point2D(const Point2D& other) = default;
    /// Reads x(), y() and id() through the interface.
    Point2D(const Point2DI& other);
    /// Takes getX() and getY(); id −1.
    explicit Point2D(const geos::geom::Point& point);

    Point2D& operator=(const Point2D& other) = default;

    double x() const override { return m_x; }
    double y() const override { return m_y; }
    int id() const override { return m_id; }
    void setId(int id) override { m_id = id; }
    Rect boundingRect() const override;

private:
    double m_x = 0.0;
    double m_y = 0.0;
    int m_id = -1;
};

} // namespace core
} // namespace tin

// The vector operators on Point2DI return Point2D; make them available with it.
#include "orlin/core/GeometryFunctions.h"
