#include "movarin/sections/LandXmlExportSetting.h"

namespace varnel {

LandXmlExportSetting::LandXmlExportSetting()
    : CompositeContainer({&filename, &projectName, &horizontalDatum, &verticalDatum,
                          &horizontalCoordinateSystemName, &differTp})
{
}

LandXmlExportSetting::LandXmlExportSetting(const LandXmlExportSetting& other)
    : LandXmlExportSetting()
{
    copyValue(other);
}

LandXmlExportSetting& LandXmlExportSetting::operator=(const LandXmlExportSetting& other)
{
    copyValue(other);
    return *this;
}

LandXmlExportSetting::~LandXmlExportSetting() = default;

} // namespace varnel
