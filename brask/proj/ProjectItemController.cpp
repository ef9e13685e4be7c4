#include "brask/proj/ProjectItemController.h"

#include "brask/proj/Project.h"
#include "brask/proj/ProjectFile.h"
#include "brask/proj/ProjectItem.h"

#include <QUndoStack>

namespace mvc::proj {

ProjectItemController::ModifyCommand::ModifyCommand(QUndoCommand* command, ProjectFile* mainfile)
    : QUndoCommand(command->text()), m_command(command), m_mainfile(mainfile),
      m_wasModified(mainfile && mainfile->isModified())
{
}

ProjectItemController::ModifyCommand::~ModifyCommand()
{
    delete m_command;
}

void ProjectItemController::ModifyCommand::undo()
{
    m_command->undo();
    if (m_mainfile) {
        m_mainfile->setModified(m_wasModified);
    }
}

void ProjectItemController::ModifyCommand::redo()
{
    m_command->redo();
    if (m_mainfile) {
        m_mainfile->setModified(true);
    }
}

int ProjectItemController::ModifyCommand::id() const
{
    return m_command->id();
}

bool ProjectItemController::ModifyCommand::mergeWith(const QUndoCommand* other)
{
    const auto wrapper = dynamic_cast<const ModifyCommand*>(other);
    return wrapper && m_command->mergeWith(wrapper->m_command);
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
