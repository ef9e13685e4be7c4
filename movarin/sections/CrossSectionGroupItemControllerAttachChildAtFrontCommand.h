#pragma once

#include "movarin/sections/CrossSectionGroupItemController.h"

#include "brask/core/AttachChildAtFrontCommand.h"

namespace varnel {

/// Puts a drawn section at the front of the group as the framework's attach command does;
/// undo closes the section's window before taking the section out again.
class CrossSectionGroupItemController::AttachChildAtFrontCommand
    : public mvc::core::AttachChildAtFrontCommand {
public:
    AttachChildAtFrontCommand(const QString& text, mvc::core::ModelItem* child,
                              mvc::core::ModelItem* parent);
    ~AttachChildAtFrontCommand() override;

    void undo() override;
};

} // namespace varnel
