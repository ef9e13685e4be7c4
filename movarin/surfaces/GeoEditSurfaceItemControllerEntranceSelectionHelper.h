#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

namespace varnel {

/// The tool of a surface not yet touched on the main view: it takes the editing state from
/// the surface (`initFromSurface`) and paints the path and the outline. The first press (any
/// button) checks that no newer surface covers this one (the "Warning" box otherwise, and
/// the tool stays); then a `WaitingSelectionHelper` takes over and handles that very press.
/// Return applies a pending edit made through the context menu, as in the waiting tool.
class GeoEditSurfaceItemController::EntranceSelectionHelper : public SelectionHelper {
public:
    explicit EntranceSelectionHelper(SelectionHelper& other);
    ~EntranceSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;
};

} // namespace varnel
