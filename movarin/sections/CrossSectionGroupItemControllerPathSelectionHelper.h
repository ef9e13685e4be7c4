#pragma once

#include "movarin/sections/CrossSectionGroupItemControllerSelectionHelper.h"

namespace varnel {

/// Draws sections by two clicks. The points are the clicked start (the anchor is the last
/// point clicked) and, while the mouse moves, a rubber end at the mouse.
/// - Move: the rubber end follows the mouse (none while the mouse is on the anchor).
/// - Left press (other buttons are ignored): a press on a clicked point other than the
///   rubber end shows "Cannot add the same position more than once." and changes nothing;
///   otherwise the press replaces the rubber end (or, without one, the start) and becomes
///   the anchor; with two points the section is added (`addCrossSection`) and the points
///   are dropped, the mode staying for the next section.
/// - Escape: drops the points, or without any ends the tool (`VoidSelectionHelper`).
/// Paints the points as a line.
class CrossSectionGroupItemController::PathSelectionHelper : public SelectionHelper {
public:
    explicit PathSelectionHelper(SelectionHelper& other);
    ~PathSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;

private:
    void repaint() const;

    tin::core::Point m_anchor;
};

} // namespace varnel
