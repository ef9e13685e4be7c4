#include "movarin/survey/CoordinatePointsGroupItem.h"

namespace varnel {

CoordinatePointsGroupItem::CoordinatePointsGroupItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("Coordinate point data"), parent, 0)
{
    setSubPath("coordinatePointsGroup");
}

CoordinatePointsGroupItem::~CoordinatePointsGroupItem() = default;

QString CoordinatePointsGroupItem::itemTypeName() const
{
    return tr("coordinate point data");
}

} // namespace varnel
