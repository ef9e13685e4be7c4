#pragma once

#include "movarin/sections/GeoDataPolygonSetting.h"
#include "movarin/sections/GeoDataShapeSettingDialog.h"

namespace varnel {

/// The property dialog of a polygon ("Polygon Setting"): its colour, line width and opacity.
class GeoDataPolygonSettingDialog : public GeoDataShapeSettingDialog {
    Q_OBJECT
public:
    explicit GeoDataPolygonSettingDialog(QWidget* parent = nullptr);
    ~GeoDataPolygonSettingDialog() override;

    void setSetting(const GeoDataPolygonSetting& setting);
    /// The setting the editors show.
    GeoDataPolygonSetting setting() const;
};

} // namespace varnel
