#pragma once

#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerSelectionHelper.h"

namespace varnel {

/// The group's idle tool: every event is left alone.
class GeoEditSurfaceGroupItemController::VoidSelectionHelper : public SelectionHelper {
public:
    explicit VoidSelectionHelper(GeoEditSurfaceGroupItemController* controller)
        : SelectionHelper(controller)
    {
    }
    explicit VoidSelectionHelper(SelectionHelper& other) : SelectionHelper(other) {}
};

} // namespace varnel
