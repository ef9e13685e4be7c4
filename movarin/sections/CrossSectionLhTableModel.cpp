#include "movarin/sections/CrossSectionLhTableModel.h"

namespace varnel {

using Self = CrossSectionLhTableModel;

Self::CrossSectionLhTableModel(Rows* rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows)
{
}

Self::~CrossSectionLhTableModel() = default;

int Self::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows->size());
}

int Self::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant Self::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case EnabledColumn:
        return QString();
    case LColumn:
        return QStringLiteral("L");
    case HColumn:
        return QStringLiteral("H");
    default:
        return QVariant();
    }
}

QVariant Self::data(const QModelIndex& index, int role) const
{
    if (!isCell(index)) {
        return QVariant();
    }
    const CrossSectionLhTableRow& row = (*m_rows)[static_cast<std::size_t>(index.row())];
    if (index.column() == EnabledColumn) {
        return role == Qt::CheckStateRole ? QVariant(row.enabled ? Qt::Checked : Qt::Unchecked)
                                          : QVariant();
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return QVariant();
    }
    return index.column() == LColumn ? row.L : row.H;
}

Qt::ItemFlags Self::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::ItemIsEnabled;
    }
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == EnabledColumn) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

bool Self::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!isCell(index) || (role != Qt::EditRole && role != Qt::CheckStateRole)) {
        return false;
    }
    if (index.column() == EnabledColumn) {
        // A check state arrives as an int (0 unchecked), a pasted cell as text ("0", "false").
        (*m_rows)[static_cast<std::size_t>(index.row())].enabled = value.toBool();
    }
    emit dataChanged(index, index);
    return true;
}

void Self::reset()
{
    beginResetModel();
    endResetModel();
}

void Self::setEnabled(const CrossSectionLhRowIndices& indices, bool enabled)
{
    beginResetModel();
    for (const auto i : indices) {
        if (i < m_rows->size()) {
            (*m_rows)[i].enabled = enabled;
        }
    }
    endResetModel();
}

bool Self::isCell(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && index.row() >= 0
           && static_cast<std::size_t>(index.row()) < m_rows->size() && index.column() >= 0
           && index.column() < ColumnCount;
}

} // namespace varnel
