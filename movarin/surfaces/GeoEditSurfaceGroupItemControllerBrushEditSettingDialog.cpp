#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushEditSettingDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel {

namespace {

QDoubleSpinBox* spinBox(QWidget* parent, const char* name, double minimum, double maximum,
                        double step)
{
    auto box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setDecimals(2);
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    return box;
}

} // namespace

GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::
    GeoEditSurfaceGroupItemControllerBrushEditSettingDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("GeoEditSurfaceGroupItemControllerBrushEditSettingDialog"));
    setWindowTitle(tr("Brush Setting"));

    auto outer = new QVBoxLayout(this);
    auto group = new QGroupBox(tr("Brush"), this);
    group->setObjectName(QStringLiteral("brushGroupBox"));
    outer->addWidget(group);
    auto form = new QFormLayout(group);

    m_brushSizeLabel = new QLabel(tr("Size (m)"), group);
    m_brushSizeLabel->setObjectName(QStringLiteral("brushSizeLabel"));
    m_brushSizeSpinBox = spinBox(group, "brushSizeSpinBox", BrushSettings::MIN_BRUSH_SIZE, 99.99, 1.0);
    form->addRow(m_brushSizeLabel, m_brushSizeSpinBox);

    m_brushEditUnitLabel = new QLabel(tr("Edit unit (m)"), group);
    m_brushEditUnitLabel->setObjectName(QStringLiteral("brushEditUnitLabel"));
    m_brushEditUnitSpinBox = spinBox(group, "brushEditUnitSpinBox", -99.99, 99.99, 0.1);
    form->addRow(m_brushEditUnitLabel, m_brushEditUnitSpinBox);

    m_brushUseLimitCheckBox = new QCheckBox(tr("Limit (m)"), group);
    m_brushUseLimitCheckBox->setObjectName(QStringLiteral("brushUseLimitCheckBox"));
    m_brushLimitSpinBox = spinBox(group, "brushLimitSpinBox", -99999.0, 99999.0, 1.0);
    form->addRow(m_brushUseLimitCheckBox, m_brushLimitSpinBox);

    m_brushLevelOffCheckBox = new QCheckBox(tr("Level off"), group);
    m_brushLevelOffCheckBox->setObjectName(QStringLiteral("brushLevelOffCheckBox"));
    form->addRow(m_brushLevelOffCheckBox);

    m_buttonBox = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Reset, Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    outer->addWidget(m_buttonBox);

    connect(m_brushUseLimitCheckBox, &QCheckBox::stateChanged, this,
            [this](int state) { m_brushLimitSpinBox->setEnabled(state == Qt::Checked); });
    connect(m_buttonBox, &QDialogButtonBox::accepted, this,
            &GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this,
            &GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::reject);
    connect(m_buttonBox->button(QDialogButtonBox::Reset), &QPushButton::clicked, this,
            &GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::reset);
    refresh();
}

GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::
    ~GeoEditSurfaceGroupItemControllerBrushEditSettingDialog() = default;

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::setBrushSize(double size)
{
    setGiven(&BrushSettings::brushSize, size);
}

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::setBrushEditUnit(double unit)
{
    setGiven(&BrushSettings::brushEditUnit, unit);
}

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::setBrushLimit(double limit)
{
    setGiven(&BrushSettings::brushLimit, limit);
}

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::setBrushLimitEnabled(bool enabled)
{
    setGiven(&BrushSettings::brushLimitEnabled, enabled);
}

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::setBrushLevelOff(bool levelOff)
{
    setGiven(&BrushSettings::brushLevelOff, levelOff);
}

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::setSettings(const BrushSettings& settings)
{
    m_given = m_current = settings;
    refresh();
}

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::setSizeEnabled(bool enabled)
{
    m_brushSizeSpinBox->setEnabled(enabled);
}

double GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::brushSize() const
{
    return m_current.brushSize;
}

double GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::brushEditUnit() const
{
    return m_current.brushEditUnit;
}

double GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::brushLimit() const
{
    return m_current.brushLimit;
}

bool GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::brushLimitEnabled() const
{
    return m_current.brushLimitEnabled;
}

bool GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::brushLevelOff() const
{
    return m_current.brushLevelOff;
}

BrushSettings GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::settings() const
{
    return m_current;
}

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::accept()
{
    m_current.brushSize = m_brushSizeSpinBox->value();
    m_current.brushEditUnit = m_brushEditUnitSpinBox->value();
    m_current.brushLimit = m_brushLimitSpinBox->value();
    m_current.brushLimitEnabled = m_brushUseLimitCheckBox->checkState() == Qt::Checked;
    m_current.brushLevelOff = m_brushLevelOffCheckBox->checkState() == Qt::Checked;
    QDialog::accept();
}

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::reset()
{
    m_current = m_given;
    refresh();
}

void GeoEditSurfaceGroupItemControllerBrushEditSettingDialog::refresh()
{
    m_brushSizeSpinBox->setValue(m_current.brushSize);
    m_brushEditUnitSpinBox->setValue(m_current.brushEditUnit);
    m_brushLimitSpinBox->setValue(m_current.brushLimit);
    m_brushUseLimitCheckBox->setChecked(m_current.brushLimitEnabled);
    m_brushLimitSpinBox->setEnabled(m_current.brushLimitEnabled);
    m_brushLevelOffCheckBox->setChecked(m_current.brushLevelOff);
}

} // namespace varnel
