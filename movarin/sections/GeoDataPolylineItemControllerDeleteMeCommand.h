#pragma once

#include "brask/core/DeleteMeCommand.h"

namespace varnel {

class GeoDataPolylineItem;

/// The framework's deletion of an item, for a polyline: after its redo and after its undo
/// the polyline announces the change, so that no listener keeps a polyline that left the
/// tree nor misses one that came back.
class GeoDataPolylineItemControllerDeleteMeCommand : public mvc::core::DeleteMeCommand {
public:
    GeoDataPolylineItemControllerDeleteMeCommand(const QString& text, GeoDataPolylineItem* item);
    ~GeoDataPolylineItemControllerDeleteMeCommand() override;

    void redo() override;
    void undo() override;

private:
    void announce() const;
};

} // namespace varnel
