#include "movarin/sections/GeoDataTopItem.h"

namespace varnel {

GeoDataTopItem::GeoDataTopItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("Geographic data"), parent, 0)
{
    setSubPath("geoData");
}

GeoDataTopItem::~GeoDataTopItem() = default;

QString GeoDataTopItem::itemTypeName() const
{
    return tr("Geographic data top");
}

} // namespace varnel
