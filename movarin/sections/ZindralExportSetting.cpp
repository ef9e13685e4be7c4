#include "movarin/sections/ZindralExportSetting.h"

namespace varnel {

ZindralExportSetting::ZindralExportSetting()
    : CompositeContainer({&folderName, &surveyDate, &riverName, &coordinateSystem, &systemNumber})
{
}

ZindralExportSetting::ZindralExportSetting(const ZindralExportSetting& other)
    : ZindralExportSetting()
{
    copyValue(other);
}

ZindralExportSetting& ZindralExportSetting::operator=(const ZindralExportSetting& other)
{
    copyValue(other);
    return *this;
}

ZindralExportSetting::~ZindralExportSetting() = default;

} // namespace varnel
