#include "movarin/survey/CoordinatePointsBaseItemPropertyDialog.h"

#include <guimisc/widget/ColorEditWidget.h>

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace varnel {

CoordinatePointsBaseItemPropertyDialog::CoordinatePointsBaseItemPropertyDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("CoordinatePointsBaseItemPropertyDialog"));
    setWindowTitle(tr("Polygon Color Setting"));
    resize(268, 153);

    auto outer = new QVBoxLayout(this);
    outer->setObjectName(QStringLiteral("verticalLayout_2"));
    auto group = new QGroupBox(tr("Color"), this);
    group->setObjectName(QStringLiteral("colorGroupBox"));
    outer->addWidget(group);

    auto inner = new QVBoxLayout(group);
    inner->setObjectName(QStringLiteral("verticalLayout"));
    m_byValueRadioButton = new QRadioButton(tr("Color by value"), group);
    m_byValueRadioButton->setObjectName(QStringLiteral("byValueRadioButton"));
    inner->addWidget(m_byValueRadioButton);

    auto row = new QHBoxLayout();
    row->setObjectName(QStringLiteral("horizontalLayout"));
    m_arbitraryRadioButton = new QRadioButton(tr("Custom Color"), group);
    m_arbitraryRadioButton->setObjectName(QStringLiteral("arbitraryRadioButton"));
    row->addWidget(m_arbitraryRadioButton);
    m_colorEditWidget = new guimisc::widget::ColorEditWidget(group);
    m_colorEditWidget->setObjectName(QStringLiteral("colorEditWidget"));
    m_colorEditWidget->setMinimumWidth(50);
    row->addWidget(m_colorEditWidget);
    row->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    inner->addLayout(row);

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                       Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    outer->addWidget(m_buttonBox);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this,
            &CoordinatePointsBaseItemPropertyDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this,
            &CoordinatePointsBaseItemPropertyDialog::reject);
}

CoordinatePointsBaseItemPropertyDialog::~CoordinatePointsBaseItemPropertyDialog() = default;

void CoordinatePointsBaseItemPropertyDialog::setViewSetting(
    const CoordinatePointsBaseItemViewSetting& setting)
{
    m_setting = setting;
    m_originalSetting = setting;
    m_colorEditWidget->setColor(setting.color());
    if (setting.useColorByValue()) {
        m_byValueRadioButton->click();
    } else {
        m_arbitraryRadioButton->click();
    }
}

CoordinatePointsBaseItemViewSetting CoordinatePointsBaseItemPropertyDialog::viewSetting() const
{
    return m_setting;
}

void CoordinatePointsBaseItemPropertyDialog::accept()
{
    m_setting.setColor(m_colorEditWidget->color());
    m_setting.setUseColorByValue(m_byValueRadioButton->isChecked());
    QDialog::accept();
}

void CoordinatePointsBaseItemPropertyDialog::reject()
{
    m_setting = m_originalSetting;
    QDialog::reject();
}

} // namespace varnel
