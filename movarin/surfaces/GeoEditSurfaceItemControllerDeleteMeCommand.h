#pragma once

#include "brask/core/DeleteMeCommand.h"

namespace varnel {

class GeoEditSurfaceItemI;

/// Undoable deletion of a GeoEdit surface, shared by both kinds' controllers: redo takes the
/// surface's effect off the edited TIN (its added triangles out, its removed ones back in)
/// and then detaches it from the group; undo attaches it again at its row and puts its
/// effect back. The very triangle objects come and go, so a redo after an undo leaves the
/// edited TIN holding the objects it held before.
///
/// Ownership as `mvc::core::DeleteMeCommand`: while redone the command owns the surface.
/// The caller checks the overlap rule before making it (`GeoEditSurfaceItemI::overlappingSibling`).
class GeoEditSurfaceItemControllerDeleteMeCommand : public mvc::core::DeleteMeCommand {
public:
    GeoEditSurfaceItemControllerDeleteMeCommand(const QString& text, GeoEditSurfaceItemI* surface);
    ~GeoEditSurfaceItemControllerDeleteMeCommand() override;

    void redo() override;
    void undo() override;

private:
    GeoEditSurfaceItemI* surface() const;
};

} // namespace varnel
