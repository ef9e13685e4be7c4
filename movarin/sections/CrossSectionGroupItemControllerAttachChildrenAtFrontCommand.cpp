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
    // Each one at the front in turn: the last listed comes first.
    std::vector<mvc::core::ModelItem*> sections;
    for (auto it = m_sections.rbegin(); it != m_sections.rend(); ++it) {
        if (*it) {
            sections.push_back(*it);
        }
    }
    m_group->attachChildrenAt(sections, 0);
    m_isAttached = true;
}

void Self::undo()
{
    if (!m_group) {
        return;
    }
    std::vector<mvc::core::ModelItem*> sections;
    for (const QPointer<CrossSectionItem>& section : m_sections) {
        if (section) {
            section->controller()->closeCrossSectionWindow();
            sections.push_back(section);
        }
    }
    m_group->detachChildren(sections);
    m_isAttached = false;
}

} // namespace varnel
