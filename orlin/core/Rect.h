#pragma once

#include <vector>

namespace tin {
namespace core {

class Point2DI;
class Point2D;

/**
 * Closed axis-parallel rectangle with a valid flag.
 *
 * A default-constructed Rect is invalid: it contains no point, intersects nothing
 * and lies inside nothing. A valid Rect keeps xMin <= xMax and yMin <= yMax; the
 * four-coordinate constructor sorts its arguments. width(), height() and area() do
 * not look at the valid flag. Every comparison with a NaN fails.
 */
class Rect {
public:
    /// All bounds 0, not valid.
    Rect();
    /// The box spanned by two corners in any order; valid.
    Rect(double x1, double y1, double x2, double y2);
    /// Bounding box of the points; an empty vector gives Rect().
    explicit Rect(const std::vector<Point2D>& points);

    double xMin() const { return m_xMin; }
    double xMax() const { return m_xMax; }
    double yMin() const { return m_yMin; }
    double yMax() const { return m_yMax; }
    bool isValid() const { return m_valid; }

    double width() const { return m_xMax - m_xMin; }
    double height() const { return m_yMax - m_yMin; }
    double area() const { return (m_yMax - m_yMin) * (m_xMax - m_xMin); }

    /// Valid and p within the closed bounds.
    bool contains(const Point2DI& p) const;
    /// Both valid and the closed boxes meet; touching boxes intersect.
    bool intersects(const Rect& r) const;
    /// Both valid and this box lies within r (equal boxes lie inside each other).
    bool isInside(const Rect& r) const;

private:
    double m_xMin;
    double m_xMax;
    double m_yMin;
    double m_yMax;
    bool m_valid;
};

} // namespace core
} // namespace tin
