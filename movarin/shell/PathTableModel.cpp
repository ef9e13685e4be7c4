#include "movarin/shell/PathTableModel.h"

namespace varnel {

PathTableModel::PathTableModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(columns)
{
}

PathTableModel::~PathTableModel() = default;

int PathTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : pathSize();
}

int PathTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

void PathTableModel::turnOnEditAllRows(int state)
{
    m_editAllRows = state != 0;
}

void PathTableModel::announceRows(int first, int last)
{
    emit dataChanged(index(first, 0), index(last, m_columns - 1));
}

} // namespace varnel
