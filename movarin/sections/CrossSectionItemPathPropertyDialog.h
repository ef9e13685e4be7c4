#pragma once

#include "movarin/shell/PathTableDialog.h"

namespace varnel {

class CrossSectionItemController;
class CrossSectionItemPropertyPathTableModel;

/// "Cross Section Path Property": the end points of a section typed as a table of X and Y
/// (a `CrossSectionItemPropertyPathTableModel` over the controller's working path), with
/// "Edit all columns", which writes a value into its column of every row and, while the
/// mouse hovers the table, highlights the column under it (see `PathTableDialog`).
///
/// OK closes the dialog only when the table holds a section: at least two points, no two on
/// one position; otherwise the "Error" box says what is wrong and the dialog stays open.
/// Cancel announces the whole table as changed (the controller then reloads the working
/// path) and closes. The caller (`CrossSectionItemController::showPathPropertyDialog`)
/// runs it modally and owns it.
class CrossSectionItemPathPropertyDialog : public PathTableDialog {
    Q_OBJECT
public:
    class StyledItemDelegate;

    explicit CrossSectionItemPathPropertyDialog(QWidget* parent = nullptr);
    ~CrossSectionItemPathPropertyDialog() override;

    /// Wires the dialog to `controller`: the table's changes repaint the main view, the
    /// check box switches "edit all rows", and the table shows the controller's working path.
    void setController(CrossSectionItemController* controller);

    CrossSectionItemPropertyPathTableModel* model() const { return m_model; }

public slots:
    void accept() override;

private:
    CrossSectionItemPathPropertyDialog(CrossSectionItemPropertyPathTableModel* model,
                                       QWidget* parent);

    CrossSectionItemPropertyPathTableModel* m_model;
};

} // namespace varnel
