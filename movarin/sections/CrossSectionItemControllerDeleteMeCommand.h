#pragma once

#include "movarin/sections/CrossSectionItemController.h"

#include "brask/core/DeleteMeCommand.h"

namespace varnel {

/// Deletes a section as the framework's delete command does, closing the section's window
/// first; undo brings the section back without its window.
class CrossSectionItemController::DeleteMeCommand : public mvc::core::DeleteMeCommand {
public:
    DeleteMeCommand(const QString& text, CrossSectionItem* section);
    ~DeleteMeCommand() override;

    void redo() override;
};

} // namespace varnel
