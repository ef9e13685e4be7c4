#include "movarin/sections/GeoDataTopForCreateItem.h"

namespace varnel {

GeoDataTopForCreateItem::GeoDataTopForCreateItem(mvc::core::ModelItem* parent)
    : GeoDataTopItem(parent)
{
}

GeoDataTopForCreateItem::~GeoDataTopForCreateItem() = default;

} // namespace varnel
