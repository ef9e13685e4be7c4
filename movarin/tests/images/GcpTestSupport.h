#pragma once

// Helpers shared by the georeferencing tests.

#include "pelkas/GdalImageSetting.h"

#include <QPointF>

#include <cmath>

namespace varnel::test {

/// Where a background image placed by `setting` puts the pane position `source` (the
/// pixel at column c and row r is the pane position (c, -r)): top-left + c·u + r·v with
/// u = s·(cos θ, sin θ) and v = s·(sin θ, -cos θ). Written from the placement rule of
/// the image items, independently of the fit.
inline QPointF placeSource(const gdalimg::GdalImageSetting& setting, const QPointF& source)
{
    const double theta = setting.angle() * M_PI / 180.0;
    const double s = setting.scale();
    const double c = source.x();
    const double r = -source.y();
    return setting.topLeft()
           + QPointF(c * s * std::cos(theta) + r * s * std::sin(theta),
                     c * s * std::sin(theta) - r * s * std::cos(theta));
}

} // namespace varnel::test
