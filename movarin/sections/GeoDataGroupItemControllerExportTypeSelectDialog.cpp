#include "movarin/sections/GeoDataGroupItemControllerExportTypeSelectDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace varnel {

GeoDataGroupItemControllerExportTypeSelectDialog::GeoDataGroupItemControllerExportTypeSelectDialog(
    QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ExportTypeSelectDialog"));
    setWindowTitle(tr("Select Export Data Type"));
    resize(268, 146);

    auto layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Please select the type of data to be exported."), this));
    auto group = new QGroupBox(tr("Type"), this);
    group->setObjectName(QStringLiteral("typeGroupBox"));
    auto groupLayout = new QVBoxLayout(group);
    m_polygonButton = new QRadioButton(tr("Polygon"), group);
    m_polygonButton->setObjectName(QStringLiteral("polygonRadioButton"));
    m_polygonButton->setChecked(true);
    m_polylineButton = new QRadioButton(tr("Polyline"), group);
    m_polylineButton->setObjectName(QStringLiteral("polylineRadioButton"));
    groupLayout->addWidget(m_polygonButton);
    groupLayout->addWidget(m_polylineButton);
    layout->addWidget(group);
    layout->addItem(new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
    auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                        Qt::Horizontal, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this,
            &GeoDataGroupItemControllerExportTypeSelectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this,
            &GeoDataGroupItemControllerExportTypeSelectDialog::reject);
}

GeoDataGroupItemControllerExportTypeSelectDialog::
    ~GeoDataGroupItemControllerExportTypeSelectDialog() = default;

bool GeoDataGroupItemControllerExportTypeSelectDialog::exportsPolylines() const
{
    return !m_polygonButton->isChecked();
}

} // namespace varnel
