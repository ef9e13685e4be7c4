#pragma once

#include "movarin/sections/CrossSectionLhTableRow.h"
#include "movarin/sections/CrossSectionPolylineCrossing.h"

#include <QDialog>
#include <QPointer>

#include <vector>

class QCheckBox;
class QItemSelection;
class QLabel;
class QSlider;
class QTableView;

namespace tin::core {
class Tin;
}

namespace varnel {

class CrossSectionItem;
class CrossSectionLhTableModel;
class CrossSectionLhView;

/// The window of one cross section ("Cross Section"), opened by the section's controller in
/// a sub-window of the project's MDI area (see `CrossSectionItemController`), which closes
/// and destroys it: closing it by hand (its close button, Escape) hands it back to the
/// controller.
///
/// It shows the section's distance-height profile as a plot (`CrossSectionLhView`, left)
/// and as a table of the current rows (right): a check box per row, which enables or
/// disables the point, and its L and H with 5 decimals, not editable. Above them the grid
/// controls: the grid widths along L and along H (sliders of four positions, 1 cm, 10 cm,
/// 1 m and 10 m, with their "Show" boxes), "Auto" (the widths follow the drawn area:
/// above 90 m drawn, 10 m; above 9 m, 1 m; above 0.9 m, 10 cm; else 1 cm; moving a slider
/// turns it off), "Show base" and "Show slope".
///
/// Four data sets, each refreshed on its own trigger and then repainted:
/// - current rows, the edited TIN cut along the section: on the edited TIN item's
///   `tinChanged` when the changed part meets the section, and on the section controller's
///   `changed`;
/// - base rows, the base TIN cut along the section lengthened by its length beyond both
///   ends: on `changed`;
/// - auxiliary rows, the TIN a brush stroke is about to add, cut along the section: on the
///   surfaces group controller's `brushEditAddedTinChanged` (emptied by an empty TIN);
/// - polyline crossings, where the reference polylines cross the lengthened section: on the
///   geographic data's `geoDataPolylineChanged` and on `changed`.
/// Every replacement of the current rows resets the table model, which empties the
/// selection of table and plot. A section without a TIN (or outside a project) has no rows;
/// a refresh that fails leaves its rows empty and logs why: nothing escapes a slot.
///
/// Selection. Rows selected in the table are marked in the plot (`selectionChanged`, built
/// from the table's selected rows); points selected in the plot are selected in the table
/// (`clearTableSelection`, `selectTableRows`, which do not signal back).
///
/// The section is watched, not owned; a window whose section went shows what it last had.
/// The window owns its model, its rows and its widgets.
class CrossSectionDialog : public QDialog {
    Q_OBJECT
public:
    class StyledItemDelegate;

    using Rows = std::vector<CrossSectionLhTableRow>;

    CrossSectionDialog(CrossSectionItem* section, QWidget* parent);
    ~CrossSectionDialog() override;

    /// The section shown; null once it went.
    CrossSectionItem* section() const;

    const Rows& currentRows() const { return m_currentRows; }
    const Rows& baseRows() const { return m_baseRows; }
    const Rows& auxiliaryRows() const { return m_auxiliaryRows; }
    const CrossSectionPolylineCrossings& polylineCrossings() const { return m_crossings; }
    CrossSectionLhView* lhView() const { return m_lhView; }
    QTableView* tableView() const;
    CrossSectionLhTableModel* tableModel() const { return m_model; }

    /// The table's selection emptied, without `selectionChanged`.
    void clearTableSelection();
    /// Every listed row selected in the table (whole rows; indices beyond the table are
    /// ignored), without `selectionChanged`.
    void selectTableRows(const CrossSectionLhRowIndices& indices);

    /// The grid width of a slider position (0 to 3: 0.01, 0.1, 1 and 10 m) and its text.
    static double gridWidth(int position);
    static QString gridWidthText(int position);
    /// The slider position for `drawn` metres of plot: 3 above 90, 2 above 9, 1 above 0.9,
    /// else 0.
    static int gridPosition(double drawn);

signals:
    void selectionChanged(const CrossSectionLhRowIndices& rowIndices);

public slots:
    /// Closes the window (Escape lands here).
    void reject() override;
    void updateGridWidthX(int position);
    void updateGridWidthY(int position);
    /// The automatic choice of both widths from the drawn area; "Auto" checked.
    void updateGridWidth();
    void turnOnAutoUpdate(int state);
    void setShowGridX(int state);
    void setShowGridY(int state);
    void setShowBaseTin(int state);
    void setShowDetail(int state);
    void handleSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    /// The current rows anew when `partialTin` meets the section.
    void updateLhTable(const tin::core::Tin& partialTin);
    void updateLhTable();
    void updateOriginalLhTable();
    void updatePolylineIntersectionLs();
    /// `removedTin` plays no part.
    void updateAuxiliaryLhTable(const tin::core::Tin* addedTin, const tin::core::Tin* removedTin);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setupForm();
    void connectSignals();
    /// Where the reference polylines cross the section now.
    CrossSectionPolylineCrossings crossingsNow() const;
    /// `compute()`, or an empty result when it throws: the failure, named by `what`, is
    /// logged and goes no further.
    template <class Compute>
    static auto computed(const char* what, Compute compute) -> decltype(compute());

    QPointer<CrossSectionItem> m_section;
    Rows m_currentRows;
    Rows m_baseRows;
    Rows m_auxiliaryRows;
    CrossSectionPolylineCrossings m_crossings;
    CrossSectionLhTableModel* m_model;
    QLabel* m_gridWidthXLabel = nullptr;
    QSlider* m_gridWidthXSlider = nullptr;
    QCheckBox* m_showGridXCheckBox = nullptr;
    QLabel* m_gridWidthYLabel = nullptr;
    QSlider* m_gridWidthYSlider = nullptr;
    QCheckBox* m_showGridYCheckBox = nullptr;
    QCheckBox* m_autoCheckBox = nullptr;
    QCheckBox* m_showBaseCheckBox = nullptr;
    QCheckBox* m_showSlopeCheckBox = nullptr;
    CrossSectionLhView* m_lhView = nullptr;
    QTableView* m_tableView = nullptr;
};

} // namespace varnel
