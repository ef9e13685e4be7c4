#include "movarin/sections/CrossSectionItemControllerEditCommand.h"

namespace varnel {

using Self = CrossSectionItemController::EditCommand;

Self::EditCommand(const std::vector<tin::core::Point2D>& path, CrossSectionItem* section)
    : QUndoCommand(CrossSectionItemController::tr("Edit %1").arg(section->caption())),
      m_section(section),
      m_newPath(path),
      m_oldPath(section->path())
{
}

Self::~EditCommand() = default;

void Self::redo()
{
    apply(m_newPath, m_redoneBefore);
    m_redoneBefore = true;
}

void Self::undo()
{
    apply(m_oldPath, true);
}

void Self::apply(const std::vector<tin::core::Point2D>& path, bool reloadWorkingPath)
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
