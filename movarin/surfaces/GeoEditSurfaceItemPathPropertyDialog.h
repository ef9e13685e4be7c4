#pragma once

#include <QDialog>

class QCheckBox;
class QModelIndex;

namespace guimisc {
class MultiCellOperableTableView;
}

namespace varnel {

class GeoEditSurfaceItemController;
class GeoEditSurfaceItemPropertyPathTableModel;

/// "GeoEdit Surface Path Property": the pending path of a mold-and-path surface typed as a
/// table of X, Y, elevation, slope from the vertex before and segment length (a
/// `GeoEditSurfaceItemPropertyPathTableModel` over the controller's pending path), with
/// "Edit all columns", which writes a value into its column of every row (a slope lays the
/// path on one grade) and, while the mouse hovers the table, highlights the column under it.
/// Every change shows at once on the main view: the outline preview is recomputed
/// (`updateAuxiliaries`) and the view repainted.
///
/// OK closes the dialog only when no two consecutive vertices stand on one plan position;
/// otherwise the "Error" box "Cannot add the same position more than once." and the dialog
/// stays open. Cancel announces the whole table as changed and closes; the caller puts the
/// path back. The caller (`GeoEditSurfaceItemController::showPathPropertyDialog`) runs it
/// modally, as it needs the result, and owns it.
class GeoEditSurfaceItemPathPropertyDialog : public QDialog {
    Q_OBJECT
public:
    class StyledItemDelegate;

    explicit GeoEditSurfaceItemPathPropertyDialog(QWidget* parent = nullptr);
    ~GeoEditSurfaceItemPathPropertyDialog() override;

    /// Wires the dialog to `controller`: the table's changes recompute the outline and
    /// repaint the main view, the check box switches "edit all rows", hovering sets the
    /// active column, and the table shows the controller's pending path.
    void setController(GeoEditSurfaceItemController* controller);

    GeoEditSurfaceItemPropertyPathTableModel* model() const { return m_model; }
    guimisc::MultiCellOperableTableView* tableView() const { return m_tableView; }
    QCheckBox* editAllColumnsCheckBox() const { return m_editAllColumns; }
    /// The column the delegate highlights; -1 for none.
    int activeColumn() const;

public slots:
    void accept() override;
    void reject() override;
    void setActiveColumn(const QModelIndex& index);

private:
    GeoEditSurfaceItemPropertyPathTableModel* m_model;
    StyledItemDelegate* m_delegate;
    guimisc::MultiCellOperableTableView* m_tableView;
    QCheckBox* m_editAllColumns;
};

} // namespace varnel
