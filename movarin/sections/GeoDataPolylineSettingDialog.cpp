#include "movarin/sections/GeoDataPolylineSettingDialog.h"

namespace varnel {

GeoDataPolylineSettingDialog::GeoDataPolylineSettingDialog(QWidget* parent)
    : GeoDataShapeSettingDialogT(tr("Polyline Setting"), parent)
{
    setObjectName(QStringLiteral("GeoDataPolylineSettingDialog"));
}

GeoDataPolylineSettingDialog::~GeoDataPolylineSettingDialog() = default;

} // namespace varnel
