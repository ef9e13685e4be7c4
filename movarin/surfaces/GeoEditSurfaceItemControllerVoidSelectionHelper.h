#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

namespace varnel {

/// The surface controller's first tool, before the editing state is taken from the surface:
/// every event is left alone and nothing is painted.
class GeoEditSurfaceItemController::VoidSelectionHelper : public SelectionHelper {
public:
    explicit VoidSelectionHelper(GeoEditSurfaceItemController* controller)
        : SelectionHelper(controller)
    {
    }
    explicit VoidSelectionHelper(SelectionHelper& other) : SelectionHelper(other) {}
};

} // namespace varnel
