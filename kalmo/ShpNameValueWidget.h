#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QRadioButton;

namespace guimisc::widget {
class WidgetContainerWidget;
}

namespace tinshp {

class ShpAttributeTable;
class ShpRecordTableWidget;

// Where imported items take their names and values from, with the records to choose from: the
// "Name" group ("Load from Shape file" with a column list, or "Name is set automatically"), the
// "Value" group ("Load from Shape file" with a column list, or "Specify value" with the caller's
// editor) and a read-only table of the records. Shared by the import wizard's first page and the
// import dialog. A column list is enabled only while its "Load from Shape file" is chosen, the
// editor only while "Specify value" is.
class ShpNameValueWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ShpNameValueWidget(QWidget* parent = nullptr);

    // Shows the table and offers its field names in both column lists.
    void setTable(const ShpAttributeTable& table);

    bool nameFromColumn() const;
    // The current index of the name column list; -1 while it is empty.
    int nameIndex() const;
    bool valueFromColumn() const;
    int valueIndex() const;

    // Hosts the caller's value editor under "Specify value"; the widget takes it over.
    void setValueSpecifyWidget(QWidget* widget);

    QGroupBox* valueGroup() const { return m_valueGroup; }

private:
    QRadioButton* m_nameFromColumn;
    QComboBox* m_nameColumn;
    QGroupBox* m_valueGroup;
    QRadioButton* m_valueFromColumn;
    QComboBox* m_valueColumn;
    guimisc::widget::WidgetContainerWidget* m_valueEditor;
    ShpRecordTableWidget* m_table;
};

} // namespace tinshp
