#pragma once

#include "movarin/sections/CrossSectionLhView.h"

#include "brask/proj/ProjectItemController.h"

#include <QMenu>
#include <QPointer>

#include <memory>

class QAction;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace guimisc::helper {
class SelectionHelper;
}

namespace varnel {

/// Point selection on the L-H plot, kept in step with the table of the cross-section window,
/// and the plot's menu: "Enable Points" and "Disable Points" set the selected rows enabled or
/// disabled through the table model; with nothing selected they warn "No point is selected."
/// instead.
///
/// The plot's input goes to the active mode (a chain of selection helpers, each built from
/// the one before and taking over its selection): `InitSelectionHelper` until the mouse
/// first moves over the plot, then `WaitingSelectionHelper`, whose left press starts a rubber
/// band (`PointsInRectangleSelectionHelper`); a click selects the point under it. Every new
/// waiting mode shows its selection in the table (`updateTableSelection`, which the table
/// does not echo); a selection made in the table arrives through `selectPoints` and does not
/// go back. The slope figures of the current profile are part of every mode's picture while
/// "Show slope" is on (`setShowDetail`).
///
/// Row indices held by the modes name current rows: after every reset of the table model
/// (rows replaced, rows enabled or disabled) the selection starts empty again.
///
/// Made by the item on first use and owned by it; owns its menu and its mode. The window is
/// watched, not owned.
class CrossSectionLhView::LhTableItemController : public mvc::proj::ProjectItemController {
    Q_OBJECT
public:
    class SelectionHelper;
    class InitSelectionHelper;
    class WaitingSelectionHelper;
    class PointsInRectangleSelectionHelper;

    explicit LhTableItemController(LhTableItem* item);
    ~LhTableItemController() override;

    LhTableItem* tableItem() const { return m_item; }
    /// The window whose table shows the selection; null when none (or gone).
    CrossSectionDialog* dialog() const;
    /// Keeps `dialog` and takes its `selectionChanged` into `selectPoints`.
    void setDialog(CrossSectionDialog* dialog);

    QMenu* contextMenu() { return &m_contextMenu; }
    QAction* enablePointsAction() const { return m_enablePointsAction; }
    QAction* disablePointsAction() const { return m_disablePointsAction; }

    SelectionHelper* selectionHelper() const { return m_selectionHelper.get(); }
    /// Makes `helper` (a mode of this controller) active, its painters in the item view's
    /// list instead of the old mode's (see `SelectionHelperSwitchT`), and repaints the plot.
    /// Nothing when `helper` is active already.
    void setSelectionHelper(guimisc::helper::SelectionHelper* helper);
    /// Slope figures on or off: the active mode is replaced by a waiting mode built from it.
    void setShowDetail(bool show);

    void keyPressEvent(QKeyEvent* event, CrossSectionLhView* view);
    void mouseDoubleClickEvent(QMouseEvent* event, CrossSectionLhView* view);
    void mouseMoveEvent(QMouseEvent* event, CrossSectionLhView* view);
    void mousePressEvent(QMouseEvent* event, CrossSectionLhView* view);
    void mouseReleaseEvent(QMouseEvent* event, CrossSectionLhView* view);
    void wheelEvent(QWheelEvent* event, CrossSectionLhView* view);

public slots:
    /// The table's selection: the active mode takes the indices that name current rows.
    void selectPoints(const CrossSectionLhRowIndices& indices);
    /// The table shows exactly `indices` as its selected rows.
    void updateTableSelection(const CrossSectionLhRowIndices& indices);
    void enablePoints();
    void disablePoints();
    /// The table model was reset: an empty waiting mode.
    void resetSelection();

private:
    void setSelectedEnabled(bool enabled);

    LhTableItem* m_item;
    QPointer<CrossSectionDialog> m_dialog;
    QMenu m_contextMenu;
    QAction* m_enablePointsAction;
    QAction* m_disablePointsAction;
    std::unique_ptr<SelectionHelper> m_selectionHelper;
};

} // namespace varnel
