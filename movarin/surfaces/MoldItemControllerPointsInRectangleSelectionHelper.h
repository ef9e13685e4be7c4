#pragma once

#include "movarin/surfaces/MoldItemControllerSelectionHelper.h"

#include "orlin/core/Polygon.h"

namespace varnel {

/// The rubber band from the last press to the mouse (a solid rectangle). On release the
/// selection is emptied unless Shift is held, then every point strictly inside the band
/// changes its membership; a release less than 3 pixels (in x and in y) from the press
/// without a move takes the square of 3 pixels around the press as the band, so a click
/// picks the point under it. Return toggles the points inside the band as it is, without
/// emptying the selection first. Both end in the idle tool.
class MoldItemController::PointsInRectangleSelectionHelper : public SelectionHelper {
public:
    explicit PointsInRectangleSelectionHelper(SelectionHelper& other);
    ~PointsInRectangleSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event, DetailView* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event, DetailView* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      DetailView* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        DetailView* view) override;

private:
    /// The band in world coordinates: its polygon for the test, its rectangle for the view.
    tin::core::Polygon m_band;
    tin::core::Rect m_bandRect;
};

} // namespace varnel
