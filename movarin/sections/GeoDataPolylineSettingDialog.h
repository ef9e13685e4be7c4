#pragma once

#include "movarin/sections/GeoDataPolylineSetting.h"
#include "movarin/sections/GeoDataShapeSettingDialogT.h"

namespace varnel {

/// The property dialog of a polyline ("Polyline Setting"): its colour, line width and opacity.
class GeoDataPolylineSettingDialog : public GeoDataShapeSettingDialogT<GeoDataPolylineSetting> {
    Q_OBJECT
public:
    explicit GeoDataPolylineSettingDialog(QWidget* parent = nullptr);
    ~GeoDataPolylineSettingDialog() override;
};

} // namespace varnel
