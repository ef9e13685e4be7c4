#include "kalmo/ShpImportSettingDialog.h"

#include "kalmo/ShpAttributeTable.h"
#include "kalmo/ShpNameValueWidget.h"

#include "guimisc/UserDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextCodec>
#include <QVBoxLayout>

#include <algorithm>

namespace tinshp {

ShpImportSettingDialog::ShpImportSettingDialog(const std::string& shpPath, QWidget* parent)
    : QDialog(parent), m_shpPath(shpPath)
{
    setWindowTitle(tr("Dialog"));

    QStringList names;
    for (const QByteArray& name : QTextCodec::availableCodecs()) {
        names << QString::fromLatin1(name);
    }
    std::sort(names.begin(), names.end());
    names.removeDuplicates();
    m_encoding = new QComboBox(this);
    m_encoding->setObjectName("encodingComboBox");
    m_encoding->addItems(names);
    m_encoding->setCurrentIndex(
        names.indexOf(QString::fromLatin1(QTextCodec::codecForLocale()->name())));

    m_nameValue = new ShpNameValueWidget(this);
    m_nameValue->valueGroup()->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ShpImportSettingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ShpImportSettingDialog::reject);

    auto* encodingRow = new QHBoxLayout;
    encodingRow->addWidget(new QLabel(tr("Encoding:"), this));
    encodingRow->addWidget(m_encoding, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(encodingRow);
    layout->addWidget(m_nameValue, 1);
    layout->addWidget(buttons);

    readTable(QString::fromLatin1(QTextCodec::codecForLocale()->name()));
    connect(m_encoding, &QComboBox::currentTextChanged, this, &ShpImportSettingDialog::readTable);
}

void ShpImportSettingDialog::readTable(const QString& codecName)
{
    QTextCodec* codec = QTextCodec::codecForName(codecName.toLatin1());
    if (!codec) {
        return;
    }
    try {
        m_nameValue->setTable(ShpAttributeTable::read(m_shpPath, codec));
    } catch (const std::exception& e) {
        // A table that cannot be read shows no rows, as a missing one.
        m_nameValue->setTable(ShpAttributeTable());
        guimisc::UserDialogs::warning(this, tr("Warning"), QString::fromUtf8(e.what()));
    }
}

ShpImportSettingDialog::NameSetting ShpImportSettingDialog::nameSetting() const
{
    return m_nameValue->nameFromColumn() ? NameFromColumn : NameAutomatic;
}

int ShpImportSettingDialog::nameIndex() const
{
    return m_nameValue->nameIndex();
}

ShpImportSettingDialog::ValueSetting ShpImportSettingDialog::valueSetting() const
{
    return m_nameValue->valueFromColumn() ? ValueFromColumn : ValueSpecified;
}

int ShpImportSettingDialog::valueIndex() const
{
    return m_nameValue->valueIndex();
}

void ShpImportSettingDialog::setValueSpecifyWidget(QWidget* widget)
{
    m_nameValue->setValueSpecifyWidget(widget);
    m_nameValue->valueGroup()->show();
}

void ShpImportSettingDialog::accept()
{
    const bool valueShown = !m_nameValue->valueGroup()->isHidden();
    if (valueShown && m_nameValue->nameFromColumn() && m_nameValue->valueFromColumn() &&
        m_nameValue->nameIndex() == m_nameValue->valueIndex()) {
        guimisc::UserDialogs::warning(
            this, tr("Warning"), tr("You can not specify the same column for both Name and Value."),
            QMessageBox::Ok);
        return;
    }
    QDialog::accept();
}

} // namespace tinshp
