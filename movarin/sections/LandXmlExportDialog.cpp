#include "movarin/sections/LandXmlExportDialog.h"

#include <guimisc/UserDialogs.h>
#include <guimisc/widget/FilenameEditWidget.h>

#include <proj/ProjectionPair.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace varnel {

namespace {

struct HorizontalDatum {
    const char* text;
    const char* code;
};

// List index = position.
const HorizontalDatum HORIZONTAL_DATUMS[] = {
    {QT_TRANSLATE_NOOP("LandXmlExportDialog",
                       "Japan Plane Rectangular CS (World Geodetic System) 2000"),
     "JGD2000"},
    {QT_TRANSLATE_NOOP("LandXmlExportDialog",
                       "Japan Plane Rectangular CS (World Geodetic System) 2011"),
     "JGD2011"},
    {QT_TRANSLATE_NOOP("LandXmlExportDialog", "Japan Plane Rectangular CS (Japan Geodetic System)"),
     "TD"},
};

struct VerticalDatum {
    const char* text; // UTF-8, the rivers' own names
    const char* code;
    const char* differTp;
};

const VerticalDatum VERTICAL_DATUMS[] = {
    {"東京湾中等潮位", "T.P", ""},
    {"北上川", "K.P", "-0.8745"},
    {"鳴瀬川", "S.P", "-0.0873"},
    {"利根川", "Y.P", "-0.8402"},
    {"荒川・中川・多摩川", "A.P", "-1.1344"},
    {"淀川", "O.P", "-1.3000"},
    {"吉野川", "A.P", "-0.8333"},
    {"渡川", "T.P.W", "+0.113"},
    {"琵琶湖", "B.S.L", "+84.371"},
};

// The Japanese plane rectangular systems of the three datums, 19 zones each, by EPSG code.
struct PlaneRectangularRange {
    int firstCode;
    int horizontalIndex;
};

const PlaneRectangularRange PLANE_RECTANGULAR_RANGES[] = {
    {2443, 0},
    {6669, 1},
    {30161, 2},
};

constexpr int ZONES = 19;

QRadioButton* untitledRadioButton(const QString& objectName, QWidget* parent)
{
    auto button = new QRadioButton(parent);
    button->setObjectName(objectName);
    return button;
}

} // namespace

// Every text, the list's entries and the warning too, is translated in the context
// "LandXmlExportDialog", the name the translation files know the dialog by, not in the
// class's own ("varnel::...").
LandXmlExportDialog::LandXmlExportDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LandXmlExportDialog"));
    setWindowTitle(QCoreApplication::translate("LandXmlExportDialog", "Export to LandXML"));

    auto outer = new QVBoxLayout(this);
    auto grid = new QGridLayout();
    grid->setColumnStretch(2, 1);

    m_filenameWidget = new guimisc::widget::FilenameEditWidget(this);
    m_filenameWidget->setObjectName(QStringLiteral("filenameWidget"));
    m_filenameWidget->setSaveMode(true);
    m_filenameWidget->setFilter(
        QCoreApplication::translate("LandXmlExportDialog", "XML files(*.xml)"));
    grid->addWidget(
        new QLabel(QCoreApplication::translate("LandXmlExportDialog", "Export File:"), this), 0, 0);
    grid->addWidget(m_filenameWidget, 0, 1, 1, 2);

    m_projectNameEdit = new QLineEdit(this);
    m_projectNameEdit->setObjectName(QStringLiteral("projectNameEdit"));
    grid->addWidget(
        new QLabel(QCoreApplication::translate("LandXmlExportDialog", "Project name:"), this), 1,
        0);
    grid->addWidget(m_projectNameEdit, 1, 1, 1, 2);

    m_horizontalListButton = untitledRadioButton(QStringLiteral("horizontalListButton"), this);
    m_horizontalTextButton = untitledRadioButton(QStringLiteral("horizontalTextButton"), this);
    m_horizontalDatumList = new QComboBox(this);
    m_horizontalDatumList->setObjectName(QStringLiteral("horizontalDatumList"));
    for (const HorizontalDatum& datum : HORIZONTAL_DATUMS) {
        m_horizontalDatumList->addItem(
            QCoreApplication::translate("LandXmlExportDialog", datum.text));
    }
    m_horizontalDatumEdit = new QLineEdit(this);
    m_horizontalDatumEdit->setObjectName(QStringLiteral("horizontalDatumEdit"));
    grid->addWidget(
        new QLabel(QCoreApplication::translate("LandXmlExportDialog", "Horizontal datum:"), this),
        2, 0, 2, 1);
    grid->addWidget(m_horizontalListButton, 2, 1);
    grid->addWidget(m_horizontalDatumList, 2, 2);
    grid->addWidget(m_horizontalTextButton, 3, 1);
    grid->addWidget(m_horizontalDatumEdit, 3, 2);

    m_verticalListButton = untitledRadioButton(QStringLiteral("verticalListButton"), this);
    m_verticalTextButton = untitledRadioButton(QStringLiteral("verticalTextButton"), this);
    m_verticalDatumList = new QComboBox(this);
    m_verticalDatumList->setObjectName(QStringLiteral("verticalDatumList"));
    for (const VerticalDatum& datum : VERTICAL_DATUMS) {
        m_verticalDatumList->addItem(QString::fromUtf8(datum.text));
    }
    m_verticalDatumEdit = new QLineEdit(this);
    m_verticalDatumEdit->setObjectName(QStringLiteral("verticalDatumEdit"));
    grid->addWidget(
        new QLabel(QCoreApplication::translate("LandXmlExportDialog", "Vertical datum:"), this), 4,
        0, 2, 1);
    grid->addWidget(m_verticalListButton, 4, 1);
    grid->addWidget(m_verticalDatumList, 4, 2);
    grid->addWidget(m_verticalTextButton, 5, 1);
    grid->addWidget(m_verticalDatumEdit, 5, 2);

    m_coordinateSystemEdit = new QLineEdit(this);
    m_coordinateSystemEdit->setObjectName(QStringLiteral("coordinateSystemEdit"));
    grid->addWidget(new QLabel(QCoreApplication::translate("LandXmlExportDialog",
                                                           "Horizontal coordinate system"),
                               this),
                    6, 0);
    grid->addWidget(m_coordinateSystemEdit, 6, 1, 1, 2);

    m_differTpEdit = new QLineEdit(this);
    m_differTpEdit->setObjectName(QStringLiteral("differTpEdit"));
    grid->addWidget(
        new QLabel(QCoreApplication::translate("LandXmlExportDialog", "differTP"), this), 7, 0);
    grid->addWidget(m_differTpEdit, 7, 1, 1, 2);
    outer->addLayout(grid);

    auto buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &LandXmlExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Each datum's two buttons exclude each other; the two datums are independent.
    auto horizontalGroup = new QButtonGroup(this);
    horizontalGroup->addButton(m_horizontalListButton);
    horizontalGroup->addButton(m_horizontalTextButton);
    auto verticalGroup = new QButtonGroup(this);
    verticalGroup->addButton(m_verticalListButton);
    verticalGroup->addButton(m_verticalTextButton);

    connect(m_horizontalDatumList, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &LandXmlExportDialog::handleHorizontalDatumChanged);
    connect(m_verticalDatumList, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &LandXmlExportDialog::handleVerticalDatumChanged);
    connect(m_horizontalListButton, &QRadioButton::toggled, this,
            &LandXmlExportDialog::handleHorizontalModeChanged);
    connect(m_verticalListButton, &QRadioButton::toggled, this,
            &LandXmlExportDialog::handleVerticalModeChanged);

    m_horizontalListButton->setChecked(true);
    m_verticalListButton->setChecked(true);
    handleHorizontalModeChanged();
    handleVerticalModeChanged();

    resize(520, sizeHint().height());
}

