#pragma once

#include "movarin/surfaces/MoldItemControllerSelectionHelper.h"

namespace varnel {

/// The idle tool: shows the slope figures of the mold, the selected points and the dotted
/// rectangle around them, and decides on a left press what the gesture is:
/// - with Shift, a rubber band (`PointsInRectangleSelectionHelper`);
/// - a press that grabs the selection (the rhombus or rectangle of
///   `GcpSelectionGeometry::hitsSelection` with half a grid step as tolerance), a drag of
///   the selected points (`TranslationSelectionHelper`);
/// - with nothing selected, a press less than 3 pixels (in x and in y) from the nearest
///   point selects it and drags it;
/// - anything else, a rubber band.
/// The nearest point of an empty mold throws "Empty MoldItem.".
class MoldItemController::WaitingSelectionHelper : public SelectionHelper {
public:
    explicit WaitingSelectionHelper(SelectionHelper& other);
    ~WaitingSelectionHelper() override;

    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      DetailView* view) override;
};

} // namespace varnel
