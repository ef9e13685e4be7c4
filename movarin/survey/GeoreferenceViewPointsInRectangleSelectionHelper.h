#pragma once

#include "movarin/survey/GeoreferenceViewImageItemControllerSelectionHelper.h"

#include "orlin/core/Polygon.h"

namespace varnel {

/// The pane's rubber band, from the anchor to the mouse. On release (any button) the
/// selection is cleared unless Shift is held, then every row whose source lies inside
/// the band is toggled; a release within 3 pixels of the anchor without a move toggles
/// the rows within the 3-pixel square around it. Return toggles without clearing. Both
/// end in the idle tool. Shows every pair, the selected sources and the band.
class GeoreferenceView::ImageItemController::PointsInRectangleSelectionHelper
    : public SelectionHelper {
public:
    explicit PointsInRectangleSelectionHelper(SelectionHelper& other);
    ~PointsInRectangleSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    GeoreferenceView* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     GeoreferenceView* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        GeoreferenceView* view) override;

private:
    tin::core::Polygon m_outline;
};

} // namespace varnel
