#pragma once

#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerT.h"

namespace varnel {

/// The controller of a mold-and-path surface. For now it offers what every GeoEdit surface
/// offers (see `GeoEditSurfaceItemControllerT`): renaming, and deletion under the overlap
/// rule as one undo entry.
class GeoEditSurfaceItemController : public GeoEditSurfaceItemControllerT<GeoEditSurfaceItem> {
    Q_OBJECT
public:
    explicit GeoEditSurfaceItemController(const GeoEditSurfaceItem* item);
    ~GeoEditSurfaceItemController() override;
};

} // namespace varnel
