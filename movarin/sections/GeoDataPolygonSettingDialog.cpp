#include "movarin/sections/GeoDataPolygonSettingDialog.h"

namespace varnel {

GeoDataPolygonSettingDialog::GeoDataPolygonSettingDialog(QWidget* parent)
    : GeoDataShapeSettingDialogT(tr("Polygon Setting"), parent)
{
    setObjectName(QStringLiteral("GeoDataPolygonSettingDialog"));
}

GeoDataPolygonSettingDialog::~GeoDataPolygonSettingDialog() = default;

} // namespace varnel
