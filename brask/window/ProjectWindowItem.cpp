#include "brask/window/ProjectWindowItem.h"

#include "brask/window/ProjectWindow.h"

namespace mvc::window {

ProjectWindowItem::ProjectWindowItem(ProjectWindow*, proj::ProjectItem* parent)
    : proj::ProjectItem(parent)
{
}

ProjectWindowItem::~ProjectWindowItem() = default;

ProjectWindow* ProjectWindowItem::window() const
{
    return m_window;
}

} // namespace mvc::window
