#include "movarin/survey/CoordinatePointsForTinItem.h"

#include <QIcon>

namespace varnel {

CoordinatePointsForTinItem::CoordinatePointsForTinItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(QIcon(QStringLiteral(":/images/iconPoints.png")),
                           tr("Coordinate points data for TIN"), parent, 0)
{
    setSubPath("coordinatePointsForTin");
}

CoordinatePointsForTinItem::~CoordinatePointsForTinItem() = default;

} // namespace varnel
