#include "movarin/shell/PathTableModel.h"

namespace varnel {

PathTableModel::PathTableModel(const QStringList& headers, QObject* parent)
    : QAbstractTableModel(parent), m_headers(headers)
{
}

PathTableModel::~PathTableModel() = default;

int PathTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : pathSize();
}

int PathTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant PathTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= m_headers.size()) {
        return QVariant();
    }
    return m_headers.at(section);
}

void PathTableModel::turnOnEditAllRows(int state)
{
    m_editAllRows = state != 0;
}

void PathTableModel::announceRows(int first, int last)
{
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

} // namespace varnel
