#include "movarin/sections/GeoDataShapeSetting.h"

namespace varnel {

GeoDataShapeSetting::GeoDataShapeSetting(int opacityPercent)
    : CompositeContainer({&color, &lineWidth, &opacity})
{
    opacity = opacityPercent;
}

GeoDataShapeSetting::GeoDataShapeSetting(const GeoDataShapeSetting& other)
    : GeoDataShapeSetting(other.opacity.percent())
{
    copyValue(other);
}

GeoDataShapeSetting& GeoDataShapeSetting::operator=(const GeoDataShapeSetting& other)
{
    copyValue(other);
    return *this;
}

GeoDataShapeSetting::~GeoDataShapeSetting() = default;

} // namespace varnel
