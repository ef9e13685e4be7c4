#pragma once

#include "movarin/shell/PathTableModel.h"

#include <QPointer>

namespace varnel {

class CrossSectionItemController;

/// The end points of a section as a table: one row per point of the controller's working
/// path, columns "X" (0) and "Y" (1), read and written through the controller
/// (`editedPath`, `setPathPoint`, `insertPathPoint`, `removePathPoint`), so that the main
/// view shows every edit at once. Without controller the table is empty.
///
/// A value typed or pasted into a cell must be a plan coordinate
/// (`tin::core::PlanCoordinate`: finite, at most 1e9 in magnitude), else the model refuses
/// it and the cell keeps its value. With "edit all rows" on (`turnOnEditAllRows`), a value goes into
/// that column of every row. New rows are points (0, 0); rows out of range are refused.
class CrossSectionItemPropertyPathTableModel : public PathTableModel {
    Q_OBJECT
public:
    explicit CrossSectionItemPropertyPathTableModel(QObject* parent = nullptr);
    ~CrossSectionItemPropertyPathTableModel() override;

    void setController(CrossSectionItemController* controller);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

protected:
    int pathSize() const override;

private:
    QPointer<CrossSectionItemController> m_controller;
};

} // namespace varnel
