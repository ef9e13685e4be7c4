#include "movarin/surfaces/MoldGroupItemWidgetDeleteChildCommand.h"

#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldItem.h"

#include <algorithm>

namespace varnel {

using Self = MoldGroupItemWidget::DeleteChildCommand;

namespace {

int indexIn(const MoldGroupItem* group, const MoldItem* mold)
{
    const std::vector<MoldItem*>& molds = group->molds();
    const auto found = std::find(molds.begin(), molds.end(), mold);
    return found == molds.end() ? -1 : static_cast<int>(found - molds.begin());
}

} // namespace

Self::DeleteChildCommand(const QString& text, MoldItem* mold, MoldGroupItem* group)
    : QUndoCommand(text), m_mold(mold), m_group(group), m_index(indexIn(group, mold)),
      m_inGroup(m_index >= 0)
{
}

Self::~DeleteChildCommand()
{
    // A mold that was never in the group is not the command's.
    if (!m_inGroup && m_index >= 0) {
        delete m_mold.data();
    }
}

void Self::redo()
{
    if (!m_inGroup || !m_mold || !m_group) {
        return;
    }
    m_group->remove(m_mold);
    m_inGroup = false;
    rebuildIconsOf(m_group);
}

void Self::undo()
{
    if (m_inGroup || m_index < 0 || !m_mold || !m_group) {
        return;
    }
    const int size = static_cast<int>(m_group->molds().size());
    m_group->insertAt(m_mold, std::min(m_index, size));
    m_inGroup = true;
    rebuildIconsOf(m_group);
}

} // namespace varnel
