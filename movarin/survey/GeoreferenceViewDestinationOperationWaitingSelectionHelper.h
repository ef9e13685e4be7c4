#pragma once

#include "movarin/survey/GeoreferenceViewImageItemControllerSelectionHelper.h"

namespace varnel {

/// The pane while a new pair waits for its map position on the main view: shows every
/// pair and ignores all input until the controller's `startGcpSelect` returns to the idle
/// tool.
class GeoreferenceView::ImageItemController::DestinationOperationWaitingSelectionHelper
    : public SelectionHelper {
public:
    explicit DestinationOperationWaitingSelectionHelper(SelectionHelper& other);
    ~DestinationOperationWaitingSelectionHelper() override;
};

} // namespace varnel
