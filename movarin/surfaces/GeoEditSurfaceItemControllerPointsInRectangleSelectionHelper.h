#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

namespace varnel {

/// The rubber band of a surface's path: moves stretch it from the press to the mouse; the
/// release toggles the selection of every vertex strictly inside (after dropping the
/// selection unless Shift is held; a release within 3 pixels of the press without a band
/// takes the square of 3 pixels about the press), and Return toggles without dropping. Both
/// hand over to a `WaitingSelectionHelper`. Paints the path, the outline, the selected
/// vertices and the band.
class GeoEditSurfaceItemController::PointsInRectangleSelectionHelper : public SelectionHelper {
public:
    explicit PointsInRectangleSelectionHelper(SelectionHelper& other);
    ~PointsInRectangleSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        mvc::core::View* view) override;

private:
    guimisc::helper::SelectionHelper* toggleAndWait();

    tin::core::Polygon m_rubberBand;
};

} // namespace varnel
