#include "orlin/core/PointFunctions.h"

#include "orlin/core/GeometryFunctions.h"

#include <cmath>

namespace tin {
namespace core {

double distanceSqr(const Point& a, const Point& b)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    return dy * dy + dx * dx;
}

double distance(const Point& a, const Point& b)
{
    return std::sqrt(distanceSqr(a, b));
}

Point innerPoint(double t, const Point& a, const Point& b)
{
    return Point(b.x() * t + a.x() * (1.0 - t), b.y() * t + a.y() * (1.0 - t),
                 (1.0 - t) * a.elevation() + t * b.elevation());
}

Point intersection(const Point& a, const Point& b, const Point2D& c, const Point2D& d)
{
    return innerPoint(intersectionRS(a, b, c, d).first, a, b);
}

Rect boundingRectOfPoints(const std::vector<std::shared_ptr<Point>>& points)
{
    if (points.empty())
        return Rect();
    double xMin = points.front()->x();
    double xMax = xMin;
    double yMin = points.front()->y();
    double yMax = yMin;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Point& p = *points[i];
        if (p.x() < xMin)
            xMin = p.x();
        if (p.x() > xMax)
            xMax = p.x();
        if (p.y() < yMin)
            yMin = p.y();
        if (p.y() > yMax)
            yMax = p.y();
    }
    return Rect(xMin, yMin, xMax, yMax);
}

bool insideRingEvenOdd(const std::vector<std::shared_ptr<Point>>& corners, double x, double y)
{
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const double xi = corners[i]->x(), yi = corners[i]->y(), xj = corners[j]->x(), yj = corners[j]->y();
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) {
            inside = !inside;
        }
    }
    return inside;
}

} // namespace core
} // namespace tin
