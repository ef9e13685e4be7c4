#include "movarin/shell/PreferencePageDevelopers.h"

#include "movarin/shell/SettingsKeys.h"

#include <QCheckBox>
#include <QSettings>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace varnel {

PreferencePageDevelopers::PreferencePageDevelopers(QWidget* parent)
    : PreferencePage(parent), m_developersModeCheckBox(new QCheckBox(tr("Developers mode"), this))
{
    m_developersModeCheckBox->setObjectName(QStringLiteral("developersModeCheckBox"));
    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_developersModeCheckBox);
    layout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    m_developersModeCheckBox->setChecked(QSettings().value(settings::developersMode).toBool());
}

PreferencePageDevelopers::~PreferencePageDevelopers() = default;

bool PreferencePageDevelopers::validate()
{
    return true;
}

void PreferencePageDevelopers::save()
{
    QSettings().setValue(settings::developersMode, m_developersModeCheckBox->isChecked());
}

} // namespace varnel
