#pragma once

#include "movarin/surfaces/BrushEdit.h"
#include "movarin/surfaces/BrushSettings.h"

#include "brask/util/MainViewHelperI.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

namespace mvc::core {
class View;
}

namespace tin::core {
class Polygon;
class Rect;
class Tin;
} // namespace tin::core

namespace varnel {

class GeoEditSurfaceGroupItemController;

/// The brush edit of the brush tools with what ties it to the program: the group controller
/// whose five settings it reads at each application and whose signal
/// `brushEditAddedTinChanged` carries the preview (the pending added and removed TINs) to the
/// profile windows, and the edited TIN (the controller's `rootTinItem`) that it reads and
/// never changes. The tools hand it on from one to the next whole (its address and so the
/// TINs' addresses stay), so the preview painters and listeners may keep their pointers.
///
/// The edited TIN changing under a pending edit (an undo or redo from the main window,
/// "Delete all", any surface command but the brush's own commit) would leave the edit on
/// triangles that are no longer there: the edit watches the project's undo stack, and at
/// every change of it, at every application and at commit it checks that the edited TIN is
/// still in the state the strokes were made on (and at commit that the removed triangles
/// are all in it). If not, the edit is discarded: both TINs cleared, the empty preview sent,
/// the Warning "The brush edit was discarded because the edited TIN changed." shown.
///
/// An application that would make more than `BrushEdit::MAX_TRIANGLES_PER_APPLICATION`
/// triangles is refused with the Warning "The brush is too small for the triangles under
/// it."; the edit keeps what it had. An exception of an application or the commit (the
/// preview's listeners included) discards the edit (empty preview, no Warning) and propagates
/// to the tool's caller, which reports it.
///
/// Destroying a pending edit discards it with the empty preview but no message (another
/// tool replaced the brush); `abandon` first makes it go without a word, for a controller
/// that is being destroyed. GUI thread only.
class PendingBrushEdit : public QObject {
    Q_OBJECT
public:
    explicit PendingBrushEdit(GeoEditSurfaceGroupItemController* controller);
    ~PendingBrushEdit() override;

    const BrushEdit& edit() const { return m_edit; }
    bool isPending() const { return m_edit.isPending(); }
    /// The settings as the controller holds them now.
    BrushSettings settings() const;

    /// Applies `footprint`: levels off when the settings say so, else raises (lowers when
    /// `raise` is false), and sends the preview when the rule asks for it. False when the
    /// stroke is to stop: the application was refused or the edit was discarded because the
    /// edited TIN had changed.
    bool apply(const tin::core::Polygon& footprint, bool raise);
    /// Return: when triangles are pending, the periphery is split, the edit becomes the
    /// brush surface "BrushEdit <n>" through the controller's `createGeoEditSurfaceByBrush`,
    /// both TINs are cleared and the empty preview is sent.
    void commit();
    /// Escape: both TINs cleared, the empty preview sent.
    void discard();
    /// Forgets the edit without a preview or a message.
    void abandon();
    /// Discards the edit with the Warning when the edited TIN is no longer the one the
    /// strokes were made on; true when it did.
    bool discardIfEditedTinChanged();

    /// The brush tools' painters, in this order: the pending added TIN in the project's
    /// elevation colours, then `brushRect` with a black pen.
    void addPainters(std::vector<std::unique_ptr<mvc::util::MainViewHelperI>>& painters,
                     const tin::core::Rect* brushRect, mvc::core::View* view) const;

private:
    /// The edited TIN; null while the edited TIN item holds none.
    const tin::core::Tin* editedTin() const;
    void emitPreview();
    void clearAndEmit();
    void warn(const QString& text) const;

    QPointer<GeoEditSurfaceGroupItemController> m_controller;
    BrushEdit m_edit;
    bool m_abandoned = false;
};

} // namespace varnel
