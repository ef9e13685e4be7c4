#include "movarin/sections/GeoDataPolylineItemControllerDeleteMeCommand.h"

#include "movarin/sections/GeoDataPolylineItem.h"

namespace varnel {

GeoDataPolylineItemControllerDeleteMeCommand::GeoDataPolylineItemControllerDeleteMeCommand(
    const QString& text, GeoDataPolylineItem* item)
    : mvc::core::DeleteMeCommand(text, item)
{
}

GeoDataPolylineItemControllerDeleteMeCommand::~GeoDataPolylineItemControllerDeleteMeCommand() =
    default;

void GeoDataPolylineItemControllerDeleteMeCommand::redo()
{
    mvc::core::DeleteMeCommand::redo();
    announce();
}

void GeoDataPolylineItemControllerDeleteMeCommand::undo()
{
    mvc::core::DeleteMeCommand::undo();
    announce();
}

void GeoDataPolylineItemControllerDeleteMeCommand::announce() const
{
    if (auto polyline = qobject_cast<GeoDataPolylineItem*>(item())) {
        polyline->shapeChanged();
    }
}

} // namespace varnel
