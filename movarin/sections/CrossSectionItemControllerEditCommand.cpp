#include "movarin/sections/CrossSectionItemControllerEditCommand.h"

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionItemController::EditCommand;

CrossSectionItemController::EditCommand::EditCommand(const std::vector<tin::core::Point2D>& path,
                                                     CrossSectionItem* section)
    : QUndoCommand(CrossSectionItemController::tr("Edit %1").arg(section->caption())),
      m_section(section),
      m_newPath(path),
      m_oldPath(section->path())
{
}

CrossSectionItemController::EditCommand::~EditCommand() = default;

void CrossSectionItemController::EditCommand::redo()
{
    apply(m_newPath, m_redoneBefore);
    m_redoneBefore = true;
}

void CrossSectionItemController::EditCommand::undo()
{
    apply(m_oldPath, true);
}

void CrossSectionItemController::EditCommand::apply(const std::vector<tin::core::Point2D>& path,
                                                    bool reloadWorkingPath)
{
    if (!m_section) {
        return;
    }
    m_section->setPath(path);
    CrossSectionItemController* controller = m_section->controller();
    emit controller->changed();
    if (reloadWorkingPath) {
        controller->clearSelection();
    }
}

} // namespace varnel
