#include "movarin/surfaces/GeoEditSurfaceItemControllerDeleteMeCommand.h"

#include "movarin/surfaces/GeoEditSurfaceItemI.h"

namespace varnel {

GeoEditSurfaceItemControllerDeleteMeCommand::GeoEditSurfaceItemControllerDeleteMeCommand(
    const QString& text, GeoEditSurfaceItemI* surface)
    : mvc::core::DeleteMeCommand(text, surface)
{
}

GeoEditSurfaceItemControllerDeleteMeCommand::~GeoEditSurfaceItemControllerDeleteMeCommand() =
    default;

void GeoEditSurfaceItemControllerDeleteMeCommand::redo()
{
    if (GeoEditSurfaceItemI* s = surface()) {
        s->swapTriangles(s->addedTin(), s->removedTin());
    }
    mvc::core::DeleteMeCommand::redo();
}

void GeoEditSurfaceItemControllerDeleteMeCommand::undo()
{
    mvc::core::DeleteMeCommand::undo();
    if (GeoEditSurfaceItemI* s = surface()) {
        s->swapTriangles(s->removedTin(), s->addedTin());
    }
}

GeoEditSurfaceItemI* GeoEditSurfaceItemControllerDeleteMeCommand::surface() const
{
    return qobject_cast<GeoEditSurfaceItemI*>(item());
}

} // namespace varnel
