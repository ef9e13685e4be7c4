#include "movarin/sections/GeoDataPolygonSettingDialog.h"

namespace varnel {

GeoDataPolygonSettingDialog::GeoDataPolygonSettingDialog(QWidget* parent)
    : GeoDataShapeSettingDialog(tr("Polygon Setting"), parent)
{
    setObjectName(QStringLiteral("GeoDataPolygonSettingDialog"));
}

GeoDataPolygonSettingDialog::~GeoDataPolygonSettingDialog() = default;

void GeoDataPolygonSettingDialog::setSetting(const GeoDataPolygonSetting& setting)
{
    fillEditors(setting);
}

GeoDataPolygonSetting GeoDataPolygonSettingDialog::setting() const
{
    GeoDataPolygonSetting result;
    readEditors(&result);
    return result;
}

} // namespace varnel
