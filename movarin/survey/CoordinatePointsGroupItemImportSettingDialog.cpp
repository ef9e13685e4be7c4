#include "movarin/survey/CoordinatePointsGroupItemImportSettingDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QSpinBox>
#include <QVBoxLayout>

namespace varnel {

CoordinatePointsGroupItemImportSettingDialog::CoordinatePointsGroupItemImportSettingDialog(
    QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CoordinatePointsGroupItemImportSettingDialog"));
    setWindowTitle(tr("Import Coordinate Point"));
    resize(271, 113);

    auto outer = new QVBoxLayout(this);
    outer->setObjectName(QStringLiteral("verticalLayout"));
    auto message = new QLabel(tr("Select a region to import."), this);
    message->setObjectName(QStringLiteral("messageLabel"));
    outer->addWidget(message);

    auto row = new QHBoxLayout();
    row->setObjectName(QStringLiteral("horizontalLayout"));
    auto form = new QFormLayout();
    form->setObjectName(QStringLiteral("formLayout"));
    auto stepLabel = new QLabel(tr("Step"), this);
    stepLabel->setObjectName(QStringLiteral("stepLabel"));
    m_stepSpinBox = new QSpinBox(this);
    m_stepSpinBox->setObjectName(QStringLiteral("stepSpinBox"));
    m_stepSpinBox->setMinimum(1);
    m_stepSpinBox->setValue(1);
    form->addRow(stepLabel, m_stepSpinBox);
    row->addLayout(form);
    row->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    outer->addLayout(row);

    auto explanation = new QLabel(
        tr("Please specify the step for downsampling. Step=1 means importing all points. For "
           "JPGIS ZIP files that contain multiple XML files, downsampling may result in uneven "
           "intervals."),
        this);
    explanation->setObjectName(QStringLiteral("explanationLabel"));
    explanation->setWordWrap(true);
    outer->addWidget(explanation);
    outer->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                       Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    outer->addWidget(m_buttonBox);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

CoordinatePointsGroupItemImportSettingDialog::~CoordinatePointsGroupItemImportSettingDialog() =
    default;

int CoordinatePointsGroupItemImportSettingDialog::step() const
{
    return m_stepSpinBox->value();
}

} // namespace varnel
