#pragma once

#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataPolylineItemControllerDeleteMeCommand.h"
#include "movarin/sections/GeoDataPolylineItemControllerTraits.h"
#include "movarin/sections/GeoDataPolylineSettingDialog.h"
#include "movarin/sections/GeoDataShapeItemControllerT.h"

namespace varnel {

/// Defines and edits a polyline of the geographic data (see `GeoDataShapeItemController`
/// for the modes): the polygon's editing without value and without a closing edge;
/// "&Remove Vertex" needs at least 3 vertices.
///
/// The polyline announces every change (see `GeoDataPolylineItem`): its commands on redo
/// and undo, its deletion (`DeleteMeCommand`) on redo and undo, and every change of its
/// browser row (caption or check state).
class GeoDataPolylineItemController
    : public GeoDataShapeItemControllerT<GeoDataPolylineItemControllerTraits> {
    Q_OBJECT
public:
    using DeleteMeCommand = GeoDataPolylineItemControllerDeleteMeCommand;

    explicit GeoDataPolylineItemController(const GeoDataPolylineItem* item);
    ~GeoDataPolylineItemController() override;

    void handleStandardItemChange() override;

protected:
    QUndoCommand* deleteMeCommand(const QString& text) override;
};

} // namespace varnel
