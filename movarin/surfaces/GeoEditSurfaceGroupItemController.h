#pragma once

#include "brask/core/ModelItemControllerT.h"

#include <QPointer>

#include <functional>
#include <vector>

class QAction;

namespace tin::core {
class Point;
class Tin;
} // namespace tin::core

namespace varnel {

class GeoEditSurfaceGroupItem;
class GeoEditSurfaceItemI;
class GeoEditSurfaceItem;
class MoldItem;
class MoldsContainerBrowser;
class TinItem;

/// The controller of the "GeoEdit Surfaces" folder: it makes new surfaces and puts them on
/// the stack, takes them all off again, and keeps what every surface controller shares.
///
/// Mold Browser. The controller makes the dock with the project window (the item's main
/// window) as parent, docks it on the right, binds it to the group's molds and owns it:
/// destroying the controller deletes it unless the window went first. An item outside a
/// project window gets a dock without parent, docked nowhere.
///
/// Actions: "Add" (context menu) and "GeoEdit Surface" (the main window's Add menu) start the
/// path tool for the mold selected in the browser (`polylineSelect`); "Add by brushing" and
/// "Set brush" start the brush tools and the brush settings; "Delete all" asks, then takes
/// every surface off in one undo entry. Menu: "Add", "Add by brushing", separator, "Set
/// brush", separator, "Delete all".
///
/// Tools on the main view (while the group is the selected item): the idle
/// `VoidSelectionHelper`, the path tool `PathSelectionHelper` and the brush,
/// `BrushWaitingSelectionHelper` between strokes and `BrushSelectionHelper` while the button
/// is held (see `PendingBrushEdit` for the strokes not yet committed). What a tool throws ends
/// in an "Error" box at the controller's input hooks, and the tool stays as it was (the brush
/// has discarded its pending strokes). The settings dialog ("Set brush") locks the size while
/// strokes are pending; sizes below `BrushSettings::MIN_BRUSH_SIZE` are not taken.
///
/// New surfaces (`createGeoEditSurface`, `createGeoEditSurfaceByBrush`) go to the front of
/// the group as one undo entry each (`AttachChildAtFrontAndSetTinCommand`); a mold surface is
/// merged into the edited TIN before it is attached, so a failed merge leaves no row, no
/// undo entry and the edited TIN as it was. "Delete all" (`DeleteAllChildItemsCommand`)
/// gives the edited TIN a copy of the base TIN; undo gives the old TIN back.
///
/// Shared state: the five brush settings (size 5 m, edit unit 0.1 m, limit 0 m, limit off,
/// level off off) and the batch-apply flag of the surface controllers (`batchApplyEnabled`
/// announces every change; the controllers only show it, so that the announcement comes
/// back to nobody). `brushEditAddedTinChanged` carries a brush stroke's provisional
/// added and removed triangles to the profile windows while the stroke is under way.
///
/// Cost: applying a mold surface is the sweep and one merge of the TIN modifier; the merged
/// TIN is moved into the edited TIN item, never copied. Owned by the item; owns its
/// actions, its tool and the dock.
class GeoEditSurfaceGroupItemController
    : public mvc::core::ModelItemControllerT<GeoEditSurfaceGroupItem> {
    Q_OBJECT
public:
    class SelectionHelper;
    class VoidSelectionHelper;
    class PathSelectionHelper;
    class BrushWaitingSelectionHelper;
    class BrushSelectionHelper;
    class AttachChildAtFrontAndSetTinCommand;
    class DeleteAllChildItemsCommand;

    /// What applying a mold surface merges: the edited TIN with the surface in it, `ok`
    /// false on failure. By default the surface's own `modifiedRootTin`.
    using Merge = std::function<tin::core::Tin(GeoEditSurfaceItemI& surface,
                                               const tin::core::Tin& rootTin, bool* ok)>;

    explicit GeoEditSurfaceGroupItemController(const GeoEditSurfaceGroupItem* item);
    ~GeoEditSurfaceGroupItemController() override;

    void addCustomMenuItems(QMenu* menu) override;
    void appendAddActionToMenu(QMenu* menu) const override;
    void keyPressEvent(QKeyEvent* event, mvc::core::View* view) override;
    void keyReleaseEvent(QKeyEvent* event, mvc::core::View* view) override;
    void mouseDoubleClickEvent(QMouseEvent* event, mvc::core::View* view) override;
    void mouseMoveEvent(QMouseEvent* event, mvc::core::View* view) override;
    void mousePressEvent(QMouseEvent* event, mvc::core::View* view) override;
    void mouseReleaseEvent(QMouseEvent* event, mvc::core::View* view) override;
    void wheelEvent(QWheelEvent* event, mvc::core::View* view) override;

    MoldsContainerBrowser* moldsContainerBrowser() const;
    /// The mold selected in the browser's current tab; null when none.
    MoldItem* selectedMoldItem() const;
    /// The edited TIN's item (entry 2 of the edit-mode root); null outside one.
    TinItem* rootTinItem() const;

    double brushSize() const { return m_brushSize; }
    double brushEditUnit() const { return m_brushEditUnit; }
    double brushLimit() const { return m_brushLimit; }
    bool brushLimitEnabled() const { return m_brushLimitEnabled; }
    bool brushLevelOff() const { return m_brushLevelOff; }

    bool isBatchApplyEnabled() const;
    /// Stores the flag and emits `batchApplyEnabled`.
    void setBatchApplyEnabled(bool enabled);
    /// Whether a surface of the group holds changes not yet applied (while that is so,
    /// batch apply stays on). A surface whose controller was never built has none.
    bool hasPendingBatchEdit() const;

    /// A surface "GeoEdit <n> (Add|Sub)" (n: the surfaces on the stack + 1) of the selected
    /// mold along `path`, merged into the edited TIN and put at the front of the group as
    /// the undo entry "Add new GeoEdit surface". Warns "No Mold is selected." and returns
    /// false without a selected mold; warns "No valid GeoEdit Surface was created from
    /// specified Mold and Path." when the mold does not fit the path or the surface meets no
    /// triangle of the edited TIN (it would change nothing); shows the "Error" box
    /// "Tin creation failed." when the merge fails (or throws). Every failure leaves the
    /// project as it was. True unless no mold was selected.
    bool createGeoEditSurface(const std::vector<tin::core::Point>& path);
    /// Whether the outline of the surface's TIN meets a triangle of the edited TIN.
    bool meetsEditedTin(const GeoEditSurfaceItem& surface) const;
    /// A brush surface "BrushEdit <n>" with copies of the stroke's triangles, swapped into the
    /// edited TIN and put at the front as the undo entry "Add new GeoEdit surface by
    /// brushing".
    void createGeoEditSurfaceByBrush(const tin::core::Tin& addedTin,
                                     const tin::core::Tin& removedTin);

    QAction* addAction() const { return m_addAction; }
    QAction* geoEditSurfaceAction() const { return m_geoEditSurfaceAction; }
    QAction* deleteAllAction() const { return m_deleteAllAction; }
    QAction* addByBrushingAction() const { return m_addByBrushingAction; }
    QAction* setBrushAction() const { return m_setBrushAction; }

    /// A test seam: what the next mold surfaces and edits merge with (null: the default).
    void setMerge(Merge merge);
    /// The merge of `surface` into `rootTin` that applying a mold surface or an edit of one
    /// computes: the seam when one is set, else the surface's `modifiedRootTin`.
    tin::core::Tin merge(GeoEditSurfaceItemI& surface, const tin::core::Tin& rootTin,
                         bool* ok) const;

signals:
    void batchApplyEnabled(bool enabled);
    void brushEditAddedTinChanged(const tin::core::Tin* addedTin,
                                  const tin::core::Tin* removedTin);

public slots:
    void deleteAllChildItemsSilently() override;
    /// Selects the group and starts the path tool.
    void polylineSelect();
    /// Starts the brush tools.
    void regionBrush();
    /// The brush settings in their dialog.
    void showBrushEditSettingDialog();

private:
    /// The number the next surface's name carries.
    int nextSurfaceNumber() const;
    /// Runs an input hook; what it throws is shown in the "Error" box.
    template <class Hook> void guarded(Hook hook);
    void attach(AttachChildAtFrontAndSetTinCommand* command);

    QPointer<MoldsContainerBrowser> m_moldsContainerBrowser;
    QAction* m_addAction;
    QAction* m_geoEditSurfaceAction;
    QAction* m_deleteAllAction;
    QAction* m_addByBrushingAction;
    QAction* m_setBrushAction;
    bool m_batchApplyEnabled = false;
    double m_brushSize = 5.0;
    double m_brushEditUnit = 0.1;
    double m_brushLimit = 0.0;
    bool m_brushLimitEnabled = false;
    bool m_brushLevelOff = false;
    Merge m_merge;
};

} // namespace varnel
