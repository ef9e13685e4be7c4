#include "movarin/sections/GeoDataShapeItemControllerUpdateMouseCursorCommand.h"

#include "movarin/sections/GeoDataShapeItemController.h"

namespace varnel {

GeoDataShapeItemControllerUpdateMouseCursorCommand::
    GeoDataShapeItemControllerUpdateMouseCursorCommand(QUndoCommand* command,
                                                       GeoDataShapeItemController* controller)
    : WrapperCommandT(command), m_controller(controller)
{
}

GeoDataShapeItemControllerUpdateMouseCursorCommand::
    ~GeoDataShapeItemControllerUpdateMouseCursorCommand() = default;

void GeoDataShapeItemControllerUpdateMouseCursorCommand::redo()
{
    command()->redo();
    if (m_controller) {
        m_controller->updateMouseCursor();
        m_controller->updateActionStatus();
    }
}

void GeoDataShapeItemControllerUpdateMouseCursorCommand::undo()
{
    command()->undo();
    if (m_controller) {
        m_controller->updateMouseCursor();
        m_controller->updateActionStatus();
    }
}

} // namespace varnel
