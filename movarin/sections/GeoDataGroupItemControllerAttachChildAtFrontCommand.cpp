#include "movarin/sections/GeoDataGroupItemControllerAttachChildAtFrontCommand.h"

#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"

namespace varnel {

GeoDataGroupItemControllerAttachChildAtFrontCommand::
    GeoDataGroupItemControllerAttachChildAtFrontCommand(const QString& text,
                                                        mvc::core::ModelItem* child,
                                                        GeoDataGroupItem* group)
    : mvc::core::AttachChildAtFrontCommand(text, child, group), m_group(group)
{
}

GeoDataGroupItemControllerAttachChildAtFrontCommand::
    ~GeoDataGroupItemControllerAttachChildAtFrontCommand() = default;

void GeoDataGroupItemControllerAttachChildAtFrontCommand::redo()
{
    mvc::core::AttachChildAtFrontCommand::redo();
    announce();
}

void GeoDataGroupItemControllerAttachChildAtFrontCommand::undo()
{
    mvc::core::AttachChildAtFrontCommand::undo();
    announce();
}

void GeoDataGroupItemControllerAttachChildAtFrontCommand::announce() const
{
    if (m_group && qobject_cast<GeoDataPolylineItem*>(item())) {
        m_group->announcePolylineChange();
    }
}

} // namespace varnel
