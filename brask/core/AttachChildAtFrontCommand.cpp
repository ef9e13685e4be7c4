#include "brask/core/AttachChildAtFrontCommand.h"

#include "brask/core/ModelItem.h"

namespace mvc::core {

AttachChildAtFrontCommand::AttachChildAtFrontCommand(const QString& text, ModelItem* child,
                                                     ModelItem* parent)
    : QUndoCommand(text), m_child(child), m_parent(parent)
{
}

AttachChildAtFrontCommand::~AttachChildAtFrontCommand()
{
    if (!m_isInTree) {
        delete m_child.data();
    }
}

void AttachChildAtFrontCommand::undo()
{
    if (m_parent && m_child) {
        m_parent->detachChild(m_child);
    }
    m_isInTree = false;
}

void AttachChildAtFrontCommand::redo()
{
    if (m_parent && m_child) {
        m_parent->attachChildAtFront(m_child);
    }
    m_isInTree = true;
}

ModelItem* AttachChildAtFrontCommand::item() const
{
    return m_child;
}

} // namespace mvc::core
