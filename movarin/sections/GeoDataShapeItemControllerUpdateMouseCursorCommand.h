#pragma once

#include "brask/util/WrapperCommandT.h"

#include <QPointer>

namespace varnel {

class GeoDataShapeItemController;

/// Wraps a geometry command of a polygon or polyline: after the inner redo or undo the
/// main view's cursor is set for the mode the command left the controller in, and the
/// actions follow the new number of vertices. Text, id and
/// merging are the inner command's (a wrapper merges with a wrapper whose inner command
/// the inner command takes). Owns the inner command; the controller is watched.
class GeoDataShapeItemControllerUpdateMouseCursorCommand
    : public mvc::util::WrapperCommandT<GeoDataShapeItemControllerUpdateMouseCursorCommand> {
public:
    GeoDataShapeItemControllerUpdateMouseCursorCommand(QUndoCommand* command,
                                                       GeoDataShapeItemController* controller);
    ~GeoDataShapeItemControllerUpdateMouseCursorCommand() override;

    void redo() override;
    void undo() override;

private:
    QPointer<GeoDataShapeItemController> m_controller;
};

} // namespace varnel
