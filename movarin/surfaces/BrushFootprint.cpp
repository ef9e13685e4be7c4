#include "movarin/surfaces/BrushFootprint.h"

#include <vector>

namespace varnel {

namespace {

// The trailing corners of the square for a move in the direction of the signs of dx and dy,
// as offsets in units of half the size: c0 (-1, -1), c1 (1, -1), c2 (-1, 1), c3 (1, 1).
std::vector<tin::core::Point2D> trailingCorners(int sx, int sy)
{
    const tin::core::Point2D c0(-1.0, -1.0);
    const tin::core::Point2D c1(1.0, -1.0);
    const tin::core::Point2D c2(-1.0, 1.0);
    const tin::core::Point2D c3(1.0, 1.0);
    if (sx == 0) {
        return sy > 0 ? std::vector<tin::core::Point2D>{c0, c1} : std::vector<tin::core::Point2D>{c2, c3};
    }
    if (sx < 0) {
        if (sy > 0) {
            return {c3, c1, c0};
        }
        return sy == 0 ? std::vector<tin::core::Point2D>{c1, c3} : std::vector<tin::core::Point2D>{c1, c3, c2};
    }
    if (sy == 0) {
        return {c0, c2};
    }
    return sy < 0 ? std::vector<tin::core::Point2D>{c0, c2, c3} : std::vector<tin::core::Point2D>{c2, c0, c1};
}

int sign(double v)
{
    return (v > 0.0) - (v < 0.0);
}

tin::core::Point2D offset(const tin::core::Point2D& p, const tin::core::Point2D& corner, double half)
{
    return tin::core::Point2D(p.x() + corner.x() * half, p.y() + corner.y() * half);
}

} // namespace

tin::core::Polygon BrushFootprint::sweptBrushPolygon(const tin::core::Point2D& p1,
                                                     const tin::core::Point2D& p2, double size)
{
    const int sx = sign(p2.x() - p1.x());
    const int sy = sign(p2.y() - p1.y());
    tin::core::Polygon polygon;
    if (sx == 0 && sy == 0) {
        return polygon;
    }
    const double half = size * 0.5;
    const std::vector<tin::core::Point2D> corners = trailingCorners(sx, sy);
    for (const tin::core::Point2D& c : corners) {
        polygon.addPoint(offset(p1, c, half));
    }
    for (auto c = corners.rbegin(); c != corners.rend(); ++c) {
        polygon.addPoint(offset(p2, *c, half));
    }
    return polygon;
}

tin::core::Polygon BrushFootprint::brushSquare(const tin::core::Point2D& p, double size)
{
    const double h = size * 0.5;
    return tin::core::Polygon({tin::core::Point2D(p.x() - h, p.y() - h), tin::core::Point2D(p.x() + h, p.y() - h),
                               tin::core::Point2D(p.x() + h, p.y() + h), tin::core::Point2D(p.x() - h, p.y() + h)});
}

tin::core::Rect BrushFootprint::brushRect(const tin::core::Point2D& p, double size)
{
    const double h = size * 0.5;
    return tin::core::Rect(p.x() - h, p.y() - h, p.x() + h, p.y() + h);
}

} // namespace varnel
