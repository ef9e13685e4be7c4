#pragma once

#include "movarin/sections/GeoDataShapeSetting.h"

namespace varnel {

/// The drawing of a polyline: line colour, width and opacity (opaque until set otherwise).
class GeoDataPolylineSetting : public GeoDataShapeSetting {
public:
    GeoDataPolylineSetting();
};

} // namespace varnel
