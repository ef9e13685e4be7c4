#include "movarin/shell/PreferencePageFont.h"

#include "movarin/shell/SettingsKeys.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSettings>
#include <QSpacerItem>
#include <QSpinBox>
#include <QVBoxLayout>

namespace varnel {

PreferencePageFont::PreferencePageFont(QWidget* parent)
    : PreferencePage(parent), m_elevationSpinBox(new QSpinBox(this)),
      m_distanceSpinBox(new QSpinBox(this)), m_angleSpinBox(new QSpinBox(this)),
      m_globalSpinBox(new QSpinBox(this))
{
    m_elevationSpinBox->setObjectName(QStringLiteral("elevationFontSizeSpinBox"));
    m_distanceSpinBox->setObjectName(QStringLiteral("distanceFontSizeSpinBox"));
    m_angleSpinBox->setObjectName(QStringLiteral("angleFontSizeSpinBox"));
    m_globalSpinBox->setObjectName(QStringLiteral("globalFontSizeSpinBox"));
    for (QSpinBox* box : {m_elevationSpinBox, m_distanceSpinBox, m_angleSpinBox, m_globalSpinBox}) {
        box->setMinimum(1);
    }
    setupUi();
    load();
}

PreferencePageFont::~PreferencePageFont() = default;

void PreferencePageFont::setupUi()
{
    auto createGroup = new QGroupBox(tr("Create mode"), this);
    auto editGroup = new QGroupBox(tr("Edit mode"), this);
    auto grid = new QGridLayout(editGroup);
    const std::pair<QString, QSpinBox*> rows[] = {
        {tr("Elevation font size"), m_elevationSpinBox},
        {tr("Distance font size:"), m_distanceSpinBox},
        {tr("Angle font size:"), m_angleSpinBox},
        {tr("Font size (general):"), m_globalSpinBox}};
    int row = 0;
    for (const auto& [text, box] : rows) {
        grid->addWidget(new QLabel(text, editGroup), row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    }
    auto layout = new QVBoxLayout(this);
    layout->addWidget(createGroup);
    layout->addWidget(editGroup);
    layout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

void PreferencePageFont::load()
{
    QSettings store;
    m_elevationSpinBox->setValue(store.value(settings::fontElevationSize).toInt());
    m_distanceSpinBox->setValue(store.value(settings::fontDistanceSize).toInt());
    m_angleSpinBox->setValue(store.value(settings::fontAngleSize).toInt());
    m_globalSpinBox->setValue(store.value(settings::fontGlobalSize).toInt());
}

bool PreferencePageFont::validate()
{
    return true;
}

void PreferencePageFont::save()
{
    QSettings store;
    store.setValue(settings::fontElevationSize, m_elevationSpinBox->value());
    store.setValue(settings::fontDistanceSize, m_distanceSpinBox->value());
    store.setValue(settings::fontAngleSize, m_angleSpinBox->value());
    store.setValue(settings::fontGlobalSize, m_globalSpinBox->value());
}

} // namespace varnel
