#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerDeleteAllChildItemsCommand.h"

#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include <utility>

namespace varnel {

using Self = GeoEditSurfaceGroupItemController::DeleteAllChildItemsCommand;

Self::DeleteAllChildItemsCommand(const QString& text, GeoEditSurfaceGroupItem* group)
    : mvc::core::ModelItemController::DeleteAllChildItemsCommand(text, group)
{
    if (auto root = qobject_cast<EditModeMainWindowModelRootItem*>(group->parentItem())) {
        m_baseTinItem = root->baseTinItem();
        m_tinItem = root->tinItem();
    }
}

Self::~DeleteAllChildItemsCommand() = default;

void Self::redo()
{
    mvc::core::ModelItemController::DeleteAllChildItemsCommand::redo();
    if (!m_tinItem || m_replaced) {
        return;
    }
    const tin::core::Tin* base = m_baseTinItem ? m_baseTinItem->tin() : nullptr;
    m_tinItem->replaceTin(base ? new tin::core::Tin(*base) : new tin::core::Tin(), m_previous);
    m_replaced = true;
    emit m_tinItem->tinChanged(*m_tinItem->tin());
}

void Self::undo()
{
    if (m_tinItem && m_replaced) {
        tin::core::Tin baseCopy;
        m_tinItem->replaceTin(new tin::core::Tin(std::move(m_previous)), baseCopy);
        m_previous = tin::core::Tin();
        m_replaced = false;
    }
    mvc::core::ModelItemController::DeleteAllChildItemsCommand::undo();
    if (m_tinItem) {
        emit m_tinItem->tinChanged(*m_tinItem->tin());
    }
}

} // namespace varnel
