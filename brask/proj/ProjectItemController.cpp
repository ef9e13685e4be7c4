#include "brask/proj/ProjectItemController.h"

#include "brask/proj/Project.h"
#include "brask/proj/ProjectFile.h"
#include "brask/proj/ProjectItem.h"

#include <QUndoStack>

namespace mvc::proj {

ProjectItemController::ModifyCommand::ModifyCommand(QUndoCommand* command, ProjectFile* mainfile)
    : WrapperCommandT(command), m_mainfile(mainfile),
      m_wasModified(mainfile && mainfile->isModified())
{
}

void ProjectItemController::ModifyCommand::undo()
{
    command()->undo();
    if (m_mainfile) {
        m_mainfile->setModified(m_wasModified);
    }
}

void ProjectItemController::ModifyCommand::redo()
{
    command()->redo();
    if (m_mainfile) {
        m_mainfile->setModified(true);
    }
}

ProjectItemController::ProjectItemController(const ProjectItem* item) : m_item(item) {}

ProjectItemController::~ProjectItemController() = default;

void ProjectItemController::pushModifyCommand(QUndoCommand* command)
{
    Project* project = m_item ? m_item->project() : nullptr;
    QUndoStack* stack = project ? project->undoStack() : nullptr;
    auto wrapper = new ModifyCommand(command, project ? project->mainfile() : nullptr);
    if (!stack) {
        wrapper->redo();
        delete wrapper;
        return;
    }
    stack->push(wrapper);
}

} // namespace mvc::proj
