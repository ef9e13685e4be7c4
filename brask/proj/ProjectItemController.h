#pragma once

#include "brask/util/WrapperCommandT.h"

#include <QObject>

namespace mvc::proj {

class ProjectItem;

/// Base of the controllers of persisted items: pushes undoable edits onto the project's
/// undo stack. The project counts as modified while that stack stands away from the index
/// of the last save (`ProjectFile`), so the modified state follows undo and redo.
///
/// The controller has no Qt parent; its item owns it.
class ProjectItemController : public QObject {
    Q_OBJECT
public:
    /// Wraps a command of the project: redo and undo run the inner command. Neither sets
    /// the project's modified state, which the stack's clean index gives: an undo past the
    /// last save leaves the project modified, a redo back to it unmodified. Text, id and
    /// merging are the inner command's (the stack merges nothing into the command of the
    /// saved state). Owns the inner command.
    class ModifyCommand : public util::WrapperCommandT<ModifyCommand> {
    public:
        explicit ModifyCommand(QUndoCommand* command);
        void undo() override;
        void redo() override;
    };

    explicit ProjectItemController(const ProjectItem* item);
    ~ProjectItemController() override;

protected:
    const ProjectItem* item() const { return m_item; }

    /// Pushes `command` wrapped in a `ModifyCommand` onto the project's undo stack, which
    /// runs its redo at once and owns it. Without a stack (an item outside any tree, a
    /// project without one) the command is carried out and deleted, and a project there is
    /// marked modified: there is no stack to undo it on.
    void pushModifyCommand(QUndoCommand* command);

private:
    const ProjectItem* m_item;
};

} // namespace mvc::proj
