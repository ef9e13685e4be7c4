#include "movarin/surfaces/MoldItemLhTableModel.h"

#include "movarin/surfaces/MoldItem.h"

#include <cmath>

namespace varnel {

MoldItemLhTableModel::MoldItemLhTableModel(QObject* parent) : QAbstractTableModel(parent) {}

MoldItemLhTableModel::~MoldItemLhTableModel() = default;

void MoldItemLhTableModel::setMoldItem(MoldItem* item)
{
    beginResetModel();
    m_item = item;
    endResetModel();
}

void MoldItemLhTableModel::reset()
{
    beginResetModel();
    endResetModel();
}

int MoldItemLhTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_item) {
        return 0;
    }
    return static_cast<int>(m_item->size());
}

int MoldItemLhTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MoldItemLhTableModel::data(const QModelIndex& index, int role) const
{
    // The row is checked against the mold, not the view's row count: a tool may have
    // shortened the mold since the last reset.
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid()
        || index.row() >= rowCount() || index.column() >= ColumnCount) {
        return QVariant();
    }
    const auto row = static_cast<std::size_t>(index.row());
    return index.column() == LColumn ? m_item->lAt(row) : m_item->hAt(row);
}

QVariant MoldItemLhTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        if (section == LColumn) {
            return tr("L");
        }
        if (section == HColumn) {
            return tr("H");
        }
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags MoldItemLhTableModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool MoldItemLhTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()
        || index.column() >= ColumnCount) {
        return false;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        return false;
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == LColumn) {
        m_item->setLH(row, number, m_item->hAt(row));
    } else {
        m_item->setLH(row, m_item->lAt(row), number);
    }
    emit dataChanged(index, index);
    return true;
}

bool MoldItemLhTableModel::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || !m_item || row < 0 || row > rowCount() || count < 1) {
        return false;
    }
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        m_item->insertLH(static_cast<std::size_t>(row + i), 0.0, 0.0);
    }
    endInsertRows();
    return true;
}

bool MoldItemLhTableModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || !m_item || row < 0 || count < 1 || count > rowCount() - row) {
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (int i = row + count - 1; i >= row; --i) {
        m_item->erasePoint(static_cast<std::size_t>(i));
    }
    endRemoveRows();
    return true;
}

} // namespace varnel