LandXmlExportDialog::~LandXmlExportDialog() = default;

void LandXmlExportDialog::setProjectionPair(const proj::ProjectionPair* pair)
{
    if (!pair) {
        return;
    }
    // The name, not the caption: the name is always "EPSG:" and the code.
    static const QRegularExpression epsg(QStringLiteral("^EPSG:\\s*([0-9]*)"));
    const QRegularExpressionMatch match = epsg.match(QString::fromStdString(pair->name()));
    bool isNumber = false;
    const int code = match.hasMatch() ? match.captured(1).toInt(&isNumber) : 0;
    if (!isNumber) {
        return;
    }
    for (const PlaneRectangularRange& range : PLANE_RECTANGULAR_RANGES) {
        const int zone = code - range.firstCode + 1;
        if (zone >= 1 && zone <= ZONES) {
            m_horizontalDatumList->setCurrentIndex(range.horizontalIndex);
            m_coordinateSystemEdit->setText(QStringLiteral("%1(X,Y)").arg(zone));
            return;
        }
    }
}

LandXmlExportSetting LandXmlExportDialog::setting() const
{
    LandXmlExportSetting setting;
    setting.filename = m_filenameWidget->filename().trimmed();
    setting.projectName = m_projectNameEdit->text().trimmed();
    // In list mode the datum lines hold the list's code, so they serve in either mode.
    setting.horizontalDatum = m_horizontalDatumEdit->text().trimmed();
    setting.verticalDatum = m_verticalDatumEdit->text().trimmed();
    setting.horizontalCoordinateSystemName = m_coordinateSystemEdit->text().trimmed();
    setting.differTp = m_differTpEdit->text().trimmed();
    return setting;
}

void LandXmlExportDialog::accept()
{
    if (m_filenameWidget->filename().trimmed().isEmpty()) {
        guimisc::UserDialogs::warning(
            this, QCoreApplication::translate("LandXmlExportDialog", "Warning"),
            QCoreApplication::translate("LandXmlExportDialog", "Output file is not specified."));
        return;
    }
    QDialog::accept();
}

void LandXmlExportDialog::handleHorizontalDatumChanged(int index)
{
    if (index >= 0) {
        m_horizontalDatumEdit->setText(QString::fromLatin1(HORIZONTAL_DATUMS[index].code));
    }
}

void LandXmlExportDialog::handleVerticalDatumChanged(int index)
{
    if (index >= 0) {
        m_verticalDatumEdit->setText(QString::fromLatin1(VERTICAL_DATUMS[index].code));
        m_differTpEdit->setText(QString::fromLatin1(VERTICAL_DATUMS[index].differTp));
    }
}

void LandXmlExportDialog::handleHorizontalModeChanged()
{
    const bool listMode = m_horizontalListButton->isChecked();
    m_horizontalDatumList->setEnabled(listMode);
    m_horizontalDatumEdit->setEnabled(!listMode);
    if (listMode) {
        handleHorizontalDatumChanged(m_horizontalDatumList->currentIndex());
    }
}

void LandXmlExportDialog::handleVerticalModeChanged()
{
    const bool listMode = m_verticalListButton->isChecked();
    m_verticalDatumList->setEnabled(listMode);
    m_verticalDatumEdit->setEnabled(!listMode);
    if (listMode) {
        handleVerticalDatumChanged(m_verticalDatumList->currentIndex());
    } else {
        m_differTpEdit->clear();
    }
}

} // namespace varnel
