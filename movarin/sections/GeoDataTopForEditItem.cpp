#include "movarin/sections/GeoDataTopForEditItem.h"

namespace varnel {

GeoDataTopForEditItem::GeoDataTopForEditItem(mvc::core::ModelItem* parent)
    : GeoDataTopItem(parent)
{
}

GeoDataTopForEditItem::~GeoDataTopForEditItem() = default;

} // namespace varnel
