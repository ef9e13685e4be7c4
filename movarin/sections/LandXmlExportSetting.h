#pragma once

#include <guimisc/xml/CompositeContainer.h>
#include <guimisc/xml/StringContainer.h>

namespace varnel {

/// What a LandXML file states about itself, as the export dialog collects it: the output
/// file, the project name, the horizontal and vertical datum codes ("JGD2011", "T.P"), the
/// horizontal coordinate-system name ("9(X,Y)") and the vertical offset "differTP", all
/// text, all empty by default. The attributes carry the members' names; the project file does
/// not store them (see `LandXmlExportItem`). Copies copy the six values.
class LandXmlExportSetting : public guimisc::xml::CompositeContainer {
public:
    LandXmlExportSetting();
    LandXmlExportSetting(const LandXmlExportSetting& other);
    LandXmlExportSetting& operator=(const LandXmlExportSetting& other);
    ~LandXmlExportSetting() override;

    guimisc::xml::StringContainer filename{QStringLiteral("filename")};
    guimisc::xml::StringContainer projectName{QStringLiteral("projectName")};
    guimisc::xml::StringContainer horizontalDatum{QStringLiteral("horizontalDatum")};
    guimisc::xml::StringContainer verticalDatum{QStringLiteral("verticalDatum")};
    guimisc::xml::StringContainer horizontalCoordinateSystemName{
        QStringLiteral("horizontalCoordinateSystemName")};
    guimisc::xml::StringContainer differTp{QStringLiteral("differTp")};
};

} // namespace varnel
