#pragma once

#include "movarin/sections/CrossSectionGroupItemControllerSelectionHelper.h"

namespace varnel {

/// The folder's idle mode: ignores every event and paints nothing.
class CrossSectionGroupItemController::VoidSelectionHelper : public SelectionHelper {
public:
    explicit VoidSelectionHelper(CrossSectionGroupItemController* controller)
        : SelectionHelper(controller)
    {
    }
    explicit VoidSelectionHelper(SelectionHelper& other) : SelectionHelper(other) {}
};

} // namespace varnel
