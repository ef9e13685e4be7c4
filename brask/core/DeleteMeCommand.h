#pragma once

#include <QPointer>
#include <QUndoCommand>

namespace mvc::core {

class ModelItem;

/// Undoable deletion of an item: redo detaches it from its parent (list and row), undo
/// puts it back at the row it had when the command was made.
///
/// While redone the command owns the detached item and deletes it when it is destroyed.
/// The item keeps its Qt parent while detached and is watched through a guarded pointer,
/// so when the tree goes first the command deletes nothing.
class DeleteMeCommand : public QUndoCommand {
public:
    DeleteMeCommand(const QString& text, ModelItem* item);
    ~DeleteMeCommand() override;

    void undo() override;
    void redo() override;

    ModelItem* item() const;

private:
    QPointer<ModelItem> m_item;
    QPointer<ModelItem> m_parent;
    int m_row;
    bool m_isInTree = true;
};

} // namespace mvc::core
