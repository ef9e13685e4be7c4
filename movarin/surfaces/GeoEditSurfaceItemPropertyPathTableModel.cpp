#include "movarin/surfaces/GeoEditSurfaceItemPropertyPathTableModel.h"

#include "movarin/surfaces/GeoEditSurfaceItemController.h"

#include "orlin/core/PlanCoordinate.h"
#include "orlin/core/Point.h"

#include <algorithm>
#include <cmath>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoEditSurfaceItemPropertyPathTableModel;

GeoEditSurfaceItemPropertyPathTableModel::GeoEditSurfaceItemPropertyPathTableModel(QObject* parent)
    : PathTableModel({tr("X"), tr("Y"), tr("Elevation"), tr("Slope"), tr("Length")}, parent)
{
}

GeoEditSurfaceItemPropertyPathTableModel::~GeoEditSurfaceItemPropertyPathTableModel() = default;

void GeoEditSurfaceItemPropertyPathTableModel::setController(
    GeoEditSurfaceItemController* controller)
{
    beginResetModel();
    m_controller = controller;
    endResetModel();
}

int GeoEditSurfaceItemPropertyPathTableModel::pathSize() const
{
    return m_controller ? static_cast<int>(m_controller->pendingPath().size()) : 0;
}

double
GeoEditSurfaceItemPropertyPathTableModel::segmentLength(const std::vector<tin::core::Point>& path,
                                                        int row)
{
    const tin::core::Point& a = path[row - 1];
    const tin::core::Point& b = path[row];
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

QVariant GeoEditSurfaceItemPropertyPathTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)
        || index.row() >= rowCount() || index.column() >= ColumnCount) {
        return QVariant();
    }
    const std::vector<tin::core::Point>& path = m_controller->pendingPath();
    const int row = index.row();
    const tin::core::Point& p = path[row];
    switch (index.column()) {
    case X:
        return p.x();
    case Y:
        return p.y();
    case Elevation:
        return p.elevation();
    case Slope: {
        const double d = row > 0 ? segmentLength(path, row) : 0.0;
        if (d == 0.0) {
            return QVariant();
        }
        return (p.elevation() - path[row - 1].elevation()) / d;
    }
    default:
        return row > 0 ? QVariant(segmentLength(path, row)) : QVariant();
    }
}

Qt::ItemFlags GeoEditSurfaceItemPropertyPathTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (index.column() == Length) {
        return Qt::ItemIsEditable;
    }
    if (index.column() == Slope && index.row() == 0) {
        return Qt::NoItemFlags;
    }
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool GeoEditSurfaceItemPropertyPathTableModel::setData(const QModelIndex& index,
                                                       const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()
        || index.column() >= ColumnCount || index.column() == Length) {
        return false;
    }
    bool isNumber = false;
    const double v = value.toDouble(&isNumber);
    // A plan coordinate beyond any plane coordinate system is refused as a non-number is.
    const bool plan = index.column() == X || index.column() == Y;
    if (!isNumber || !std::isfinite(v) || (plan && !tin::core::PlanCoordinate::isUsable(v))) {
        return false;
    }
    std::vector<tin::core::Point> path = m_controller->pendingPath();
    const int column = index.column();
    if (column == Slope) {
        const bool rowHasSlope = index.row() > 0 && segmentLength(path, index.row()) > 0.0;
        if (!rowHasSlope && !(isEditAllRows() && index.row() == 0)) {
            return false;
        }
    }
    const int last = static_cast<int>(path.size()) - 1;
    const int from = isEditAllRows() ? 0 : index.row();
    const int to = isEditAllRows() ? last : index.row();
    for (int row = from; row <= to; ++row) {
        tin::core::Point& p = path[row];
        switch (column) {
        case X:
            p.setPosition(v, p.y());
            break;
        case Y:
            p.setPosition(p.x(), v);
            break;
        case Elevation:
            p.setElevation(v);
            break;
        default:
            if (row > 0) {
                // From the vertex before as already changed: one grade along the path.
                p.setElevation(path[row - 1].elevation() + v * segmentLength(path, row));
            }
        }
        if (!std::isfinite(p.elevation())) {
            return false;
        }
    }
    for (int row = from; row <= to; ++row) {
        m_controller->movePendingPoint(static_cast<std::size_t>(row), path[row]);
    }
    announceRows(from, std::min(to + 1, last));
    return true;
}

bool GeoEditSurfaceItemPropertyPathTableModel::insertRows(int row, int count,
                                                          const QModelIndex& parent)
{
    if (parent.isValid() || !m_controller || count < 1 || row < 0 || row > rowCount()) {
        return false;
    }
    beginInsertRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        m_controller->insertPendingPoint(static_cast<std::size_t>(row + i),
                                         tin::core::Point(0.0, 0.0, 0.0));
    }
    endInsertRows();
    // The row after now starts from the last new point.
    if (row + count < rowCount()) {
        announceRows(row + count, row + count);
    }
    return true;
}

bool GeoEditSurfaceItemPropertyPathTableModel::removeRows(int row, int count,
                                                          const QModelIndex& parent)
{
    if (parent.isValid() || !m_controller || count < 1 || row < 0 || row + count > rowCount()) {
        return false;
    }
    const int least = m_controller->pendingClosed() ? 3 : 2;
    if (rowCount() - count < least) {
        return false;
    }
    beginRemoveRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        m_controller->removePendingPoint(static_cast<std::size_t>(row));
    }
    endRemoveRows();
    if (row < rowCount()) {
        announceRows(row, row);
    }
    return true;
}

} // namespace varnel
