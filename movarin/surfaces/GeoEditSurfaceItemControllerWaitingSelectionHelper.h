#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

namespace varnel {

/// The resting tool of a surface being edited. Return and a double click apply the pending
/// edit (when it holds changes and the path has two vertices); Escape drops it with the
/// selection. A left press (other buttons are ignored) chooses the next tool:
/// 1. with Shift, a rubber band (`PointsInRectangleSelectionHelper`);
/// 2. while a selection box is shown, a press on it drags the selection
///    (`TranslationSelectionHelper`), a press elsewhere starts a rubber band; the box is hit,
///    in world units, within the square of half-size 3 about its lower-left corner for one
///    selected vertex, else the box itself with a side of 6 or less widened to 6 about its
///    middle;
/// 3. with nothing selected, the vertex nearest to the press on the screen is selected and
///    dragged when it lies less than 3 pixels away in x and in y;
/// 4. otherwise a rubber band.
/// Paints the path, the outline, the selected vertices and the selection box.
class GeoEditSurfaceItemController::WaitingSelectionHelper : public SelectionHelper {
public:
    explicit WaitingSelectionHelper(SelectionHelper& other);
    ~WaitingSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseDoubleClickEvent(QMouseEvent* event,
                                                            mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;

    /// Whether the world point `p` hits the selection box (rule 2).
    bool hitsSelection(const QPointF& p) const;
};

} // namespace varnel
