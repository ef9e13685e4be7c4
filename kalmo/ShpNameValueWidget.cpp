#include "kalmo/ShpNameValueWidget.h"

#include "kalmo/ShpAttributeTable.h"
#include "kalmo/ShpRecordTableWidget.h"

#include "guimisc/widget/WidgetContainerWidget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tinshp {

namespace {

// A group offering "Load from Shape file" with a column list, or `otherText` (with `editor`
// beside it, else spanning the row). Object names start with `prefix`; `otherName` names the
// second button. The column list is enabled only while its button is chosen, which it is.
QGroupBox* columnChoiceGroup(QWidget* parent, const QString& title, const QString& prefix,
                             const QString& otherText, const char* otherName, QWidget* editor,
                             QRadioButton** fromColumn, QComboBox** column)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(prefix + QStringLiteral("Group"));
    *fromColumn = new QRadioButton(ShpNameValueWidget::tr("Load from Shape file"), group);
    (*fromColumn)->setObjectName(prefix + QStringLiteral("FromColumnButton"));
    *column = new QComboBox(group);
    (*column)->setObjectName(prefix + QStringLiteral("ColumnComboBox"));
    auto* other = new QRadioButton(otherText, group);
    other->setObjectName(otherName);
    auto* layout = new QGridLayout(group);
    layout->addWidget(*fromColumn, 0, 0);
    layout->addWidget(*column, 0, 1);
    if (editor != nullptr) {
        editor->setParent(group);
        layout->addWidget(other, 1, 0);
        layout->addWidget(editor, 1, 1);
        QObject::connect(other, &QRadioButton::toggled, editor, &QWidget::setEnabled);
    } else {
        layout->addWidget(other, 1, 0, 1, 2);
    }
    layout->setColumnStretch(1, 1);
    QObject::connect(*fromColumn, &QRadioButton::toggled, *column, &QWidget::setEnabled);
    (*fromColumn)->setChecked(true);
    return group;
}

} // namespace

ShpNameValueWidget::ShpNameValueWidget(QWidget* parent) : QWidget(parent)
{
    auto* nameGroup = columnChoiceGroup(this, tr("Name"), QStringLiteral("name"),
                                        tr("Name is set automatically"), "nameAutomaticButton",
                                        nullptr, &m_nameFromColumn, &m_nameColumn);
    m_valueEditor = new guimisc::widget::WidgetContainerWidget(); // joins the value group
    m_valueEditor->setObjectName("valueEditorContainer");
    m_valueGroup = columnChoiceGroup(this, tr("Value"), QStringLiteral("value"),
                                     tr("Specify value"), "valueSpecifiedButton", m_valueEditor,
                                     &m_valueFromColumn, &m_valueColumn);

    m_table = new ShpRecordTableWidget(this);
    m_table->setObjectName("tableWidget");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameGroup);
    layout->addWidget(m_valueGroup);
    layout->addWidget(m_table, 1);

    m_valueEditor->setEnabled(false);
}

void ShpNameValueWidget::setTable(const ShpAttributeTable& table)
{
    m_table->setRecords(table);
    for (QComboBox* list : {m_nameColumn, m_valueColumn}) {
        list->clear();
        list->addItems(table.labels());
    }
}

bool ShpNameValueWidget::nameFromColumn() const
{
    return m_nameFromColumn->isChecked();
}

int ShpNameValueWidget::nameIndex() const
{
    return m_nameColumn->currentIndex();
}

bool ShpNameValueWidget::valueFromColumn() const
{
    return m_valueFromColumn->isChecked();
}

int ShpNameValueWidget::valueIndex() const
{
    return m_valueColumn->currentIndex();
}

void ShpNameValueWidget::setValueSpecifyWidget(QWidget* widget)
{
    m_valueEditor->setWidget(widget);
}

} // namespace tinshp
