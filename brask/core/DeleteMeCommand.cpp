#include "brask/core/DeleteMeCommand.h"

#include "brask/core/ModelItem.h"

#include <algorithm>

namespace mvc::core {

DeleteMeCommand::DeleteMeCommand(const QString& text, ModelItem* item)
    : QUndoCommand(text), m_item(item), m_parent(item ? item->parentItem() : nullptr), m_row(0)
{
    if (m_parent) {
        const auto& children = m_parent->childItems();
        m_row = static_cast<int>(std::find(children.begin(), children.end(), item)
                                 - children.begin());
    }
}

DeleteMeCommand::~DeleteMeCommand()
{
    if (!m_isInTree) {
        delete m_item.data();
    }
}

void DeleteMeCommand::undo()
{
    if (m_parent && m_item && !m_isInTree) {
        m_parent->attachChildAt(m_item, m_row);
        m_isInTree = true;
    }
}

void DeleteMeCommand::redo()
{
    // An item without parent item is not in a tree: there is nothing to take it out of.
    if (m_parent && m_item && m_isInTree) {
        m_parent->detachChild(m_item);
        m_isInTree = false;
    }
}

ModelItem* DeleteMeCommand::item() const
{
    return m_item;
}

} // namespace mvc::core
