#include "brask/proj/ProjectItemController.h"

#include "brask/proj/Project.h"
#include "brask/proj/ProjectFile.h"
#include "brask/proj/ProjectItem.h"

#include <QUndoStack>

namespace mvc::proj {

ProjectItemController::ModifyCommand::ModifyCommand(QUndoCommand* command)
    : WrapperCommandT(command)
{
}

void ProjectItemController::ModifyCommand::undo()
{
    command()->undo();
}

void ProjectItemController::ModifyCommand::redo()
{
    command()->redo();
}

ProjectItemController::ProjectItemController(const ProjectItem* item) : m_item(item) {}

ProjectItemController::~ProjectItemController() = default;

void ProjectItemController::pushModifyCommand(QUndoCommand* command)
{
    Project* project = m_item ? m_item->project() : nullptr;
    QUndoStack* stack = project ? project->undoStack() : nullptr;
    auto wrapper = new ModifyCommand(command);
    if (!stack) {
        wrapper->redo();
        delete wrapper;
        if (project && project->mainfile()) {
            project->mainfile()->setModified(true);
        }
        return;
    }
    stack->push(wrapper);
}

} // namespace mvc::proj
