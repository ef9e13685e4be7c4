#pragma once

#include "brask/core/ModelItem.h"

namespace varnel {

/// The top folder of a project's geographic data ("Geographic data"). Its files lie in the
/// sub-folder "geoData".
///
/// For now it holds no groups and writes nothing but its row's state.
class GeoDataTopItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit GeoDataTopItem(mvc::core::ModelItem* parent);
    ~GeoDataTopItem() override;

    QString itemTypeName() const override;
};

} // namespace varnel
