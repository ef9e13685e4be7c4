#include "movarin/sections/ZindralExportDialog.h"

#include <guimisc/widget/DirnameEditWidget.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace varnel {

namespace {

// List position = value - 1; the last number is the largest zone of the system (0: none).
struct CoordinateSystem {
    const char* text;
    int zones;
};

const CoordinateSystem COORDINATE_SYSTEMS[] = {
    {QT_TRANSLATE_NOOP("ZindralExportDialog", "Latitude-Longitude CS (World Geodetic System)"), 0},
    {QT_TRANSLATE_NOOP("ZindralExportDialog", "Latitude-Longitude CS (Japan Geodetic System)"), 0},
    {QT_TRANSLATE_NOOP("ZindralExportDialog", "Japan Plane Rectangular CS (World Geodetic System)"),
     19},
    {QT_TRANSLATE_NOOP("ZindralExportDialog", "Japan Plane Rectangular CS (Japan Geodetic System)"),
     19},
    {QT_TRANSLATE_NOOP("ZindralExportDialog", "UTM (Northern Hemisphere)"), 60},
    {QT_TRANSLATE_NOOP("ZindralExportDialog", "UTM (Southern Hemisphere)"), 60},
};

/// The field, with room to its right.
QHBoxLayout* withSpacer(QWidget* field)
{
    auto row = new QHBoxLayout();
    row->addWidget(field);
    row->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    return row;
}

} // namespace

// Every text, the list's entries too, is translated in the context "ZindralExportDialog", the
// name the translation files know the dialog by, not in the class's own ("varnel::...").
ZindralExportDialog::ZindralExportDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ZindralExportDialog"));
    setWindowTitle(QCoreApplication::translate("ZindralExportDialog", "Export Zindral Grid"));
    resize(440, 186);

    auto outer = new QVBoxLayout(this);
    auto grid = new QGridLayout();
    grid->setColumnStretch(1, 1);

    m_folderWidget = new guimisc::widget::DirnameEditWidget(this);
    m_folderWidget->setObjectName(QStringLiteral("folderWidget"));
    grid->addWidget(
        new QLabel(QCoreApplication::translate("ZindralExportDialog", "Export Folder:"), this), 0,
        0);
    grid->addWidget(m_folderWidget, 0, 1);

    m_riverNameEdit = new QLineEdit(this);
    m_riverNameEdit->setObjectName(QStringLiteral("riverNameEdit"));
    grid->addWidget(
        new QLabel(QCoreApplication::translate("ZindralExportDialog", "River Name:"), this), 1, 0);
    grid->addWidget(m_riverNameEdit, 1, 1);

    m_surveyDateEdit = new QLineEdit(this);
    m_surveyDateEdit->setObjectName(QStringLiteral("surveyDateEdit"));
    grid->addWidget(
        new QLabel(QCoreApplication::translate("ZindralExportDialog", "Survey Date:"), this), 2, 0);
    grid->addWidget(m_surveyDateEdit, 2, 1);

    m_coordinateSystemList = new QComboBox(this);
    m_coordinateSystemList->setObjectName(QStringLiteral("coordinateSystemList"));
    for (const CoordinateSystem& system : COORDINATE_SYSTEMS) {
        m_coordinateSystemList->addItem(
            QCoreApplication::translate("ZindralExportDialog", system.text));
    }
    grid->addWidget(
        new QLabel(QCoreApplication::translate("ZindralExportDialog", "Coordinate System:"), this),
        3, 0);
    grid->addLayout(withSpacer(m_coordinateSystemList), 3, 1);

    m_systemNumberList = new QComboBox(this);
    m_systemNumberList->setObjectName(QStringLiteral("systemNumberList"));
    m_systemNumberList->setMinimumContentsLength(3);
    grid->addWidget(
        new QLabel(QCoreApplication::translate("ZindralExportDialog", "System Number:"), this), 4,
        0);
    grid->addLayout(withSpacer(m_systemNumberList), 4, 1);
    outer->addLayout(grid);

    auto buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(m_coordinateSystemList, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ZindralExportDialog::handleCsChange);
    handleCsChange(m_coordinateSystemList->currentIndex());
}

ZindralExportDialog::~ZindralExportDialog() = default;

void ZindralExportDialog::setSetting(const ZindralExportSetting& setting)
{
    m_folderWidget->setDirname(setting.folderName);
    m_riverNameEdit->setText(setting.riverName);
    m_surveyDateEdit->setText(setting.surveyDate);
    const int system = setting.coordinateSystem - 1;
    m_coordinateSystemList->setCurrentIndex(
        system >= 0 && system < m_coordinateSystemList->count() ? system : 0);
    const int number = setting.systemNumber - 1;
    if (m_systemNumberList->count() > 0) {
        m_systemNumberList->setCurrentIndex(
            number >= 0 && number < m_systemNumberList->count() ? number : 0);
    }
}

ZindralExportSetting ZindralExportDialog::setting() const
{
    ZindralExportSetting setting;
    setting.folderName = m_folderWidget->dirname();
    setting.riverName = m_riverNameEdit->text().trimmed();
    setting.surveyDate = m_surveyDateEdit->text().trimmed();
    setting.coordinateSystem = m_coordinateSystemList->currentIndex() + 1;
    setting.systemNumber = m_systemNumberList->currentIndex() + 1;
    return setting;
}

void ZindralExportDialog::handleCsChange(int index)
{
    m_systemNumberList->clear();
    const int zones = index >= 0 ? COORDINATE_SYSTEMS[index].zones : 0;
    m_systemNumberList->setEnabled(zones > 0);
    for (int zone = 1; zone <= zones; ++zone) {
        m_systemNumberList->addItem(QString::number(zone));
    }
}

} // namespace varnel
