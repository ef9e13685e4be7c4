#pragma once

// Free operations on survey points. Planar unless stated otherwise.

#include "orlin/core/Point.h"

#include <memory>
#include <vector>

namespace tin {
namespace core {

/// (b.y − a.y)² + (b.x − a.x)²; elevations take no part.
double distanceSqr(const Point& a, const Point& b);
double distance(const Point& a, const Point& b);
/// Position and elevation interpolated from a (t = 0) to b (t = 1); id −1; t not clamped.
Point innerPoint(double t, const Point& a, const Point& b);
/// Where line a–b meets line c–d, with the elevation interpolated along a–b.
Point intersection(const Point& a, const Point& b, const Point2D& c, const Point2D& d);
/// Bounding box of the positions (not widened); an empty vector gives Rect().
Rect boundingRectOfPoints(const std::vector<std::shared_ptr<Point>>& points);
/// Even-odd test of (x, y) against the closed chain of corners (the closing repeat may be
/// present). Points on the boundary fall on either side.
bool insideRingEvenOdd(const std::vector<std::shared_ptr<Point>>& corners, double x, double y);

} // namespace core
} // namespace tin
