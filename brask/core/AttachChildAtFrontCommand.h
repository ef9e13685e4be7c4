#pragma once

#include <QPointer>
#include <QUndoCommand>

namespace mvc::core {

class ModelItem;

/// Undoable insertion of a detached child as the first child of a parent (list and row).
///
/// While undone (and before the first redo) the command owns the child and deletes it when
/// it is destroyed; once redone the tree owns it. Both items are watched through guarded
/// pointers: the child keeps its Qt parent while detached, so when the tree goes first the
/// command deletes nothing.
class AttachChildAtFrontCommand : public QUndoCommand {
public:
    AttachChildAtFrontCommand(const QString& text, ModelItem* child, ModelItem* parent);
    ~AttachChildAtFrontCommand() override;

    void undo() override;
    void redo() override;

    ModelItem* item() const;

private:
    QPointer<ModelItem> m_child;
    QPointer<ModelItem> m_parent;
    bool m_isInTree = false;
};

} // namespace mvc::core
