#pragma once

#include "movarin/surfaces/MoldGroupItemWidget.h"

#include <QUndoCommand>

namespace varnel {

/// Undoable removal of a mold from its group: redo takes it out, undo puts it back at the
/// position it had when the command was made (a mold that was not in the group is left
/// alone both ways); both rebuild the group's icons. While the mold is out of the group
/// the command owns it and deletes it when destroyed; mold and group are watched, as in
/// `AttachChildAtFrontCommand`.
class MoldGroupItemWidget::DeleteChildCommand : public QUndoCommand {
public:
    DeleteChildCommand(const QString& text, MoldItem* mold, MoldGroupItem* group);
    ~DeleteChildCommand() override;

    void undo() override;
    void redo() override;

private:
    QPointer<MoldItem> m_mold;
    QPointer<MoldGroupItem> m_group;
    int m_index;
    bool m_inGroup;
};

} // namespace varnel
