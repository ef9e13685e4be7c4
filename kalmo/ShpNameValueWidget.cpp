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

ShpNameValueWidget::ShpNameValueWidget(QWidget* parent) : QWidget(parent)
{
    auto* nameGroup = new QGroupBox(tr("Name"), this);
    nameGroup->setObjectName("nameGroup");
    m_nameFromColumn = new QRadioButton(tr("Load from Shape file"), nameGroup);
    m_nameFromColumn->setObjectName("nameFromColumnButton");
    m_nameColumn = new QComboBox(nameGroup);
    m_nameColumn->setObjectName("nameColumnComboBox");
    auto* nameAutomatic = new QRadioButton(tr("Name is set automatically"), nameGroup);
    nameAutomatic->setObjectName("nameAutomaticButton");
    auto* nameLayout = new QGridLayout(nameGroup);
    nameLayout->addWidget(m_nameFromColumn, 0, 0);
    nameLayout->addWidget(m_nameColumn, 0, 1);
    nameLayout->addWidget(nameAutomatic, 1, 0, 1, 2);
    nameLayout->setColumnStretch(1, 1);

    m_valueGroup = new QGroupBox(tr("Value"), this);
    m_valueGroup->setObjectName("valueGroup");
    m_valueFromColumn = new QRadioButton(tr("Load from Shape file"), m_valueGroup);
    m_valueFromColumn->setObjectName("valueFromColumnButton");
    m_valueColumn = new QComboBox(m_valueGroup);
    m_valueColumn->setObjectName("valueColumnComboBox");
    auto* valueSpecified = new QRadioButton(tr("Specify value"), m_valueGroup);
    valueSpecified->setObjectName("valueSpecifiedButton");
    m_valueEditor = new guimisc::widget::WidgetContainerWidget(m_valueGroup);
    m_valueEditor->setObjectName("valueEditorContainer");
    auto* valueLayout = new QGridLayout(m_valueGroup);
    valueLayout->addWidget(m_valueFromColumn, 0, 0);
    valueLayout->addWidget(m_valueColumn, 0, 1);
    valueLayout->addWidget(valueSpecified, 1, 0);
    valueLayout->addWidget(m_valueEditor, 1, 1);
    valueLayout->setColumnStretch(1, 1);

    m_table = new ShpRecordTableWidget(this);
    m_table->setObjectName("tableWidget");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameGroup);
    layout->addWidget(m_valueGroup);
    layout->addWidget(m_table, 1);

    connect(m_nameFromColumn, &QRadioButton::toggled, m_nameColumn, &QWidget::setEnabled);
    connect(m_valueFromColumn, &QRadioButton::toggled, m_valueColumn, &QWidget::setEnabled);
    connect(valueSpecified, &QRadioButton::toggled, m_valueEditor, &QWidget::setEnabled);
    m_nameFromColumn->setChecked(true);
    m_valueFromColumn->setChecked(true);
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
