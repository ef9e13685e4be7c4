#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLine.h"

#include "orlin/core/Tin.h"

#include <QPointer>
#include <QUndoCommand>

namespace varnel {

/// One applied edit of a mold-and-path surface: its path, closed flag, mold and reference
/// lines, and its change of the edited TIN.
///
/// The first redo gives the surface the new state and rebuilds its TINs, takes the
/// surface's old change off the edited TIN (its added triangles out, its removed ones back
/// in), merges the surface anew (the group controller's `merge`) and moves the merged TIN
/// into the edited TIN item. It rolls everything back, surface state and triangle objects
/// alike, and stays not done (`isDone`) when the new outline crosses itself ("Invalid Tin
/// shape."), the merge fails or anything of the rebuild or the merge throws ("Tin creation
/// failed."), or the new removed triangles include a newer surface's added ones ("Edited %1
/// is overlapped with %2."). The caller runs that redo itself, pushes the command only when
/// it is done and marks it to skip the redo that pushing runs (`skipNextRedo`).
///
/// Later redos and undos never merge: they swap the stored triangle objects (the new ones
/// in and the old out, or back), give the surface the state of that side and rebuild its
/// TINs from it; then the controller's pending edit becomes the surface's again
/// (`revertBatchEdit`). The surface is watched, not owned; no merge id.
class GeoEditSurfaceItemController::EditCommand : public QUndoCommand {
public:
    /// The old state is the surface's now, with the controller's committed reference lines;
    /// the new one `path`, `closed`, the mold and the controller's pending reference lines.
    EditCommand(const QString& text, const std::vector<tin::core::Point>& path, bool closed,
                const QString& moldName, const mold::core::Mold& mold, GeoEditSurfaceItem* surface);
    ~EditCommand() override;

    void redo() override;
    void undo() override;

    void skipNextRedo() { m_skipNextRedo = true; }
    /// Whether the edit is in the surface and the edited TIN's history (applied once).
    bool isDone() const { return m_done; }

private:
    /// What the command gives the surface and the controller on either side.
    struct State {
        std::vector<tin::core::Point> path;
        ReferenceLines lines;
        bool closed = false;
        QString moldName;
        mold::core::Mold mold;
    };

    GeoEditSurfaceItemController* controller() const;
    /// The surface and the controller take `state`; the surface rebuilds its TINs.
    void applyState(const State& state);
    /// The first redo; true when the edit was applied.
    bool apply();
    /// Back to the old state after a failed first redo; `swappedOut` tells whether the
    /// surface's old change had left the edited TIN.
    void rollBack(bool swappedOut);
    /// `removeAdded` leaves the edited TIN and `addRemoved` comes back, then `setRemoved`
    /// leaves and `setAdded` comes in; the surface takes `state` and the two set TINs.
    void restoreState(const tin::core::Tin& removeAdded, const tin::core::Tin& setAdded,
                      const tin::core::Tin& addRemoved, const tin::core::Tin& setRemoved,
                      const State& state);

    QPointer<GeoEditSurfaceItem> m_surface;
    tin::core::Tin m_newAdded;
    tin::core::Tin m_newRemoved;
    tin::core::Tin m_oldAdded;
    tin::core::Tin m_oldRemoved;
    State m_new;
    State m_old;
    bool m_done = false;
    bool m_skipNextRedo = false;
};

} // namespace varnel
