#pragma once

#include "movarin/sections/GeoDataTopItem.h"

namespace varnel {

/// The geographic data of an edit-mode project, written and read by the edit-mode root as
/// "GeoDataTop". Its groups, in this order (internal name, values):
///
///     "Roughness"              "roughness"             real, no unit
///     "Dead area"              "deadarea"              0 "Normal", 1 "Dead"
///     "Vegetation Height"      "vegetationheight"      real, "m"
///     "Vegetation Density"     "vegetationdensity"     0 "Dense", 1 "Sparse"
///     "Reference Information"  "referenceinformation"  none (polygons and polylines)
class GeoDataTopForEditItem : public GeoDataTopItem {
    Q_OBJECT
public:
    explicit GeoDataTopForEditItem(mvc::core::ModelItem* parent);
    ~GeoDataTopForEditItem() override;
};

} // namespace varnel
