#pragma once

#include <QAbstractTableModel>

namespace varnel {

class MoldItem;

/// The points of a mold as the editable two-column table of the "Mold Setting" dialog: row i
/// is point i, column 0 its offset L, column 1 its height H (metres, as doubles, for the
/// display and edit roles). Headers "L" and "H".
///
/// Edits go straight into the borrowed item's mold (in the dialog: the mold editor's working
/// copy). `setData` takes the edit role only and a value that reads as a finite number
/// (text from a paste included); anything else is refused and changes nothing. Inserted rows
/// are points (0, 0); removed rows leave the mold from the last of the range down. A change
/// made to the mold elsewhere shows after `reset`.
///
/// Without an item the table has no rows. The item must outlive the model or be replaced
/// (`setMoldItem(nullptr)`) first.
class MoldItemLhTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { LColumn = 0, HColumn = 1, ColumnCount = 2 };

    explicit MoldItemLhTableModel(QObject* parent = nullptr);
    ~MoldItemLhTableModel() override;

    MoldItem* moldItem() const { return m_item; }
    /// Shows `item` (null: none); a model reset.
    void setMoldItem(MoldItem* item);
    /// Announces that the mold changed behind the model's back (a model reset).
    void reset();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    MoldItem* m_item = nullptr;
};

} // namespace varnel
