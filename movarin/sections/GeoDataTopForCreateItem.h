#pragma once

#include "movarin/sections/GeoDataTopItem.h"

namespace varnel {

/// The geographic data of a create-mode project. The project file neither writes nor
/// reads it.
class GeoDataTopForCreateItem : public GeoDataTopItem {
    Q_OBJECT
public:
    explicit GeoDataTopForCreateItem(mvc::core::ModelItem* parent);
    ~GeoDataTopForCreateItem() override;
};

} // namespace varnel
