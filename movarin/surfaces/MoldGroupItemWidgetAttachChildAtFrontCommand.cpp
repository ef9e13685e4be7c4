#include "movarin/surfaces/MoldGroupItemWidgetAttachChildAtFrontCommand.h"

#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldItem.h"

namespace varnel {

using Self = MoldGroupItemWidget::AttachChildAtFrontCommand;

Self::AttachChildAtFrontCommand(const QString& text, MoldItem* mold, MoldGroupItem* group)
    : QUndoCommand(text), m_mold(mold), m_group(group)
{
}

Self::~AttachChildAtFrontCommand()
{
    if (!m_inGroup) {
        delete m_mold.data();
    }
}

void Self::redo()
{
    if (m_inGroup || !m_mold || !m_group) {
        return;
    }
    m_group->insertAtFront(m_mold);
    m_inGroup = true;
    rebuildIconsOf(m_group);
}

void Self::undo()
{
    if (!m_inGroup || !m_mold || !m_group) {
        return;
    }
    m_group->remove(m_mold);
    m_inGroup = false;
    rebuildIconsOf(m_group);
}

} // namespace varnel
