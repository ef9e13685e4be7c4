#include "kalmo/ShpRecordTableWidget.h"

#include "kalmo/ShpAttributeTable.h"

namespace tinshp {

ShpRecordTableWidget::ShpRecordTableWidget(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void ShpRecordTableWidget::setRecords(const ShpAttributeTable& table)
{
    clear();
    setColumnCount(table.labels().size());
    setHorizontalHeaderLabels(table.labels());
    setRowCount(table.rows().size());
    for (int row = 0; row < table.rows().size(); ++row) {
        const QVariantList& values = table.rows()[row];
        for (int col = 0; col < values.size(); ++col) {
            setItem(row, col, new QTableWidgetItem(values[col].toString()));
        }
    }
}

} // namespace tinshp
