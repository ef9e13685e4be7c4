#pragma once

#include "orlin/core/Point3DI.h"

namespace tin {
namespace core {

/// Plain 3-D coordinate triple; all zero by default.
class Point3D : public Point3DI {
public:
    Point3D() = default;
    Point3D(double x, double y, double z) : m_x(x), m_y(y), m_z(z) {}
    Point3D(const Point3D& other) = default;
    /// Reads x(), y() and z() through the interface.
    Point3D(const Point3DI& other) : m_x(other.x()), m_y(other.y()), m_z(other.z()) {}

    Point3D& operator=(const Point3D& other) = default;

    double x() const override { return m_x; }
    double y() const override { return m_y; }
    double z() const override { return m_z; }

private:
    double m_x = 0.0;
    double m_y = 0.0;
    double m_z = 0.0;
};

} // namespace core
} // namespace tin
