#pragma once

namespace tin {
namespace core {

class Point2DI;

/**
 * Rectangle whose four bounds are doubles held elsewhere (a triangle's vertices).
 *
 * It reads the referenced doubles on every call, so it follows them when they move.
 * It never owns them: its user guarantees that they outlive it. Note the constructor
 * order xMin, yMin, xMax, yMax. isValid() is always true; contains() uses closed
 * bounds.
 */
class RectRef {
public:
    RectRef(const double& xMin, const double& yMin, const double& xMax, const double& yMax)
        : m_xMin(&xMin), m_xMax(&xMax), m_yMin(&yMin), m_yMax(&yMax) {}

    double xMin() const { return *m_xMin; }
    double xMax() const { return *m_xMax; }
    double yMin() const { return *m_yMin; }
    double yMax() const { return *m_yMax; }
    bool isValid() const { return true; }

    double width() const { return *m_xMax - *m_xMin; }
    double height() const { return *m_yMax - *m_yMin; }
    double area() const { return (*m_yMax - *m_yMin) * (*m_xMax - *m_xMin); }

    bool contains(const Point2DI& p) const;

private:
    const double* m_xMin;
    const double* m_xMax;
    const double* m_yMin;
    const double* m_yMax;
};

} // namespace core
} // namespace tin
