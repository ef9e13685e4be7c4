#pragma once

#include "movarin/sections/LandXmlExportSetting.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace guimisc::widget {
class FilenameEditWidget;
}

namespace proj {
class ProjectionPair;
}

namespace varnel {

/// "Export to LandXML": the output file, the project name, the horizontal and vertical
/// datum, the horizontal coordinate-system name and the vertical offset "differTP".
///
/// Each datum is picked from a fixed list or typed, chosen by a pair of radio buttons. In
/// list mode the list is enabled and the datum line, disabled, shows the entry's code (and
/// for the vertical datum the differTP line its offset); in text mode the list is disabled
/// and the line open for editing, and entering it for the vertical datum clears differTP
/// (the offset belongs to a listed datum). Both start in list mode at the first entry.
///
/// `setProjectionPair` proposes the horizontal datum and the coordinate-system name from
/// the project's system when its name is that of a Japanese plane rectangular system
/// (EPSG 2443-2461, 6669-6687, 30161-30179). `setting` hands back the texts without
/// surrounding blanks. OK is refused, with a warning, while the file name is empty. Its texts
/// are translated in the context "LandXmlExportDialog".
class LandXmlExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit LandXmlExportDialog(QWidget* parent = nullptr);
    ~LandXmlExportDialog() override;

    /// The project's coordinate system, or null (then nothing changes).
    void setProjectionPair(const proj::ProjectionPair* pair);
    LandXmlExportSetting setting() const;

    void accept() override;

private slots:
    void handleHorizontalDatumChanged(int index);
    void handleVerticalDatumChanged(int index);
    void handleHorizontalModeChanged();
    void handleVerticalModeChanged();

private:
    guimisc::widget::FilenameEditWidget* m_filenameWidget;
    QLineEdit* m_projectNameEdit;
    QRadioButton* m_horizontalListButton;
    QRadioButton* m_horizontalTextButton;
    QComboBox* m_horizontalDatumList;
    QLineEdit* m_horizontalDatumEdit;
    QRadioButton* m_verticalListButton;
    QRadioButton* m_verticalTextButton;
    QComboBox* m_verticalDatumList;
    QLineEdit* m_verticalDatumEdit;
    QLineEdit* m_coordinateSystemEdit;
    QLineEdit* m_differTpEdit;
};

} // namespace varnel
