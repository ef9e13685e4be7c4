#include "movarin/shell/PreferencePageGraphics.h"

#include "movarin/shell/SettingsKeys.h"

#include "guimisc/UserDialogs.h"

#include <QCheckBox>
#include <QDoubleValidator>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSettings>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace varnel {
namespace {

// The locale of the numbers: C, and no group separators, which the readers would not take
// ("1,000" converts to 0).
QLocale numberLocale()
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

} // namespace

PreferencePageGraphics::PreferencePageGraphics(QWidget* parent)
    : PreferencePage(parent), m_validator(new QDoubleValidator(this)),
      m_minEdit(new QLineEdit(this)), m_maxEdit(new QLineEdit(this)),
      m_waterSurfaceEdit(new QLineEdit(this)),
      m_showTinEdgesCheckBox(new QCheckBox(tr("Show TIN edges"), this)),
      m_scaleEdit(new QLineEdit(this))
{
    m_minEdit->setObjectName(QStringLiteral("minEdit"));
    m_maxEdit->setObjectName(QStringLiteral("maxEdit"));
    m_waterSurfaceEdit->setObjectName(QStringLiteral("waterSurfaceEdit"));
    m_showTinEdgesCheckBox->setObjectName(QStringLiteral("showTinEdgesCheckBox"));
    m_scaleEdit->setObjectName(QStringLiteral("scaleEdit"));
    m_validator->setLocale(numberLocale());
    m_validator->setDecimals(2);
    for (QLineEdit* edit : {m_minEdit, m_maxEdit, m_waterSurfaceEdit, m_scaleEdit}) {
        edit->setValidator(m_validator);
    }
    setupUi();
    load();
}

PreferencePageGraphics::~PreferencePageGraphics() = default;

void PreferencePageGraphics::setupUi()
{
    auto colorMapGroup = new QGroupBox(tr("Color Map"), this);
    auto rangeRow = new QHBoxLayout();
    rangeRow->addWidget(new QLabel(tr("Min:"), colorMapGroup));
    rangeRow->addWidget(m_minEdit);
    rangeRow->addWidget(new QLabel(tr("Max:"), colorMapGroup));
    rangeRow->addWidget(m_maxEdit);
    auto waterRow = new QHBoxLayout();
    waterRow->addWidget(new QLabel(tr("Water Surface:"), colorMapGroup));
    waterRow->addWidget(m_waterSurfaceEdit);
    auto colorMapLayout = new QVBoxLayout(colorMapGroup);
    colorMapLayout->addWidget(new QLabel(tr("Range"), colorMapGroup));
    colorMapLayout->addLayout(rangeRow);
    colorMapLayout->addLayout(waterRow);

    auto tinGroup = new QGroupBox(tr("TIN"), this);
    auto tinLayout = new QVBoxLayout(tinGroup);
    tinLayout->addWidget(m_showTinEdgesCheckBox);

    auto scaleGroup = new QGroupBox(tr("Z-direction Scale"), this);
    auto scaleLayout = new QHBoxLayout(scaleGroup);
    scaleLayout->addWidget(new QLabel(tr("Scale:"), scaleGroup));
    scaleLayout->addWidget(m_scaleEdit);

    auto layout = new QVBoxLayout(this);
    layout->addWidget(colorMapGroup);
    layout->addWidget(tinGroup);
    layout->addWidget(scaleGroup);
    layout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

void PreferencePageGraphics::load()
{
    QSettings store;
    m_minEdit->setText(store.value(settings::graphicsColormapMin).toString());
    m_maxEdit->setText(store.value(settings::graphicsColormapMax).toString());
    m_waterSurfaceEdit->setText(store.value(settings::graphicsColormapWaterSurface).toString());
    m_showTinEdgesCheckBox->setChecked(store.value(settings::graphicsShowTinEdges).toBool());
    m_scaleEdit->setText(store.value(settings::graphicsZScale).toString());
}

bool PreferencePageGraphics::isAcceptable(const QLineEdit* edit) const
{
    QString text = edit->text();
    int position = 0;
    return m_validator->validate(text, position) == QValidator::Acceptable;
}

bool PreferencePageGraphics::validate()
{
    const bool rangeReadable = isAcceptable(m_minEdit) && isAcceptable(m_maxEdit);
    const QLocale locale = numberLocale();
    if (!rangeReadable
        || locale.toDouble(m_minEdit->text()) > locale.toDouble(m_maxEdit->text())) {
        guimisc::UserDialogs::critical(this, tr("Error"), tr("Color Map range is invalid."));
        return false;
    }
    if (!isAcceptable(m_waterSurfaceEdit)) {
        guimisc::UserDialogs::critical(this, tr("Error"), tr("Water Surface is invalid."));
        return false;
    }
    if (!isAcceptable(m_scaleEdit)) {
        guimisc::UserDialogs::critical(this, tr("Error"), tr("Z-direction Scale is invalid."));
        return false;
    }
    return true;
}

void PreferencePageGraphics::save()
{
    QSettings store;
    store.setValue(settings::graphicsColormapMin, m_minEdit->text());
    store.setValue(settings::graphicsColormapMax, m_maxEdit->text());
    store.setValue(settings::graphicsColormapWaterSurface, m_waterSurfaceEdit->text());
    store.setValue(settings::graphicsShowTinEdges, m_showTinEdgesCheckBox->isChecked());
    store.setValue(settings::graphicsZScale, m_scaleEdit->text());
}

} // namespace varnel
