#pragma once

#include "movarin/sections/CrossSectionLhTableRow.h"

#include <QAbstractTableModel>

#include <vector>

namespace varnel {

/// The current profile of a cross-section window as its three-column table: column 0 the
/// row's check box (checked while the row is enabled), columns 1 and 2 its L and H (metres,
/// doubles, for the display and edit roles). Headers "", "L" and "H". A flat table: no row
/// and no column under a valid parent.
///
/// The rows are borrowed (the window's vector of current rows); the model owns none and must
/// not outlive them. Only the check box is editable: `setData` on column 0 with the edit or
/// check-state role sets the row's enabled flag to the value's truth; on columns 1 and 2 it
/// changes nothing but is still answered with `dataChanged` and true, as the view expects of
/// an accepted edit. An index out of range is refused (false) everywhere.
///
/// When the window replaces the rows it calls `reset`; `setEnabled` changes many rows inside
/// one reset. Listeners of `modelReset` (the plot) drop their row indices then.
class CrossSectionLhTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Rows = std::vector<CrossSectionLhTableRow>;

    enum Column { EnabledColumn = 0, LColumn = 1, HColumn = 2, ColumnCount = 3 };

    explicit CrossSectionLhTableModel(Rows* rows, QObject* parent = nullptr);
    ~CrossSectionLhTableModel() override;

    /// The borrowed rows.
    const Rows& rows() const { return *m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    /// Announces rows replaced behind the model's back (a model reset).
    void reset();
    /// Sets the enabled flag of every listed row inside one model reset; indices at or
    /// beyond the row count are ignored.
    void setEnabled(const CrossSectionLhRowIndices& indices, bool enabled);

private:
    /// Whether `index` names a cell of the table.
    bool isCell(const QModelIndex& index) const;

    Rows* m_rows;
};

} // namespace varnel
