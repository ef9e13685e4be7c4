#include "vec/Vector2D.h"

#include <cmath>

namespace vec {

namespace {

// Sine and cosine of an angle in degrees. The angle is first reduced to [-45, 45] around
// the nearest multiple of 90 degrees, so that quarter turns give exact 0 and 1 and the
// rounding of pi/180 does not grow with large angles.
void sinCosDegrees(double degrees, double& s, double& c)
{
    if (!std::isfinite(degrees)) {
        s = c = std::nan("");
        return;
    }
    double reduced = std::fmod(degrees, 360.0);
    const double quarter = std::round(reduced / 90.0);
    reduced -= quarter * 90.0;
    const double radians = reduced * (M_PI / 180.0);
    const double rs = std::sin(radians);
    const double rc = std::cos(radians);
    switch ((static_cast<int>(quarter) % 4 + 4) % 4) {
    case 0: s = rs; c = rc; break;
    case 1: s = rc; c = -rs; break;
    case 2: s = -rs; c = -rc; break;
    default: s = -rc; c = rs; break;
    }
}

} // namespace

double Vector2D::length() const
{
    return std::hypot(m_x, m_y);
}

Vector2D& Vector2D::rotate(double degrees)
{
    double s = 0.0;
    double c = 1.0;
    sinCosDegrees(degrees, s, c);
    const double x = c * m_x - s * m_y;
    const double y = s * m_x + c * m_y;
    m_x = x;
    m_y = y;
    return *this;
}

Vector2D& Vector2D::operator+=(const Vector2D& other)
{
    m_x += other.m_x;
    m_y += other.m_y;
    return *this;
}

Vector2D& Vector2D::operator-=(const Vector2D& other)
{
    m_x -= other.m_x;
    m_y -= other.m_y;
    return *this;
}

Vector2D& Vector2D::operator*=(double factor)
{
    m_x *= factor;
    m_y *= factor;
    return *this;
}

Vector2D operator+(Vector2D a, const Vector2D& b) { return a += b; }
Vector2D operator-(Vector2D a, const Vector2D& b) { return a -= b; }
Vector2D operator*(Vector2D v, double factor) { return v *= factor; }
Vector2D operator*(double factor, Vector2D v) { return v *= factor; }

} // namespace vec
