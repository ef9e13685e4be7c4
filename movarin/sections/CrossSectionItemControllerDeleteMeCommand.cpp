#include "movarin/sections/CrossSectionItemControllerDeleteMeCommand.h"

namespace varnel {

using Self = CrossSectionItemController::DeleteMeCommand;

Self::DeleteMeCommand(const QString& text, CrossSectionItem* section)
    : mvc::core::DeleteMeCommand(text, section)
{
}

Self::~DeleteMeCommand() = default;

void Self::redo()
{
    if (auto section = static_cast<CrossSectionItem*>(item())) {
        section->controller()->closeCrossSectionWindow();
    }
    mvc::core::DeleteMeCommand::redo();
}

} // namespace varnel
