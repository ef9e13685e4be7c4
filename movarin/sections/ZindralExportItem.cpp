#include "movarin/sections/ZindralExportItem.h"

namespace varnel {

ZindralExportItem::ZindralExportItem(mvc::core::ModelItem* parent) : mvc::core::ModelItem(parent)
{
}

ZindralExportItem::~ZindralExportItem() = default;

void ZindralExportItem::exportGrid() {}

} // namespace varnel
