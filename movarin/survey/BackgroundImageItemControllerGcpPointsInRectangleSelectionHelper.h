#pragma once

#include "movarin/survey/BackgroundImageItemControllerSelectionHelper.h"

#include "orlin/core/Polygon.h"

namespace varnel {

/// The rubber band of the georeference mode, dragged on the main view from the press.
/// A release (any button) selects the rows whose map positions lie strictly inside the
/// band: without Shift the selection is replaced by them, with Shift they are toggled. A
/// release without a move within 3 pixels of the press takes the square of 3 pixels
/// around the press instead (a click). Return toggles the rows inside the band as it is.
/// Both go back to the waiting mode, which announces the selection.
class BackgroundImageItemController::GcpPointsInRectangleSelectionHelper
    : public SelectionHelper {
public:
    explicit GcpPointsInRectangleSelectionHelper(SelectionHelper& other);
    ~GcpPointsInRectangleSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        mvc::core::View* view) override;

private:
    /// Toggles the rows inside the band and returns the waiting mode.
    guimisc::helper::SelectionHelper* finish();

    tin::core::Polygon m_band;
};

} // namespace varnel
