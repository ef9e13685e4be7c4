#pragma once

#include "movarin/shell/PathTableModel.h"

#include <QPointer>

#include <vector>

namespace tin::core {
class Point;
}

namespace varnel {

class GeoEditSurfaceItemController;

/// The pending path of a mold-and-path surface as a table, one row per vertex: "X" (0), "Y"
/// (1), "Elevation" (2), "Slope" (3), the grade (z(i) - z(i-1)) / d from the vertex before,
/// and "Length" (4), the plan length d of the segment that ends at the vertex; both empty in
/// row 0 and the slope empty where d is 0. "Length" is shown greyed and never edited, nor is
/// the slope of row 0. The path is read and changed through the controller
/// (`pendingPath`, `movePendingPoint`, `insertPendingPoint`, `removePendingPoint`), so the
/// main view and the reference lines follow every edit at once. Without controller the table
/// is empty.
///
/// A value must be a finite number, and X and Y a plan coordinate
/// (`tin::core::PlanCoordinate`: at most 1e9 in magnitude), else it is refused and nothing
/// changes. A typed slope s
/// sets z(i) = z(i-1) + s d; it is refused where d is 0. With "edit all rows" on
/// (`turnOnEditAllRows`) a value goes into its column of every row in turn from row 0, a
/// slope into every row but the first, each from the row before as already changed: so a
/// slope lays the whole path on one grade from its first vertex (a vertex of no segment
/// length keeps the elevation of the one before). After a change `dataChanged` covers every
/// cell whose shown value may have changed: rows i and i + 1 for one row, the whole table
/// for all rows, the row after the inserted or removed ones.
///
/// New rows are points (0, 0) at elevation 0. A removal that would leave fewer than two
/// vertices (three on a closed path) is refused, as are rows out of range.
class GeoEditSurfaceItemPropertyPathTableModel : public PathTableModel {
    Q_OBJECT
public:
    enum Column { X, Y, Elevation, Slope, Length, ColumnCount };

    explicit GeoEditSurfaceItemPropertyPathTableModel(QObject* parent = nullptr);
    ~GeoEditSurfaceItemPropertyPathTableModel() override;

    void setController(GeoEditSurfaceItemController* controller);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

protected:
    int pathSize() const override;

private:
    /// The plan length of the segment ending at vertex `row` (> 0) of `path`.
    static double segmentLength(const std::vector<tin::core::Point>& path, int row);

    QPointer<GeoEditSurfaceItemController> m_controller;
};

} // namespace varnel
