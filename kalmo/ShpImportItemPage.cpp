#include "kalmo/ShpImportItemPage.h"

#include "kalmo/ShpAttributeTable.h"
#include "kalmo/ShpRecordTableWidget.h"

#include "guimisc/widget/RealNumberEditWidget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tinshp {

ShpImportItemPage::ShpImportItemPage(QWidget* parent) : QWizardPage(parent)
{
    setTitle(tr("Import target item setting"));

    m_allItems = new QRadioButton(tr("All Items"), this);
    m_allItems->setObjectName("allItemsButton");
    m_specifyRegion = new QRadioButton(tr("Specify Region"), this);
    m_specifyRegion->setObjectName("specifyRegionButton");
    auto* selectItems = new QRadioButton(tr("Select Items"), this);
    selectItems->setObjectName("selectItemsButton");

    m_region = new QGroupBox(tr("Region"), this);
    m_region->setObjectName("regionGroup");
    auto makeField = [this](const char* name) {
        auto* field = new guimisc::widget::RealNumberEditWidget(m_region);
        field->setObjectName(name);
        return field;
    };
    m_xMin = makeField("xMinEdit");
    m_yMin = makeField("yMinEdit");
    m_xMax = makeField("xMaxEdit");
    m_yMax = makeField("yMaxEdit");
    auto* regionLayout = new QGridLayout(m_region);
    regionLayout->addWidget(new QLabel(tr("X min:"), m_region), 0, 0);
    regionLayout->addWidget(m_xMin, 0, 1);
    regionLayout->addWidget(new QLabel(tr("Y min:"), m_region), 0, 2);
    regionLayout->addWidget(m_yMin, 0, 3);
    regionLayout->addWidget(new QLabel(tr("X max:"), m_region), 1, 0);
    regionLayout->addWidget(m_xMax, 1, 1);
    regionLayout->addWidget(new QLabel(tr("Y max:"), m_region), 1, 2);
    regionLayout->addWidget(m_yMax, 1, 3);

    m_table = new ShpRecordTableWidget(this);
    m_table->setObjectName("tableWidget");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_allItems);
    layout->addWidget(m_specifyRegion);
    layout->addWidget(m_region);
    layout->addWidget(selectItems);
    layout->addWidget(m_table, 1);

    connect(m_specifyRegion, &QRadioButton::toggled, m_region, &QWidget::setEnabled);
    connect(selectItems, &QRadioButton::toggled, m_table, &QWidget::setEnabled);
    m_allItems->setChecked(true);
    m_region->setEnabled(false);
    m_table->setEnabled(false);
}

void ShpImportItemPage::setTable(const ShpAttributeTable& table)
{
    m_table->setRecords(table);
}

ShpImportItemPage::Choice ShpImportItemPage::choice() const
{
    if (m_allItems->isChecked()) {
        return AllItems;
    }
    return m_specifyRegion->isChecked() ? SpecifyRegion : SelectItems;
}

void ShpImportItemPage::setRegion(double xmin, double xmax, double ymin, double ymax)
{
    m_xMin->setValue(xmin);
    m_xMax->setValue(xmax);
    m_yMin->setValue(ymin);
    m_yMax->setValue(ymax);
}

double ShpImportItemPage::xMin() const
{
    return m_xMin->value();
}

double ShpImportItemPage::xMax() const
{
    return m_xMax->value();
}

double ShpImportItemPage::yMin() const
{
    return m_yMin->value();
}

double ShpImportItemPage::yMax() const
{
    return m_yMax->value();
}

QSet<int> ShpImportItemPage::selectedRows() const
{
    QSet<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        rows.insert(index.row());
    }
    return rows;
}

} // namespace tinshp
