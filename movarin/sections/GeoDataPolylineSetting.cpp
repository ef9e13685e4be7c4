#include "movarin/sections/GeoDataPolylineSetting.h"

namespace varnel {

GeoDataPolylineSetting::GeoDataPolylineSetting()
    : GeoDataShapeSetting(guimisc::xml::OpacityContainer::DEFAULT_PERCENT)
{
}

} // namespace varnel
