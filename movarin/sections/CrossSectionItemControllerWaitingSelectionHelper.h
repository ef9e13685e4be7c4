#pragma once

#include "movarin/sections/CrossSectionItemControllerSelectionHelper.h"

namespace varnel {

/// The resting mode of a selected section. Return and a double click commit the working
/// path (when it has two points); Escape drops the selection. A left press (other buttons
/// are ignored) chooses the next mode:
/// 1. with Shift, a rubber band (`PointsInRectangleSelectionHelper`);
/// 2. a press on the selection drags it (`TranslationSelectionHelper`): one selected point
///    is hit inside the diamond of half-diagonals 3 world units about it; several are hit
///    inside their box when it is wider and taller than 6, else inside the diamond about the
///    box's centre whose half-diagonal on each axis is half the box's extent there when
///    that exceeds 6, else 3;
/// 3. with nothing selected, the working-path point nearest to the press in pixels is
///    selected and dragged when it lies less than 3 pixels away in x and in y;
/// 4. otherwise a rubber band.
/// Paints the working path, the selected points and the selection rectangle.
class CrossSectionItemController::WaitingSelectionHelper : public SelectionHelper {
public:
    explicit WaitingSelectionHelper(SelectionHelper& other);
    ~WaitingSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseDoubleClickEvent(QMouseEvent* event,
                                                            mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;

    /// Whether the world point `p` hits the selection (rule 2 of the class comment).
    bool hitsSelection(const QPointF& p) const;

private:
    /// The working-path point within 3 pixels of `press`, if any (rule 3).
    bool pickNearPoint(const QPoint& press, const mvc::core::View* view, std::size_t* index) const;
};

} // namespace varnel
