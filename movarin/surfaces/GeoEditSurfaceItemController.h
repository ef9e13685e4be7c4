#pragma once

#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerT.h"

#include "orlin/core/Point.h"

#include <mold/core/Mold.h>

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

class QAction;

namespace mvc::core {
class View;
}

namespace varnel {

class GeoEditSurfaceGroupItemController;

/// The controller of a mold-and-path surface: besides what every surface offers (renaming,
/// deletion under the overlap rule, see `GeoEditSurfaceItemControllerT`) it edits the
/// surface's path and mold and applies each change to the surface and the edited TIN as
/// one undo entry "Edit <caption>" (`EditCommand`).
///
/// Pending edit. The controller keeps the surface as it is being edited: path, closed flag,
/// mold name, mold and reference lines. Path and reference lines (pending and committed,
/// see `ReferenceLine`) live in the active main-view tool, which hands them on to the next
/// (`SelectionHelper`); closed flag and mold in the controller (`PendingEdit`). Vertices are
/// picked, dragged, added and deleted on the main view, or typed in the path table ("Edit
/// Path", `GeoEditSurfaceItemPathPropertyDialog`, which OK marks as one change and Cancel
/// undoes); reference lines are set with their own tools ("Edit reference lines",
/// `ReferenceLineSelectionHelper`) and the tools write lengths, elevations and angles on the
/// path (`GuideMainViewHelper`). The context menu also closes or opens the path, replaces
/// the mold by the one selected in the Mold Browser, or edits it in the "Mold Setting"
/// dialog. With "Batch Apply" (shared by all surface controllers through the
/// group controller) changes accumulate until "Apply Edit" (or Return, or a double click);
/// without it each change is applied at once and a failed apply reverts the pending edit.
/// Batch apply is not turned off while any surface of the group holds a pending edit: the
/// "Warning" box says so once and the flag stays on for all.
/// "Revert Edit" and Escape drop the pending edit. A pending path with two consecutive
/// vertices on one plan position is never applied ("Cannot add the same position more than
/// once."), and the pending edit stays for the user to mend.
///
/// Overlap. A surface whose added triangles a newer surface took out is not changed:
/// every slot that changes it, the first press on the main view and every apply check it
/// first ("%1 is overlapped with %2."). An applied change that would take out a newer
/// surface's added triangles is rolled back ("Edited %1 is overlapped with %2."), as is one
/// whose outline crosses itself ("Invalid Tin shape.") or whose merge fails or throws ("Tin
/// creation failed."); none of them leaves an undo entry.
///
/// What a tool or a slot throws ends in an "Error" box and changes nothing. Every box goes
/// through `guimisc::UserDialogs`. Owned by the surface; owns its actions, its tool and its
/// pending edit.
class GeoEditSurfaceItemController : public GeoEditSurfaceItemControllerT<GeoEditSurfaceItem> {
    Q_OBJECT
public:
    class SelectionHelper;
    class VoidSelectionHelper;
    class EntranceSelectionHelper;
    class WaitingSelectionHelper;
    class PointsInRectangleSelectionHelper;
    class TranslationSelectionHelper;
    class AddPointSelectionHelper;
    class ReferenceLineSelectionHelper;
    class ReferenceLineEditSelectionHelper;
    class GuideMainViewHelper;
    class EditCommand;
    class ReferenceLine;
    struct PendingEdit;
    using ReferenceLines = std::vector<ReferenceLine>;

    /// The actions, in the order they are made.
    enum Action {
        AddPointAction,
        DeletePointsAction,
        EditPathAction,
        CloseUnclosePathAction,
        ReplaceMoldAction,
        EditMoldAction,
        EditReferenceLinesAction,
        BatchApplyAction,
        ApplyEditAction,
        RevertEditAction,
        ActionCount
    };

    explicit GeoEditSurfaceItemController(const GeoEditSurfaceItem* item);
    ~GeoEditSurfaceItemController() override;

    /// "Edit name", the first seven actions, a separator, "Batch Apply", "Apply Edit",
    /// "Revert Edit".
    void addCustomMenuItems(QMenu* menu) override;

    QAction* action(Action which) const { return m_actions[which]; }
    /// The active tool (never null).
    SelectionHelper* activeHelper() const;
    /// The surfaces group's controller; null outside a group.
    GeoEditSurfaceGroupItemController* groupController() const;

    bool isBatchApply() const;
    bool isEdited() const;
    bool pendingClosed() const;
    QString pendingMoldName() const;
    mold::core::Mold pendingMold() const;
    const std::vector<tin::core::Point>& pendingPath() const;
    const ReferenceLines& pendingReferenceLines() const;
    const ReferenceLines& committedReferenceLines() const;
    void setCommittedReferenceLines(const ReferenceLines& lines);
    /// The pending edit holds changes not yet applied: "Apply Edit" and "Revert Edit" are
    /// enabled.
    void markEdited();
    /// Path operations of the tool, reference lines kept in step; out-of-range indices
    /// throw std::out_of_range.
    void insertPendingPoint(std::size_t index, const tin::core::Point& point);
    void removePendingPoint(std::size_t index);
    void movePendingPoint(std::size_t index, const tin::core::Point& point);

    /// Applies the pending closed flag, mold and reference lines with `path` as one
    /// `EditCommand` (see the class comment); true when it was applied and pushed. On a
    /// failure the pending edit is reverted unless batch apply is on, except for a repeated
    /// position, which keeps it.
    bool applyPendingEdit(const std::vector<tin::core::Point>& path);
    /// False, after the "Warning" box "Edited %1 is overlapped with %2.", when the surface's
    /// removed triangles include a newer surface's added ones.
    bool verifyEditedOverlap();
    /// Whether two consecutive vertices of `path` stand on one plan position.
    static bool hasRepeatedNeighbours(const std::vector<tin::core::Point>& path);

public slots:
    /// The reference-line tools take over (`ReferenceLineSelectionHelper`).
    void referenceLineSelect();
    /// The tool recomputes its outline preview.
    void updateAuxiliaries();
    /// The pending edit becomes the surface's state and the committed reference lines again.
    void revertBatchEdit();
    void addPoint();
    void deletePoints();
    void showPathPropertyDialog();
    void showMoldPropertyDialog();
    void toggleClosePath();
    void replaceMold();
    /// Applies the pending edit, whichever tool is active (the add-point tool stays and adds
    /// nothing).
    void applyEdit();
    /// The group's flag follows, unless `checked` is false while a surface of the group
    /// holds a pending edit: then the box, and the action checked again.
    void toggleBatchApply(bool checked);
    /// `revertBatchEdit`, the selection cleared.
    void revertEdit();
    /// Shows the group's flag on the action (`toggleBatchApply` is not called).
    void setBatchApplyEnabled(bool enabled);

private:
    void setEdited(bool edited);
    /// After a slot marked the pending edit: applied at once without batch apply; the
    /// outline follows and the main view repaints.
    void applyIfImmediate();
    void repaintMainView() const;
    mvc::core::View* mainView() const;

    std::unique_ptr<PendingEdit> m_pending;
    std::array<QAction*, ActionCount> m_actions{};
};

} // namespace varnel
