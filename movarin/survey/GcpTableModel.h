#pragma once

#include "movarin/survey/GcpTableRow.h"

#include <QAbstractTableModel>
#include <QPointF>

#include <vector>

namespace tin::core {
class Point;
}

namespace varnel {

/// The table of ground control point pairs as an item model: one row per pair, five
/// columns: the enabled flag as a check box (column 0, no header text), then "srcX",
/// "srcY", "dstX" and "dstY" as doubles (display and edit roles). The vertical header and
/// every other role give an empty `QVariant`.
///
/// Edits: `setData` takes the check-state or edit role on an existing row; column 0 takes
/// the value as a bool, columns 1 to 4 take it only when it is a finite number (a double,
/// or text that reads as one), otherwise the cell is left and false returned. The
/// geometric edits of the views (`setSources`, `setDestinations`) change many rows in one
/// model reset and skip indices that name no row (rows may have been deleted meanwhile).
///
/// The model owns its pairs; `gcpTable()` lends them read-only to the painters, the views
/// and the fit, which read them anew each time. Every operation is linear in its input.
class GcpTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { EnabledColumn = 0, SrcXColumn, SrcYColumn, DstXColumn, DstYColumn, ColumnCount };

    explicit GcpTableModel(QObject* parent = nullptr);
    ~GcpTableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    /// Enabled only for an invalid index; else selectable and enabled, plus user-checkable
    /// in column 0 and editable in the others.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    /// Inserts `count` new rows (enabled, zeros) before `row` (0 to the number of pairs);
    /// false, changing nothing, for a range outside the pairs.
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    /// Removes the pairs `row` to `row + count - 1`; false, changing nothing, when they are
    /// not all pairs.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    /// Appends a copy of `row` after the last pair (its index is the number of pairs
    /// before the call).
    void appendRow(const GcpTableRow& row);
    const GcpTable* gcpTable() const { return &m_table; }
    /// The number of pairs (without any extra row a subclass shows).
    int pairCount() const { return static_cast<int>(m_table.size()); }

    /// Row `indices[i]` gets the map position of `points[i]`; in one model reset.
    /// Indices that name no row are skipped. Throws std::out_of_range ("invalid
    /// vector<T> subscript"), changing nothing, when there are fewer points than indices.
    void setDestinations(const std::vector<GcpTable::size_type>& indices,
                         const std::vector<tin::core::Point>& points);
    /// Row `indices[i]` gets the pane position `points[i]`; otherwise as `setDestinations`.
    void setSources(const std::vector<GcpTable::size_type>& indices,
                    const std::vector<QPointF>& points);

protected:
    /// Writes `value` into `column` of `row` as `setData` describes; false when the role or
    /// the value does not fit the column.
    static bool writeCell(GcpTableRow& row, int column, const QVariant& value, int role);

private:
    template <class Points, class Assign>
    void setPositions(const std::vector<GcpTable::size_type>& indices, const Points& points,
                      Assign assign);

    GcpTable m_table;
};

} // namespace varnel
