#include "movarin/survey/AddibleGcpTableModel.h"

namespace varnel {

AddibleGcpTableModel::AddibleGcpTableModel(QObject* parent) : GcpTableModel(parent) {}

AddibleGcpTableModel::~AddibleGcpTableModel() = default;

bool AddibleGcpTableModel::isExtraRow(const QModelIndex& index) const
{
    return index.isValid() && index.row() == pairCount() && index.column() < ColumnCount;
}

int AddibleGcpTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : pairCount() + 1;
}

QVariant AddibleGcpTableModel::data(const QModelIndex& index, int role) const
{
    if (isExtraRow(index)) {
        return QVariant();
    }
    return GcpTableModel::data(index, role);
}

Qt::ItemFlags AddibleGcpTableModel::flags(const QModelIndex& index) const
{
    if (isExtraRow(index)) {
        return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
    }
    return GcpTableModel::flags(index);
}

bool AddibleGcpTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!isExtraRow(index)) {
        return GcpTableModel::setData(index, value, role);
    }
    GcpTableRow row;
    if (!writeCell(row, index.column(), value, role)) {
        return false;
    }
    appendRow(row);
    return true;
}

} // namespace varnel
