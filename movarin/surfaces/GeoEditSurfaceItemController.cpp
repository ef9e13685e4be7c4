#include "movarin/surfaces/GeoEditSurfaceItemController.h"

namespace varnel {

GeoEditSurfaceItemController::GeoEditSurfaceItemController(const GeoEditSurfaceItem* item)
    : GeoEditSurfaceItemControllerT<GeoEditSurfaceItem>(item)
{
}

GeoEditSurfaceItemController::~GeoEditSurfaceItemController() = default;

} // namespace varnel
