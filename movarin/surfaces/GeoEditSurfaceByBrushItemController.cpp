#include "movarin/surfaces/GeoEditSurfaceByBrushItemController.h"

namespace varnel {

GeoEditSurfaceByBrushItemController::GeoEditSurfaceByBrushItemController(
    const GeoEditSurfaceByBrushItem* item)
    : GeoEditSurfaceItemControllerT<GeoEditSurfaceByBrushItem>(item)
{
}

GeoEditSurfaceByBrushItemController::~GeoEditSurfaceByBrushItemController() = default;

} // namespace varnel
