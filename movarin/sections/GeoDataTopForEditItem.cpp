#include "movarin/sections/GeoDataTopForEditItem.h"

#include "movarin/sections/GeoDataGroupItem.h"

namespace varnel {

GeoDataTopForEditItem::GeoDataTopForEditItem(mvc::core::ModelItem* parent)
    : GeoDataTopItem(parent)
{
    addGroup(new GeoDataGroupItem(tr("Roughness"), QStringLiteral("roughness"), QString(), this));
    addGroup(new GeoDataGroupItem(tr("Dead area"), QStringLiteral("deadarea"),
                                  GeoDataGroupItem::EnumValues{{0, tr("Normal")}, {1, tr("Dead")}},
                                  this));
    addGroup(new GeoDataGroupItem(tr("Vegetation Height"), QStringLiteral("vegetationheight"),
                                  QStringLiteral("m"), this));
    addGroup(new GeoDataGroupItem(tr("Vegetation Density"), QStringLiteral("vegetationdensity"),
                                  GeoDataGroupItem::EnumValues{{0, tr("Dense")}, {1, tr("Sparse")}},
                                  this));
    addGroup(new GeoDataGroupItem(tr("Reference Information"),
                                  QStringLiteral("referenceinformation"), this));
}

GeoDataTopForEditItem::~GeoDataTopForEditItem() = default;

} // namespace varnel
