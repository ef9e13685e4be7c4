#pragma once

#include "movarin/shell/PathTableDialog.h"

namespace varnel {

class GeoEditSurfaceItemController;
class GeoEditSurfaceItemPropertyPathTableModel;

/// "GeoEdit Surface Path Property": the pending path of a mold-and-path surface typed as a
/// table of X, Y, elevation, slope from the vertex before and segment length (a
/// `GeoEditSurfaceItemPropertyPathTableModel` over the controller's pending path), with
/// "Edit all columns", which writes a value into its column of every row (a slope lays the
/// path on one grade) and, while the mouse hovers the table, highlights the column under it
/// (see `PathTableDialog`). Every change shows at once on the main view: the outline preview
/// is recomputed (`updateAuxiliaries`) and the view repainted.
///
/// OK closes the dialog only when no two consecutive vertices stand on one plan position;
/// otherwise the "Error" box "Cannot add the same position more than once." and the dialog
/// stays open. Cancel announces the whole table as changed and closes; the caller puts the
/// path back. The caller (`GeoEditSurfaceItemController::showPathPropertyDialog`) runs it
/// modally, as it needs the result, and owns it.
class GeoEditSurfaceItemPathPropertyDialog : public PathTableDialog {
    Q_OBJECT
public:
    class StyledItemDelegate;

    explicit GeoEditSurfaceItemPathPropertyDialog(QWidget* parent = nullptr);
    ~GeoEditSurfaceItemPathPropertyDialog() override;

    /// Wires the dialog to `controller`: the table's changes recompute the outline and
    /// repaint the main view, the check box switches "edit all rows", and the table shows
    /// the controller's pending path.
    void setController(GeoEditSurfaceItemController* controller);

    GeoEditSurfaceItemPropertyPathTableModel* model() const { return m_model; }

public slots:
    void accept() override;

private:
    GeoEditSurfaceItemPathPropertyDialog(GeoEditSurfaceItemPropertyPathTableModel* model,
                                         QWidget* parent);

    GeoEditSurfaceItemPropertyPathTableModel* m_model;
};

} // namespace varnel
