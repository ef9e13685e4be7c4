#pragma once

#include "movarin/survey/GcpTableRow.h"
#include "movarin/survey/GeoreferenceView.h"

#include "brask/proj/ProjectItemController.h"

#include <QMenu>
#include <QPointer>
#include <QPointF>

#include <memory>
#include <optional>

class QAction;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace guimisc::helper {
class SelectionHelper;
}

namespace varnel {

/// Drives the georeference pane: hands its input to the active tool and installs the tool
/// each hook returns, and keeps the pane, the GCP table and the main view in step.
///
/// Exchange with the background image's controller (connected by signature in the
/// constructor, so that this class knows it only through its signals and slots; a
/// controller without them is simply not connected):
/// - a click in the pane appends a row and emits `gcpDefined()`, which asks the main view
///   for the map position; it comes back through `startGcpSelect(const QPointF&)`, which
///   completes the appended row (the pending row: its index follows insertions and
///   removals of rows before it, and the call is ignored when the row is gone);
/// - selections: `selectedIndexChanged` goes to the background controller's
///   `selectPoints`, and its `selectedIndexChanged` comes back to `selectPoints` (the
///   pane's marking) and `updateTableSelection` (the dialog's table).
///
/// Rows inserted into or removed from the table keep the pane's selection on the same
/// pairs; edits of the table redraw the selection where the pairs now are.
///
/// The tools (nested classes) share the state of `SelectionHelper`. The controller owns
/// the active tool and the menu; the dialog is watched, not owned.
class GeoreferenceView::ImageItemController : public mvc::proj::ProjectItemController {
    Q_OBJECT
public:
    class SelectionHelper;
    class InitSelectionHelper;
    class WaitingSelectionHelper;
    class PointsInRectangleSelectionHelper;
    class TranslationSelectionHelper;
    class DestinationOperationWaitingSelectionHelper;

    /// The first tool is an `InitSelectionHelper`.
    explicit ImageItemController(ImageItem* item);
    ~ImageItemController() override;

    /// Keeps `dialog` and sends its table's selection to the background controller's
    /// `selectPoints`.
    void setDialog(BackgroundImageItemGeoreferenceDialog* dialog);
    BackgroundImageItemGeoreferenceDialog* dialog() const;

    ImageItem* imageItem() const { return m_item; }
    GeoreferenceView* view() const;
    const GcpTable* gcpTable() const;
    GcpTableModel* gcpTableModel() const;

    void keyPressEvent(QKeyEvent* event, GeoreferenceView* view);
    void mouseDoubleClickEvent(QMouseEvent* event, GeoreferenceView* view);
    void mouseMoveEvent(QMouseEvent* event, GeoreferenceView* view);
    void mousePressEvent(QMouseEvent* event, GeoreferenceView* view);
    void mouseReleaseEvent(QMouseEvent* event, GeoreferenceView* view);
    void wheelEvent(QWheelEvent* event, GeoreferenceView* view);

    /// Makes `next` (a tool of this controller) the active tool: the old tool's painter
    /// helpers leave the item view's list and the old tool is deleted; the new one's join
    /// the list. Nothing when `next` is the active tool. Does not repaint. Throws
    /// std::invalid_argument for null or a tool of another family (and takes nothing).
    void updateSelectionHelper(guimisc::helper::SelectionHelper* next);
    SelectionHelper* selectionHelper() const { return m_selectionHelper.get(); }

    QMenu* rightClickMenu() { return &m_rightClickMenu; }
    QAction* deletePointsAction() const { return m_deletePointsAction; }

    /// Called by the tool that appended `row` for a new pair: remembers it as the row
    /// that waits for its map position, and emits `gcpDefined()` once the tool that the
    /// current hook returns is installed.
    void defineGcp(GcpTable::size_type row);

signals:
    void gcpDefined();
    void selectedIndexChanged(const GcpRowIndices& indices);

public slots:
    /// Hands the rows to the active tool (only the idle tool marks them).
    void selectPoints(const GcpRowIndices& indices);
    /// Mirrors the rows into the dialog's table (cleared, then selected).
    void updateTableSelection(const GcpRowIndices& indices);
    /// Deletes the selected pairs; warns when nothing is selected or the table is empty.
    /// Afterwards the empty selection is published to the table and the main view.
    void deletePoints();
    /// Completes the pending row with the map position `point`, says so in an
    /// information box and returns the pane to its idle tool.
    void startGcpSelect(const QPointF& point);

private:
    template <class Hook>
    void dispatch(Hook hook);
    void handleRowsInserted(int first, int last);
    void handleRowsRemoved(int first, int last);
    void handleTableEdited();

    ImageItem* m_item;
    QPointer<BackgroundImageItemGeoreferenceDialog> m_dialog;
    QMenu m_rightClickMenu;
    QAction* m_deletePointsAction;
    std::unique_ptr<SelectionHelper> m_selectionHelper;
    std::optional<GcpTable::size_type> m_pendingRow;
    bool m_gcpDefinitionDue = false;
};

} // namespace varnel
