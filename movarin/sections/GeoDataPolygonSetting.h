#pragma once

#include "movarin/sections/GeoDataShapeSetting.h"

namespace varnel {

/// The drawing of a polygon: outline colour and width, and the fill half transparent
/// (opacity 50) until set otherwise.
class GeoDataPolygonSetting : public GeoDataShapeSetting {
public:
    GeoDataPolygonSetting();
};

} // namespace varnel
