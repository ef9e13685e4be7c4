#include "movarin/survey/GcpTableModel.h"

#include "orlin/core/Point.h"

#include <cmath>
#include <stdexcept>

namespace varnel {

namespace {

/// The value as a finite double: a number, or text that reads as one.
bool toFiniteDouble(const QVariant& value, double* result)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        return false;
    }
    *result = number;
    return true;
}

double cellValue(const GcpTableRow& row, int column)
{
    switch (column) {
    case GcpTableModel::SrcXColumn:
        return row.srcX;
    case GcpTableModel::SrcYColumn:
        return row.srcY;
    case GcpTableModel::DstXColumn:
        return row.dstX;
    default:
        return row.dstY;
    }
}

} // namespace

GcpTableModel::GcpTableModel(QObject* parent) : QAbstractTableModel(parent) {}

GcpTableModel::~GcpTableModel() = default;

int GcpTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : pairCount();
}

int GcpTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GcpTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= pairCount() || index.column() >= ColumnCount) {
        return QVariant();
    }
    const GcpTableRow& row = m_table[static_cast<std::size_t>(index.row())];
    if (index.column() == EnabledColumn) {
        if (role == Qt::CheckStateRole) {
            return row.enabled ? Qt::Checked : Qt::Unchecked;
        }
        return QVariant();
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return cellValue(row, index.column());
    }
    return QVariant();
}

QVariant GcpTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QVariant();
    }
    switch (section) {
    case SrcXColumn:
        return tr("srcX");
    case SrcYColumn:
        return tr("srcY");
    case DstXColumn:
        return tr("dstX");
    case DstYColumn:
        return tr("dstY");
    default:
        return QVariant();
    }
}

Qt::ItemFlags GcpTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::ItemIsEnabled;
    }
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    return index.column() == EnabledColumn ? base | Qt::ItemIsUserCheckable
                                           : base | Qt::ItemIsEditable;
}

bool GcpTableModel::writeCell(GcpTableRow& row, int column, const QVariant& value, int role)
{
    if (role != Qt::EditRole && role != Qt::CheckStateRole) {
        return false;
    }
    if (column == EnabledColumn) {
        // A check state arrives as an int (Checked = 2); toBool takes it as true.
        row.enabled = value.toBool();
        return true;
    }
    double number = 0.0;
    if (!toFiniteDouble(value, &number)) {
        return false;
    }
    switch (column) {
    case SrcXColumn:
        row.srcX = number;
        return true;
    case SrcYColumn:
        row.srcY = number;
        return true;
    case DstXColumn:
        row.dstX = number;
        return true;
    case DstYColumn:
        row.dstY = number;
        return true;
    default:
        return false;
    }
}

bool GcpTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= pairCount() || index.column() >= ColumnCount) {
        return false;
    }
    if (!writeCell(m_table[static_cast<std::size_t>(index.row())], index.column(), value, role)) {
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

bool GcpTableModel::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || row > pairCount() || count < 1) {
        return false;
    }
    beginInsertRows(QModelIndex(), row, row + count - 1);
    m_table.insert(m_table.begin() + row, static_cast<std::size_t>(count), GcpTableRow());
    endInsertRows();
    return true;
}

bool GcpTableModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count < 1 || count > pairCount() - row) {
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_table.erase(m_table.begin() + row, m_table.begin() + row + count);
    endRemoveRows();
    return true;
}

void GcpTableModel::appendRow(const GcpTableRow& row)
{
    const int index = pairCount();
    beginInsertRows(QModelIndex(), index, index);
    m_table.push_back(row);
    endInsertRows();
}

template <class Points, class Assign>
void GcpTableModel::setPositions(const std::vector<GcpTable::size_type>& indices,
                                 const Points& points, Assign assign)
{
    if (points.size() < indices.size()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    beginResetModel();
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (indices[i] < m_table.size()) {
            assign(m_table[indices[i]], points[i]);
        }
    }
    endResetModel();
}

void GcpTableModel::setDestinations(const std::vector<GcpTable::size_type>& indices,
                                    const std::vector<tin::core::Point>& points)
{
    setPositions(indices, points, [](GcpTableRow& row, const tin::core::Point& p) {
        row.dstX = p.x();
        row.dstY = p.y();
    });
}

void GcpTableModel::setSources(const std::vector<GcpTable::size_type>& indices,
                               const std::vector<QPointF>& points)
{
    setPositions(indices, points, [](GcpTableRow& row, const QPointF& p) {
        row.srcX = p.x();
        row.srcY = p.y();
    });
}

} // namespace varnel
