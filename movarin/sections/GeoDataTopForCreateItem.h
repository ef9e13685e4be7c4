#pragma once

#include "movarin/sections/GeoDataTopItem.h"

namespace varnel {

/// The geographic data of a create-mode project: the group "Reference Information" alone.
/// The create-mode root neither writes nor reads it, so it starts empty whenever a project
/// is opened.
class GeoDataTopForCreateItem : public GeoDataTopItem {
    Q_OBJECT
public:
    explicit GeoDataTopForCreateItem(mvc::core::ModelItem* parent);
    ~GeoDataTopForCreateItem() override;
};

} // namespace varnel
