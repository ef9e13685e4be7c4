#include "movarin/sections/GeoDataTopForCreateItem.h"

#include "movarin/sections/GeoDataGroupItem.h"

namespace varnel {

GeoDataTopForCreateItem::GeoDataTopForCreateItem(mvc::core::ModelItem* parent)
    : GeoDataTopItem(parent)
{
    addGroup(new GeoDataGroupItem(tr("Reference Information"),
                                  QStringLiteral("referenceinformation"), this));
}

GeoDataTopForCreateItem::~GeoDataTopForCreateItem() = default;

} // namespace varnel
