#pragma once

#include "movarin/survey/CoordinatePointsBaseItemView.h"

namespace varnel {

class CoordinatePointsForTinItem;

/// The points for the TIN on the main view: as every point set (see
/// `CoordinatePointsBaseItemView`), starting dark yellow, radius 2, coloured by elevation.
class CoordinatePointsForTinItemView : public CoordinatePointsBaseItemView {
public:
    explicit CoordinatePointsForTinItemView(const CoordinatePointsForTinItem* item);
    ~CoordinatePointsForTinItemView() override;
};

} // namespace varnel
