#pragma once

namespace tin {
namespace core {

/// A 3-D vector seen through its coordinates (facet normals of the STL export).
class Point3DI {
public:
    virtual ~Point3DI();

    virtual double x() const = 0;
    virtual double y() const = 0;
    virtual double z() const = 0;

protected:
    Point3DI() = default;
    Point3DI(const Point3DI&) = default;
    Point3DI& operator=(const Point3DI&) = default;
};

} // namespace core
} // namespace tin
