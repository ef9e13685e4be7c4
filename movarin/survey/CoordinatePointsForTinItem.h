#pragma once

#include "brask/core/ModelItem.h"

namespace varnel {

/// The point set from which a create-mode project's TIN is made ("Coordinate points data
/// for TIN"). Its files lie in the sub-folder "coordinatePointsForTin".
///
/// For now it holds no points and writes nothing but its row's state.
class CoordinatePointsForTinItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit CoordinatePointsForTinItem(mvc::core::ModelItem* parent);
    ~CoordinatePointsForTinItem() override;
};

} // namespace varnel
