#include "movarin/sections/GeoDataPolylineSettingDialog.h"

namespace varnel {

GeoDataPolylineSettingDialog::GeoDataPolylineSettingDialog(QWidget* parent)
    : GeoDataShapeSettingDialog(tr("Polyline Setting"), parent)
{
    setObjectName(QStringLiteral("GeoDataPolylineSettingDialog"));
}

GeoDataPolylineSettingDialog::~GeoDataPolylineSettingDialog() = default;

void GeoDataPolylineSettingDialog::setSetting(const GeoDataPolylineSetting& setting)
{
    fillEditors(setting);
}

GeoDataPolylineSetting GeoDataPolylineSettingDialog::setting() const
{
    GeoDataPolylineSetting result;
    readEditors(&result);
    return result;
}

} // namespace varnel
