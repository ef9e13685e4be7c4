#pragma once

#include "movarin/sections/CrossSectionItemControllerSelectionHelper.h"

#include "orlin/core/Polygon.h"

namespace varnel {

/// A rubber band from the press that started the mode: moving the mouse spans the band
/// (drawn filled) between the press and the mouse; the release toggles the working-path
/// points strictly inside it, after dropping the selection unless Shift is held. A release
/// less than 3 pixels from the press in x and y without any band drawn toggles the points
/// inside the square of 3 pixels about the press. Return toggles the points inside the band
/// drawn so far, keeping the selection. Both go back to `WaitingSelectionHelper`.
class CrossSectionItemController::PointsInRectangleSelectionHelper : public SelectionHelper {
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
    guimisc::helper::SelectionHelper* toggleAndWait(const tin::core::Polygon& polygon);

    tin::core::Polygon m_rubberBand;
};

} // namespace varnel
