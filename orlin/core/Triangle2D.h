#pragma once

#include <memory>

#include "orlin/core/Point2D.h"

namespace tin {
namespace core {

class Point2DI;
class Edge2D;

// A triangle of a 2-D TIN (Tin2D): three shared vertices of a Point2DIRepository and the
// three shared sides of the Edge2DFactory bound to it. Side i is opposite vertex i, so
// side 0 joins vertices 1 and 2. Copies share vertices and sides; nothing is checked about
// whether the sides fit the vertices (Tin2D::addTriangle makes them fit).
class Triangle2D {
public:
    Triangle2D(std::shared_ptr<Point2DI> const& p1, std::shared_ptr<Point2DI> const& p2,
               std::shared_ptr<Point2DI> const& p3, std::shared_ptr<Edge2D> const& e1,
               std::shared_ptr<Edge2D> const& e2, std::shared_ptr<Edge2D> const& e3);
    Triangle2D(Triangle2D const& other) = default;
    Triangle2D& operator=(Triangle2D const& other) = default;
    ~Triangle2D() = default;

    std::shared_ptr<Point2DI> const& point1() const { return m_p1; }
    std::shared_ptr<Point2DI> const& point2() const { return m_p2; }
    std::shared_ptr<Point2DI> const& point3() const { return m_p3; }
    // Vertex i modulo 3; i must not be negative.
    std::shared_ptr<Point2DI> const& point(int i) const;

    std::shared_ptr<Edge2D> const& edge1() const { return m_e1; }
    std::shared_ptr<Edge2D> const& edge2() const { return m_e2; }
    std::shared_ptr<Edge2D> const& edge3() const { return m_e3; }
    // Side i modulo 3; i must not be negative.
    std::shared_ptr<Edge2D> const& edge(int i) const;

    // The centroid, id -1.
    Point2D getInteriorPoint() const;

private:
    std::shared_ptr<Point2DI> m_p1;
    std::shared_ptr<Point2DI> m_p2;
    std::shared_ptr<Point2DI> m_p3;
    std::shared_ptr<Edge2D> m_e1;
    std::shared_ptr<Edge2D> m_e2;
    std::shared_ptr<Edge2D> m_e3;
};

}  // namespace core
}  // namespace tin
