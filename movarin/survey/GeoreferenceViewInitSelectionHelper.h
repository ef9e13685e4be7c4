#pragma once

#include "movarin/survey/GeoreferenceViewImageItemControllerSelectionHelper.h"

namespace varnel {

/// The pane's first tool: ignores all input until the mouse first moves over the pane,
/// then hands over to the idle tool (which publishes the selection; by then the dialog
/// is connected).
class GeoreferenceView::ImageItemController::InitSelectionHelper : public SelectionHelper {
public:
    using SelectionHelper::SelectionHelper;

    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     GeoreferenceView* view) override;
};

} // namespace varnel
