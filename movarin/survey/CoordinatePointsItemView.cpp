#include "movarin/survey/CoordinatePointsItemView.h"

#include "movarin/survey/CoordinatePointsItem.h"

namespace varnel {

CoordinatePointsItemView::CoordinatePointsItemView(const CoordinatePointsItem* item)
    : CoordinatePointsBaseItemView(item, CoordinatePointsBaseItemViewSetting(Qt::magenta, 3, true))
{
}

CoordinatePointsItemView::~CoordinatePointsItemView() = default;

} // namespace varnel
