#pragma once

#include "movarin/sections/GeoDataTopItem.h"

namespace varnel {

/// The geographic data of an edit-mode project, written and read by the edit-mode root as
/// "GeoDataTop".
class GeoDataTopForEditItem : public GeoDataTopItem {
    Q_OBJECT
public:
    explicit GeoDataTopForEditItem(mvc::core::ModelItem* parent);
    ~GeoDataTopForEditItem() override;
};

} // namespace varnel
