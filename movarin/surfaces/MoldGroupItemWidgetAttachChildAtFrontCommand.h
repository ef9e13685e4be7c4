#pragma once

#include "movarin/surfaces/MoldGroupItemWidget.h"

#include <QUndoCommand>

namespace varnel {

/// Undoable insertion of a new mold at the front of its group: redo inserts it, undo takes
/// it out; both rebuild the group's icons (so a selection of the mold is let go on undo).
/// While the mold is out of the group (before the first redo and after an undo) the command
/// owns it and deletes it when destroyed. Mold and group are watched: when the project's
/// tree goes first the command deletes nothing.
class MoldGroupItemWidget::AttachChildAtFrontCommand : public QUndoCommand {
public:
    AttachChildAtFrontCommand(const QString& text, MoldItem* mold, MoldGroupItem* group);
    ~AttachChildAtFrontCommand() override;

    void undo() override;
    void redo() override;

private:
    QPointer<MoldItem> m_mold;
    QPointer<MoldGroupItem> m_group;
    bool m_inGroup = false;
};

} // namespace varnel
