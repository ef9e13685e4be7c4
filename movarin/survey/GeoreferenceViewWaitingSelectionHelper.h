#pragma once

#include "movarin/survey/GeoreferenceViewImageItemControllerSelectionHelper.h"

#include "orlin/core/Rect.h"

namespace varnel {

/// The pane's idle tool. On creation it refreshes the selection and publishes it to the
/// table and the main view. Shows every pair, the selected sources and their bounds.
/// - Left press on the selection (`GcpSelectionGeometry::hitsSelection`, 3 pixels):
///   drag it (translation tool). With nothing selected, a press within 3 pixels in x and y
///   of the nearest source selects that row and drags it.
/// - Move after a left press that started no drag: rubber band (rectangle tool).
/// - Left release after such a press: appends a pair at the press position (not the
///   release), clears the selection and waits for the pair's map position.
/// - Escape clears the pane's selection (the table keeps its own until the next change).
/// - `selectPoints`: the given rows that exist become the selection; nothing is emitted.
class GeoreferenceView::ImageItemController::WaitingSelectionHelper : public SelectionHelper {
public:
    explicit WaitingSelectionHelper(SelectionHelper& other);
    ~WaitingSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    GeoreferenceView* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     GeoreferenceView* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      GeoreferenceView* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        GeoreferenceView* view) override;
    void selectPoints(const GcpRowIndices& indices) override;
    void tableChanged() override;

    /// The bounds of the selected sources; not valid without a selection.
    const tin::core::Rect& bounds() const { return m_bounds; }

private:
    void refresh();
    /// The row whose source lies nearest to `click` in widget pixels, the first on ties.
    /// Throws common::exception::RuntimeException "Empty GcpTable." for an empty table.
    GcpTable::size_type pickNearestRow(const QPoint& click, const GeoreferenceView* pane) const;

    bool m_pressed = false;
    tin::core::Rect m_bounds;
};

} // namespace varnel
