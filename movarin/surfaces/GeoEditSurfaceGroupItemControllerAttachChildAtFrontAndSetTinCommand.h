#pragma once

#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"

#include "brask/core/AttachChildAtFrontCommand.h"

namespace varnel {

/// Puts a new surface at the front of the group and its change into the edited TIN, as one
/// undo entry.
///
/// The first redo of a surface not yet applied (a mold surface) merges it into the edited
/// TIN (the controller's `Merge`, by default the surface's `modifiedRootTin`), which fills
/// its added and removed triangles; the merged TIN is moved into the edited TIN item, the
/// surface is attached and announces its added triangles (`rootTinChanged`). A merge that
/// fails or throws shows the "Error" box "Tin creation failed." and changes nothing: the
/// surface stays detached, and the caller deletes the command with it. Every other redo
/// attaches the surface and swaps its triangles in (removed out, added in); undo swaps them
/// out again and detaches it, so the edited TIN holds the very triangle objects it held
/// before.
///
/// The caller runs the first redo itself and, when it applied the surface, marks the
/// command to skip the redo that pushing runs (`skipNextRedo`). Ownership as
/// `mvc::core::AttachChildAtFrontCommand`: while the surface is off the stack the command
/// owns it. No merge id.
class GeoEditSurfaceGroupItemController::AttachChildAtFrontAndSetTinCommand
    : public mvc::core::AttachChildAtFrontCommand {
public:
    AttachChildAtFrontAndSetTinCommand(const QString& text, GeoEditSurfaceItemI* surface,
                                       GeoEditSurfaceGroupItem* group, bool applied,
                                       Merge merge = {});
    ~AttachChildAtFrontAndSetTinCommand() override;

    void undo() override;
    void redo() override;

    void skipNextRedo() { m_skipNextRedo = true; }
    /// Whether the surface's change is in the edited TIN's history (merged once).
    bool isApplied() const { return m_applied; }
    /// Whether the surface is on the stack.
    bool isAttached() const { return m_attached; }

private:
    GeoEditSurfaceItemI* surface() const;
    /// Merges the surface into the edited TIN; false, after the "Error" box, on failure.
    bool apply(GeoEditSurfaceItemI& surface);

    Merge m_merge;
    bool m_applied;
    bool m_skipNextRedo = false;
    bool m_attached = false;
};

} // namespace varnel
