#pragma once

#include <QDialog>

#include <string>

class QComboBox;

namespace tinshp {

class ShpNameValueWidget;

// The import set-up on one page: an "Encoding:" list of every codec Qt offers (the system
// locale's chosen at start), the "Name" and "Value" groups of the import wizard and the table of
// records, read again whenever another encoding is chosen. The "Value" group is hidden until
// setValueSpecifyWidget() hosts an editor. A table that does not open shows no rows; one that
// claims more records than its file holds shows none either, after a warning box naming it.
//
// While the "Value" group is shown, the dialog does not close on OK when names and values would
// both be read from the same column; it says so in a warning box instead.
class ShpImportSettingDialog : public QDialog
{
    Q_OBJECT
public:
    enum NameSetting { NameFromColumn = 0, NameAutomatic = 1 };
    enum ValueSetting { ValueFromColumn = 0, ValueSpecified = 1 };

    // shpPath: the ".shp", 8-bit bytes (UTF-8 here).
    explicit ShpImportSettingDialog(const std::string& shpPath, QWidget* parent = nullptr);

    NameSetting nameSetting() const;
    int nameIndex() const;
    ValueSetting valueSetting() const;
    int valueIndex() const;

    // Hosts the caller's value editor under "Specify value" and shows the "Value" group; the
    // dialog takes the editor over.
    void setValueSpecifyWidget(QWidget* widget);

public slots:
    void accept() override;

private:
    void readTable(const QString& codecName);

    std::string m_shpPath;
    QComboBox* m_encoding;
    ShpNameValueWidget* m_nameValue;
};

} // namespace tinshp
