#include "movarin/sections/GeoDataPolylineItemController.h"

namespace varnel {

GeoDataPolylineItemController::GeoDataPolylineItemController(const GeoDataPolylineItem* item)
    : GeoDataShapeItemControllerT(item)
{
}

GeoDataPolylineItemController::~GeoDataPolylineItemController() = default;

void GeoDataPolylineItemController::handleStandardItemChange()
{
    item()->shapeChanged();
}

QUndoCommand* GeoDataPolylineItemController::deleteMeCommand(const QString& text)
{
    return new DeleteMeCommand(text, item());
}

} // namespace varnel
