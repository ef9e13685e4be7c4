#include "guimisc/colormapper/ElevationColorMapper.h"

#include <cmath>

namespace guimisc::colormapper {

namespace {

// Where `value` lies between `from` and `to`, clamped to [0, 1]; 0 when undefined.
double fraction(double from, double to, double value)
{
    const double t = (value - from) / (to - from);
    if (!(t > 0.0)) {
        return 0.0;
    }
    return t < 1.0 ? t : 1.0;
}

int channel(double t)
{
    return static_cast<int>(std::lround(255.0 * t));
}

} // namespace

void ElevationColorMapper::setRange(double min, double max)
{
    m_min = min;
    m_max = max;
}

void ElevationColorMapper::setWaterSurfaceValue(double value)
{
    m_waterSurface = value;
}

QColor ElevationColorMapper::color(double elevation) const
{
    const QRgb c = rgb(elevation);
    return QColor(qRed(c), qGreen(c), qBlue(c));
}

QRgb ElevationColorMapper::rgb(double elevation) const
{
    const QRgb green = qRgb(0, 255, 0);
    if (!(m_min < m_max) || std::isnan(elevation)) {
        return green;
    }
    double water = m_waterSurface;
    if (!(water >= m_min)) {
        water = m_min;
    }
    if (water > m_max) {
        water = m_max;
    }
    if (elevation >= m_max) {
        return qRgb(255, 0, 0);
    }
    if (elevation >= water) {
        const double t = fraction(water, m_max, elevation);
        if (t <= 0.5) {
            return qRgb(channel(2.0 * t), 255, 0);
        }
        return qRgb(255, channel(2.0 * (1.0 - t)), 0);
    }
    if (elevation <= m_min) {
        return qRgb(0, 0, 255);
    }
    return qRgb(0, channel(fraction(m_min, water, elevation)), 255);
}

} // namespace guimisc::colormapper
