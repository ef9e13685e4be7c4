#pragma once

#include "brask/core/ModelItem.h"

namespace varnel {

/// The folder of a create-mode project's imported point sets ("Coordinate point data").
/// Its files lie in the sub-folder "coordinatePointsGroup".
///
/// For now it holds nothing and writes nothing but its row's state.
class CoordinatePointsGroupItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit CoordinatePointsGroupItem(mvc::core::ModelItem* parent);
    ~CoordinatePointsGroupItem() override;

    QString itemTypeName() const override;
};

} // namespace varnel
