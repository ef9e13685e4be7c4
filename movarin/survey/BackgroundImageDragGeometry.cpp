#include "movarin/survey/BackgroundImageDragGeometry.h"

#include <algorithm>
#include <cmath>

namespace varnel {

namespace {

const double PI = 3.141592653589793;

/// Positions this close to the turning corner give no direction.
const double CORNER_TOLERANCE = 1.0;

double length(const QPointF& v)
{
    return std::hypot(v.x(), v.y());
}

/// `degrees` brought into [0, 360).
double normalizedDegrees(double degrees)
{
    double result = std::fmod(degrees, 360.0);
    if (result < 0.0) {
        result += 360.0;
    }
    // A tiny negative remainder rounds up to exactly 360.
    return result >= 360.0 ? 0.0 : result;
}

} // namespace

gdalimg::GdalImageSetting BackgroundImageDragGeometry::translated(
    const gdalimg::GdalImageSetting& start, const QPointF& worldShift)
{
    gdalimg::GdalImageSetting result(start);
    const QPointF moved = start.topLeft() + worldShift;
    if (std::isfinite(moved.x()) && std::isfinite(moved.y())) {
        result.setTopLeft(moved);
    }
    return result;
}

gdalimg::GdalImageSetting BackgroundImageDragGeometry::rotated(
    const gdalimg::GdalImageSetting& start, const QPointF& corner, const QPointF& press,
    const QPointF& current)
{
    gdalimg::GdalImageSetting result(start);
    const QPointF p = press - corner;
    const QPointF c = current - corner;
    if (!(length(p) > CORNER_TOLERANCE) || !(length(c) > CORNER_TOLERANCE)) {
        return result;
    }
    const double cross = c.x() * p.y() - c.y() * p.x();
    const double dot = c.x() * p.x() + c.y() * p.y();
    const double angle = normalizedDegrees(start.angle() + std::atan2(cross, dot) * 180.0 / PI);
    if (std::isfinite(angle)) {
        result.setAngle(angle);
    }
    return result;
}

gdalimg::GdalImageSetting BackgroundImageDragGeometry::scaled(
    const gdalimg::GdalImageSetting& start, double boxHeightPixels, const QPointF& press,
    const QPointF& current)
{
    gdalimg::GdalImageSetting result(start);
    // Widget y runs downwards: a drag upwards is positive.
    const double upwards = press.y() - current.y();
    const double factor = upwards / boxHeightPixels + 1.0;
    const double scale = start.scale() * factor;
    if (std::isfinite(factor) && std::isfinite(scale)) {
        result.setScale(std::max(scale, gdalimg::GdalImageSetting::scaleMin));
    }
    return result;
}

} // namespace varnel
