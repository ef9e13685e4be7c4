#pragma once

#include "movarin/sections/CrossSectionGroupItemController.h"

#include <QPointer>
#include <QUndoCommand>

#include <vector>

namespace varnel {

class CrossSectionItem;

/// Puts imported sections at the front of the group: redo attaches them at the front in
/// list order (so the list's last ends up first), undo closes their windows and detaches
/// them. While undone (and before the first redo) the command owns the sections and deletes
/// them when it is destroyed; once redone the group owns them. Group and sections are
/// watched through guarded pointers, so when the tree goes first the command deletes
/// nothing.
class CrossSectionGroupItemController::AttachChildrenAtFrontCommand : public QUndoCommand {
public:
    AttachChildrenAtFrontCommand(const QString& text, CrossSectionGroupItem* group,
                                 const std::vector<CrossSectionItem*>& sections);
    ~AttachChildrenAtFrontCommand() override;

    void redo() override;
    void undo() override;

private:
    QPointer<CrossSectionGroupItem> m_group;
    std::vector<QPointer<CrossSectionItem>> m_sections;
    bool m_isAttached = false;
};

} // namespace varnel
