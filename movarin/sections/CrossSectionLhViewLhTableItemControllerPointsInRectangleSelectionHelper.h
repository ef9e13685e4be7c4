#pragma once

#include "movarin/sections/CrossSectionLhViewLhTableItemControllerSelectionHelper.h"

#include "orlin/core/Polygon.h"

namespace varnel {

/// The rubber band of the L-H plot, from the press that made the mode to the mouse: its four
/// world corners (press, (press x, mouse y), mouse, (mouse x, press y)) drawn as a polygon
/// over the slope figures (while on) and the selected points.
///
/// A release ends it: without Shift the selection is first emptied; a release within 3
/// pixels of the press (in x and in y) is a click, whose band is the square 3 pixels about
/// the press; every current row strictly inside the band joins the selection. Return adds
/// the rows inside the band as it stands, without emptying the selection. Either way a new
/// waiting mode follows.
class CrossSectionLhView::LhTableItemController::PointsInRectangleSelectionHelper
    : public SelectionHelper {
public:
    explicit PointsInRectangleSelectionHelper(const SelectionHelper& other);
    ~PointsInRectangleSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    CrossSectionLhView* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     CrossSectionLhView* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        CrossSectionLhView* view) override;

    const tin::core::Polygon& band() const { return m_band; }

private:
    tin::core::Polygon m_band;
};

} // namespace varnel
