#include "movarin/sections/GeoDataShapeSettingDialog.h"

#include "movarin/sections/GeoDataShapeSetting.h"

#include <guimisc/widget/ColorEditWidget.h>
#include <guimisc/widget/TransparencyWidget.h>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QSpinBox>
#include <QVBoxLayout>

namespace varnel {

namespace {

// A label and its editor on one row, pushed to the left.
void addRow(QVBoxLayout* layout, QLabel* label, QWidget* editor)
{
    auto row = new QHBoxLayout();
    if (label) {
        row->addWidget(label);
    }
    row->addWidget(editor);
    row->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    layout->addLayout(row);
}

} // namespace

GeoDataShapeSettingDialog::GeoDataShapeSettingDialog(const QString& title, QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_colorEdit(new guimisc::widget::ColorEditWidget(this)),
      m_widthSpinBox(new QSpinBox(this)),
      m_transparencyWidget(new guimisc::widget::TransparencyWidget(this))
{
    setWindowTitle(title);
    resize(198, 133);
    m_colorEdit->setObjectName(QStringLiteral("colorEditWidget"));
    m_widthSpinBox->setObjectName(QStringLiteral("widthSpinBox"));
    m_widthSpinBox->setRange(1, 15);
    m_transparencyWidget->setObjectName(QStringLiteral("transparencyWidget"));

    auto layout = new QVBoxLayout(this);
    addRow(layout, new QLabel(tr("Color:"), this), m_colorEdit);
    addRow(layout, new QLabel(tr("Width:"), this), m_widthSpinBox);
    addRow(layout, nullptr, m_transparencyWidget);
    layout->addItem(new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
    auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                        Qt::Horizontal, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &GeoDataShapeSettingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GeoDataShapeSettingDialog::reject);
}

GeoDataShapeSettingDialog::~GeoDataShapeSettingDialog() = default;

void GeoDataShapeSettingDialog::fillEditors(const GeoDataShapeSetting& setting)
{
    m_colorEdit->setColor(setting.color);
    m_widthSpinBox->setValue(setting.lineWidth);
    m_transparencyWidget->setOpacity(setting.opacity.percent());
}

void GeoDataShapeSettingDialog::readEditors(GeoDataShapeSetting* setting) const
{
    setting->color = m_colorEdit->color();
    setting->lineWidth = m_widthSpinBox->value();
    setting->opacity = m_transparencyWidget->opacity();
}

} // namespace varnel
