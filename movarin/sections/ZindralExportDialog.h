#pragma once

#include "movarin/sections/ZindralExportSetting.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace guimisc::widget {
class DirnameEditWidget;
}

namespace varnel {

/// "Export Zindral Grid": the folder of the three files, the river name, the survey date,
/// the coordinate system and its zone ("System Number"). The zone list always matches the
/// system: empty and disabled for latitude and longitude, "1" to "19" for the plane
/// rectangular systems, "1" to "60" for UTM, the first entry chosen after every change of
/// system. The dialog checks nothing; the exporter refuses what it cannot write. Its texts
/// are translated in the context "ZindralExportDialog".
class ZindralExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ZindralExportDialog(QWidget* parent = nullptr);
    ~ZindralExportDialog() override;

    /// Shows `setting`. A coordinate system outside 1 to 6 shows the first, a zone outside the
    /// system's list its first entry.
    void setSetting(const ZindralExportSetting& setting);
    /// The texts without surrounding blanks, the system as its list position + 1 and the zone
    /// as its entry's number (0 while the list is empty).
    ZindralExportSetting setting() const;

private slots:
    void handleCsChange(int index);

private:
    guimisc::widget::DirnameEditWidget* m_folderWidget;
    QLineEdit* m_riverNameEdit;
    QLineEdit* m_surveyDateEdit;
    QComboBox* m_coordinateSystemList;
    QComboBox* m_systemNumberList;
};

} // namespace varnel
