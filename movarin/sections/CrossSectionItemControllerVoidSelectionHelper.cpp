#include "movarin/sections/CrossSectionItemControllerVoidSelectionHelper.h"

namespace varnel {

CrossSectionItemController::VoidSelectionHelper::VoidSelectionHelper(
    CrossSectionItemController* controller)
    : SelectionHelper(controller)
{
}

CrossSectionItemController::VoidSelectionHelper::~VoidSelectionHelper() = default;

} // namespace varnel
