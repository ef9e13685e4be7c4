#include "movarin/sections/CrossSectionGroupItemControllerAttachChildrenAtFrontCommand.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"

namespace varnel {

using Self = CrossSectionGroupItemController::AttachChildrenAtFrontCommand;

Self::AttachChildrenAtFrontCommand(const QString& text, CrossSectionGroupItem* group,
                                   const std::vector<CrossSectionItem*>& sections)
    : QUndoCommand(text), m_group(group), m_sections(sections.begin(), sections.end())
{
}

Self::~AttachChildrenAtFrontCommand()
{
    if (m_isAttached) {
        return;
    }
    for (const QPointer<CrossSectionItem>& section : m_sections) {
        delete section.data();
    }
}

void Self::redo()
{
    if (!m_group) {
        return;
    }
    for (const QPointer<CrossSectionItem>& section : m_sections) {
        if (section) {
            m_group->attachChildAtFront(section);
        }
    }
    m_isAttached = true;
}

void Self::undo()
{
    if (!m_group) {
        return;
    }
    for (const QPointer<CrossSectionItem>& section : m_sections) {
        if (section) {
            section->controller()->closeCrossSectionWindow();
            m_group->detachChild(section);
        }
    }
    m_isAttached = false;
}

} // namespace varnel
