#pragma once

#include "movarin/sections/GeoDataPolygonSetting.h"
#include "movarin/sections/GeoDataShapeSettingDialogT.h"

namespace varnel {

/// The property dialog of a polygon ("Polygon Setting"): its colour, line width and opacity.
class GeoDataPolygonSettingDialog : public GeoDataShapeSettingDialogT<GeoDataPolygonSetting> {
    Q_OBJECT
public:
    explicit GeoDataPolygonSettingDialog(QWidget* parent = nullptr);
    ~GeoDataPolygonSettingDialog() override;
};

} // namespace varnel
