#pragma once

#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerT.h"

namespace varnel {

/// The controller of a brush surface: renaming and deletion under the overlap rule, as
/// every GeoEdit surface (see `GeoEditSurfaceItemControllerT`); a brush surface offers
/// nothing else.
class GeoEditSurfaceByBrushItemController
    : public GeoEditSurfaceItemControllerT<GeoEditSurfaceByBrushItem> {
    Q_OBJECT
public:
    explicit GeoEditSurfaceByBrushItemController(const GeoEditSurfaceByBrushItem* item);
    ~GeoEditSurfaceByBrushItemController() override;
};

} // namespace varnel
