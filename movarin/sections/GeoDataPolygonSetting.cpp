#include "movarin/sections/GeoDataPolygonSetting.h"

namespace varnel {

GeoDataPolygonSetting::GeoDataPolygonSetting() : GeoDataShapeSetting(50) {}

} // namespace varnel
