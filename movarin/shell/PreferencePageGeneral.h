#pragma once

#include "movarin/shell/PreferencePage.h"

class QComboBox;

namespace guimisc::widget {
class DirnameEditWidget;
}

namespace varnel {

/// The General page: the user-interface language ("general/locale") and the working
/// directory, the workspace folder under which projects are unpacked ("general/workspace").
///
/// Both take effect at the next start. The language list holds English, Japanese, Korean,
/// Thai, Indonesian, Chinese, French, Spanish and Russian; a stored locale that matches none
/// of them shows English. The working directory must be given and ASCII-only, because the
/// libraries below take file paths as 8-bit strings, and it must be a folder that can be
/// made: validation makes it, with its missing parents.
class PreferencePageGeneral : public PreferencePage {
    Q_OBJECT
public:
    explicit PreferencePageGeneral(QWidget* parent = nullptr);
    ~PreferencePageGeneral() override;

    void save() override;
    bool validate() override;

private:
    void setupUi();
    void load();

    QComboBox* m_languageComboBox;
    guimisc::widget::DirnameEditWidget* m_workingDirectoryEdit;
};

} // namespace varnel
