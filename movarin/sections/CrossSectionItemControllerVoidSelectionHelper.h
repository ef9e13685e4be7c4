#pragma once

#include "movarin/sections/CrossSectionItemControllerSelectionHelper.h"

namespace varnel {

/// The mode a section's controller is built with, for the moment before its first real
/// mode: ignores every event and paints nothing.
class CrossSectionItemController::VoidSelectionHelper : public SelectionHelper {
public:
    explicit VoidSelectionHelper(CrossSectionItemController* controller);
    ~VoidSelectionHelper() override;
};

} // namespace varnel
