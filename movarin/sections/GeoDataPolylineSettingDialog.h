#pragma once

#include "movarin/sections/GeoDataPolylineSetting.h"
#include "movarin/sections/GeoDataShapeSettingDialog.h"

namespace varnel {

/// The property dialog of a polyline ("Polyline Setting"): its colour, line width and opacity.
class GeoDataPolylineSettingDialog : public GeoDataShapeSettingDialog {
    Q_OBJECT
public:
    explicit GeoDataPolylineSettingDialog(QWidget* parent = nullptr);
    ~GeoDataPolylineSettingDialog() override;

    void setSetting(const GeoDataPolylineSetting& setting);
    /// The setting the editors show.
    GeoDataPolylineSetting setting() const;
};

} // namespace varnel
