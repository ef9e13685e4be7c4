#pragma once

#include "brask/util/WrapperCommandT.h"

#include <QObject>
#include <QPointer>

namespace mvc::proj {

class ProjectFile;
class ProjectItem;

/// Base of the controllers of persisted items: pushes undoable edits onto the project's
/// undo stack so that the project's modified flag follows undo and redo.
///
/// The controller has no Qt parent; its item owns it.
class ProjectItemController : public QObject {
    Q_OBJECT
public:
    /// Wraps a command: redo runs the inner command and marks the project modified; undo
    /// runs the inner undo and puts back the flag the project had when the wrapper was
    /// made. Text, id and merging are the inner command's. Owns the inner command; the
    /// project file is watched, not owned.
    class ModifyCommand : public util::WrapperCommandT<ModifyCommand> {
    public:
        ModifyCommand(QUndoCommand* command, ProjectFile* mainfile);
        void undo() override;
        void redo() override;

    private:
        QPointer<ProjectFile> m_mainfile;
        bool m_wasModified;
    };

    explicit ProjectItemController(const ProjectItem* item);
    ~ProjectItemController() override;

protected:
    const ProjectItem* item() const { return m_item; }

    /// Pushes `command` wrapped in a `ModifyCommand` onto the project's undo stack, which
    /// runs its redo at once and owns it. Without a project (an item outside any tree) the
    /// command is carried out and deleted: there is no stack to undo it on.
    void pushModifyCommand(QUndoCommand* command);

private:
    const ProjectItem* m_item;
};

} // namespace mvc::proj
