#pragma once

#include "movarin/surfaces/MoldItemControllerSelectionHelper.h"

namespace varnel {

/// The tool of an editor that no dialog has started: it does nothing and shows nothing.
/// It makes the (empty) working copy that every later tool takes over.
class MoldItemController::VoidSelectionHelper : public SelectionHelper {
public:
    explicit VoidSelectionHelper(MoldItemController* controller) : SelectionHelper(controller) {}
};

} // namespace varnel
