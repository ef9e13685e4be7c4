#pragma once

#include "movarin/shell/PreferencePage.h"

class QCheckBox;

namespace varnel {

/// The Developers page: one switch, "developers/mode", which shows the developers' menu
/// entries and more digits of the mouse position. Always valid.
class PreferencePageDevelopers : public PreferencePage {
    Q_OBJECT
public:
    explicit PreferencePageDevelopers(QWidget* parent = nullptr);
    ~PreferencePageDevelopers() override;

    void save() override;
    bool validate() override;

private:
    QCheckBox* m_developersModeCheckBox;
};

} // namespace varnel
