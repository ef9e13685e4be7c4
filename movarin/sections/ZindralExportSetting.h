#pragma once

#include <guimisc/xml/CompositeContainer.h>
#include <guimisc/xml/IntContainer.h>
#include <guimisc/xml/StringContainer.h>

namespace varnel {

/// What a grid-model export is made with, kept with the project (attributes of the element
/// "ZindralExportSetting", named as the members) so that the dialog opens with the values of
/// the last export: the folder that receives the three files, the survey date and the river
/// name (the first fields of every data line), the coordinate system (1 to 6: latitude and
/// longitude on the world or the Japanese datum, the Japanese plane rectangular systems on
/// either datum, UTM north, UTM south) and its zone number, written only for systems 3 to 6.
/// Copies copy the five values.
class ZindralExportSetting : public guimisc::xml::CompositeContainer {
public:
    ZindralExportSetting();
    ZindralExportSetting(const ZindralExportSetting& other);
    ZindralExportSetting& operator=(const ZindralExportSetting& other);
    ~ZindralExportSetting() override;

    guimisc::xml::StringContainer folderName{QStringLiteral("folderName")};
    guimisc::xml::StringContainer surveyDate{QStringLiteral("surveyDate")};
    guimisc::xml::StringContainer riverName{QStringLiteral("riverName")};
    guimisc::xml::IntContainer coordinateSystem{QStringLiteral("coordinateSystem"), 1};
    guimisc::xml::IntContainer systemNumber{QStringLiteral("systemNumber"), 1};
};

} // namespace varnel
