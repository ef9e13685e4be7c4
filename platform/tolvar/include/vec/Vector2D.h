#pragma once

namespace vec {

/// A vector in the plane, two doubles x and y, held by value.
///
/// `rotate` turns the vector in place by an angle in degrees, counter-clockwise for a positive
/// angle in a frame whose y axis points up (world coordinates). The length is kept up to
/// rounding (about 1e-16 relative); angles that are multiples of 90 degrees give exact results.
/// Every operation is constant time; nothing is allocated.
class Vector2D {
public:
    Vector2D() = default;
    Vector2D(double x, double y) : m_x(x), m_y(y) {}

    double x() const { return m_x; }
    double y() const { return m_y; }

    /// Euclidean length, without overflow for large components.
    double length() const;

    /// Turns this vector by `degrees`, counter-clockwise; returns it for chaining. A NaN or
    /// infinite angle gives a NaN vector.
    Vector2D& rotate(double degrees);

    Vector2D& operator+=(const Vector2D& other);
    Vector2D& operator-=(const Vector2D& other);
    Vector2D& operator*=(double factor);

private:
    double m_x = 0.0;
    double m_y = 0.0;
};

Vector2D operator+(Vector2D a, const Vector2D& b);
Vector2D operator-(Vector2D a, const Vector2D& b);
Vector2D operator*(Vector2D v, double factor);
Vector2D operator*(double factor, Vector2D v);

} // namespace vec
