#pragma once

#include <QDialog>

class QAbstractItemModel;
class QCheckBox;
class QModelIndex;

namespace guimisc {
class MultiCellOperableTableView;
}

namespace varnel {

class PathTableItemDelegate;

/// The frame of the dialogs in which a path is typed as a table (a cross section's end
/// points, a surface's vertices): 400 x 300, the table (columns stretched to the width, mouse
/// tracking on, the given delegate) over the check box "Edit all columns" and Ok and Cancel.
/// While "Edit all columns" is checked, hovering a cell makes its column the delegate's
/// active one (`setActiveColumn`). Cancel announces the whole table as changed
/// (`dataChanged` from the first to the last cell), so that whoever listens reloads, and
/// closes. A subclass checks the table in `accept`. The dialog owns the model and the delegate
/// given to it.
class PathTableDialog : public QDialog {
    Q_OBJECT
public:
    ~PathTableDialog() override;

    guimisc::MultiCellOperableTableView* tableView() const { return m_tableView; }
    QCheckBox* editAllColumnsCheckBox() const { return m_editAllColumns; }
    /// The column the delegate highlights; -1 for none.
    int activeColumn() const;

public slots:
    void reject() override;
    void setActiveColumn(const QModelIndex& index);

protected:
    PathTableDialog(QAbstractItemModel* model, PathTableItemDelegate* delegate, QWidget* parent);

private:
    QAbstractItemModel* m_tableModel;
    PathTableItemDelegate* m_delegate;
    guimisc::MultiCellOperableTableView* m_tableView;
    QCheckBox* m_editAllColumns;
};

} // namespace varnel
