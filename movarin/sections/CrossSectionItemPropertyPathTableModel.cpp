#include "movarin/sections/CrossSectionItemPropertyPathTableModel.h"

#include "movarin/sections/CrossSectionItemController.h"
#include "orlin/core/PlanCoordinate.h"

#include <cmath>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionItemPropertyPathTableModel;

namespace {

constexpr int COLUMN_COUNT = 2;

} // namespace

CrossSectionItemPropertyPathTableModel::CrossSectionItemPropertyPathTableModel(QObject* parent)
    : PathTableModel({tr("X"), tr("Y")}, parent)
{
}

CrossSectionItemPropertyPathTableModel::~CrossSectionItemPropertyPathTableModel() = default;

void CrossSectionItemPropertyPathTableModel::setController(CrossSectionItemController* controller)
{
    beginResetModel();
    m_controller = controller;
    endResetModel();
}

int CrossSectionItemPropertyPathTableModel::pathSize() const
{
    return m_controller ? static_cast<int>(m_controller->editedPath().size()) : 0;
}

QVariant CrossSectionItemPropertyPathTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)
        || index.row() >= rowCount() || index.column() >= COLUMN_COUNT) {
        return QVariant();
    }
    const tin::core::Point2D point = m_controller->editedPath()[index.row()];
    return index.column() == 0 ? point.x() : point.y();
}

Qt::ItemFlags CrossSectionItemPropertyPathTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::ItemIsEnabled;
    }
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool CrossSectionItemPropertyPathTableModel::setData(const QModelIndex& index,
                                                     const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()
        || index.column() >= COLUMN_COUNT) {
        return false;
    }
    bool isNumber = false;
    const double v = value.toDouble(&isNumber);
    // An end point the profile's crossing tests can work with, or the cell keeps its value.
    if (!isNumber || !tin::core::PlanCoordinate::isUsable(v)) {
        return false;
    }
    const std::vector<tin::core::Point2D> path = m_controller->editedPath();
    const int first = isEditAllRows() ? 0 : index.row();
    const int last = isEditAllRows() ? static_cast<int>(path.size()) - 1 : index.row();
    for (int row = first; row <= last; ++row) {
        const tin::core::Point2D& old = path[row];
        m_controller->setPathPoint(row, index.column() == 0 ? tin::core::Point2D(v, old.y())
                                                            : tin::core::Point2D(old.x(), v));
    }
    // Every cell written is announced, so that the other rows show an "edit all" too.
    emit dataChanged(this->index(first, index.column()), this->index(last, index.column()));
    return true;
}

bool CrossSectionItemPropertyPathTableModel::insertRows(int row, int count,
                                                        const QModelIndex& parent)
{
    if (parent.isValid() || !m_controller || count < 1 || row < 0 || row > rowCount()) {
        return false;
    }
    beginInsertRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        m_controller->insertPathPoint(row + i, tin::core::Point2D(0.0, 0.0));
    }
    endInsertRows();
    return true;
}

bool CrossSectionItemPropertyPathTableModel::removeRows(int row, int count,
                                                        const QModelIndex& parent)
{
    if (parent.isValid() || !m_controller || count < 1 || row < 0 || row + count > rowCount()) {
        return false;
    }
    beginRemoveRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        m_controller->removePathPoint(row);
    }
    endRemoveRows();
    return true;
}

} // namespace varnel
