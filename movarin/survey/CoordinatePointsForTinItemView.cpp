#include "movarin/survey/CoordinatePointsForTinItemView.h"

#include "movarin/survey/CoordinatePointsForTinItem.h"

namespace varnel {

CoordinatePointsForTinItemView::CoordinatePointsForTinItemView(
    const CoordinatePointsForTinItem* item)
    : CoordinatePointsBaseItemView(item,
                                   CoordinatePointsBaseItemViewSetting(Qt::darkYellow, 2, true))
{
}

CoordinatePointsForTinItemView::~CoordinatePointsForTinItemView() = default;

} // namespace varnel
