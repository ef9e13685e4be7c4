#include "movarin/sections/CrossSectionGroupItemControllerAttachChildAtFrontCommand.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"

namespace varnel {

using Self = CrossSectionGroupItemController::AttachChildAtFrontCommand;

Self::AttachChildAtFrontCommand(const QString& text, mvc::core::ModelItem* child,
                                mvc::core::ModelItem* parent)
    : mvc::core::AttachChildAtFrontCommand(text, child, parent)
{
}

Self::~AttachChildAtFrontCommand() = default;

void Self::undo()
{
    if (auto section = qobject_cast<CrossSectionItem*>(item())) {
        section->controller()->closeCrossSectionWindow();
    }
    mvc::core::AttachChildAtFrontCommand::undo();
}

} // namespace varnel
