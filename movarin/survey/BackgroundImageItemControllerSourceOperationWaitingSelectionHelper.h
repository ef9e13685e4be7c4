#pragma once

#include "movarin/survey/BackgroundImageItemControllerSelectionHelper.h"

#include "orlin/core/Rect.h"

namespace varnel {

/// The main view's mode while the georeference dialog is open and no pick or drag runs.
/// It shows every control point's map position, the selected ones and their bounds, and
/// announces the selection (`selectedIndexChanged`) when it is built.
///
/// - A left press on the selection (within 3 pixels, see
///   `GcpSelectionGeometry::hitsSelection`) starts dragging it; with nothing selected, a
///   press less than 3 pixels (in x and in y) from the nearest map position selects that
///   row and starts dragging it. Other presses only record the position.
/// - A move after a left press starts a rubber band.
/// - Escape clears the selection on the main view only (nothing is announced).
/// - `selectPoints` takes a selection made in the pane or the table (rows beyond the table
///   are dropped; nothing is announced).
class BackgroundImageItemController::SourceOperationWaitingSelectionHelper
    : public SelectionHelper {
public:
    explicit SourceOperationWaitingSelectionHelper(SelectionHelper& other);
    ~SourceOperationWaitingSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        mvc::core::View* view) override;

    void selectPoints(const GcpRowIndices& indices) override;
    void tableChanged() override;

private:
    /// The preview points and their bounds from the selection.
    void refresh();
    /// The row whose map position is nearest to `click` (the growing-square pick);
    /// throws common::exception::RuntimeException "Empty GcpTable." for an empty table.
    GcpTable::size_type pickNearestRow(const QPoint& click, const mvc::core::View* view) const;

    bool m_pressed = false;
    tin::core::Rect m_selectionRect;
};

} // namespace varnel
