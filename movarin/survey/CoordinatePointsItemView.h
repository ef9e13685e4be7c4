#pragma once

#include "movarin/survey/CoordinatePointsBaseItemView.h"

namespace varnel {

class CoordinatePointsItem;

/// Paints an imported point set as the point-set view does; only its starting setting
/// differs: magenta, radius 3, colour by value. The import gives each new item a colour of
/// its own (which shows once colour by value is off). Owned by the item.
class CoordinatePointsItemView : public CoordinatePointsBaseItemView {
public:
    explicit CoordinatePointsItemView(const CoordinatePointsItem* item);
    ~CoordinatePointsItemView() override;
};

} // namespace varnel
