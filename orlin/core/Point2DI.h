#pragma once

#include "orlin/core/Rect.h"

namespace tin {
namespace core {

/**
 * A 2-D point seen through its coordinates and id.
 *
 * Implemented by the value type Point2D and by the shared survey Point. The free
 * vector operations of GeometryFunctions.h work on this interface; they compare
 * positions exactly and ignore ids.
 */
class Point2DI {
public:
    virtual ~Point2DI();

    virtual double x() const = 0;
    virtual double y() const = 0;
    virtual int id() const = 0;
    virtual void setId(int id) = 0;
    virtual Rect boundingRect() const = 0;

    /// x² + y², the squared length of the position as a vector.
    double lengthSqr() const;
    /// √(x² + y²).
    double length() const;

protected:
    Point2DI() = default;
    Point2DI(const Point2DI&) = default;
    Point2DI& operator=(const Point2DI&) = default;
};

} // namespace core
} // namespace tin
