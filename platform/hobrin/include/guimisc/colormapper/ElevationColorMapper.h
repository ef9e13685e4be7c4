#pragma once

#include <QColor>

namespace guimisc::colormapper {

/// The elevation colour scale that every TIN and point painter of a project shares.
///
/// With min < water surface < max: elevations from min up to (not including) the water
/// surface run linearly from blue (0, 0, 255) to cyan (0, 255, 255); from the water surface
/// up to max they run from green (0, 255, 0) through yellow (255, 255, 0), reached halfway,
/// to red (255, 0, 0). Elevations below min are blue, above max red. The water surface is
/// clamped into [min, max] when colours are asked for. A range with min >= max (or a NaN
/// bound), and a NaN elevation, give green: never a division by zero or a NaN component.
/// The default range is -100 to 100 with the water surface at 0. A copy is independent.
/// `color` and `rgb` are constant time.
class ElevationColorMapper {
public:
    ElevationColorMapper() = default;

    void setRange(double min, double max);
    void setWaterSurfaceValue(double value);

    /// The values as last set (the water surface unclamped), so that a painter can tell
    /// whether a picture it keeps was drawn with this scale.
    double minimum() const { return m_min; }
    double maximum() const { return m_max; }
    double waterSurfaceValue() const { return m_waterSurface; }

    QColor color(double elevation) const;
    /// The same colour as an opaque QRgb, for painters that colour millions of points.
    QRgb rgb(double elevation) const;

private:
    double m_min = -100.0;
    double m_max = 100.0;
    double m_waterSurface = 0.0;
};

} // namespace guimisc::colormapper
