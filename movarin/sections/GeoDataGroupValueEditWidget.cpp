#include "movarin/sections/GeoDataGroupValueEditWidget.h"

namespace varnel {

GeoDataGroupValueEditWidget::~GeoDataGroupValueEditWidget() = default;

} // namespace varnel
