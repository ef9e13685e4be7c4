#include "movarin/sections/LandXmlExportItem.h"

namespace varnel {

LandXmlExportItem::LandXmlExportItem(mvc::core::ModelItem* parent) : mvc::core::ModelItem(parent)
{
}

LandXmlExportItem::~LandXmlExportItem() = default;

void LandXmlExportItem::exportLandXml() {}

} // namespace varnel
