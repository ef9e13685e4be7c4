#include "movarin/sections/CrossSectionGroupItem.h"

namespace varnel {

CrossSectionGroupItem::CrossSectionGroupItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("Cross sections"), parent, 0)
{
}

CrossSectionGroupItem::~CrossSectionGroupItem() = default;

QString CrossSectionGroupItem::itemTypeName() const
{
    return tr("Cross section");
}

} // namespace varnel
