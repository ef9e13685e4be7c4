#include "movarin/survey/CoordinatePointsBaseItemEditElevationDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace varnel {

CoordinatePointsBaseItemEditElevationDialog::CoordinatePointsBaseItemEditElevationDialog(
    QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("CoordinatePointsBaseItemEditElevationDialog"));
    setWindowTitle(tr("Edit Elevation"));
    resize(268, 153);

    auto outer = new QVBoxLayout(this);
    outer->setObjectName(QStringLiteral("verticalLayout_2"));
    auto group = new QGroupBox(tr("Elevation"), this);
    group->setObjectName(QStringLiteral("groupBox"));
    outer->addWidget(group);
    auto inner = new QVBoxLayout(group);
    inner->setObjectName(QStringLiteral("verticalLayout"));
    m_doubleSpinBox = new QDoubleSpinBox(group);
    m_doubleSpinBox->setObjectName(QStringLiteral("doubleSpinBox"));
    m_doubleSpinBox->setDecimals(5);
    m_doubleSpinBox->setRange(-100000.0, 100000.0);
    inner->addWidget(m_doubleSpinBox);

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                       Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    outer->addWidget(m_buttonBox);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this,
            &CoordinatePointsBaseItemEditElevationDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this,
            &CoordinatePointsBaseItemEditElevationDialog::reject);
}

CoordinatePointsBaseItemEditElevationDialog::~CoordinatePointsBaseItemEditElevationDialog() =
    default;

void CoordinatePointsBaseItemEditElevationDialog::setElevation(double elevation)
{
    m_elevation = elevation;
    m_originalElevation = elevation;
    m_doubleSpinBox->setValue(elevation);
}

double CoordinatePointsBaseItemEditElevationDialog::elevation() const
{
    return m_elevation;
}

void CoordinatePointsBaseItemEditElevationDialog::accept()
{
    m_elevation = m_doubleSpinBox->value();
    QDialog::accept();
}

void CoordinatePointsBaseItemEditElevationDialog::reject()
{
    m_elevation = m_originalElevation;
    QDialog::reject();
}

} // namespace varnel
