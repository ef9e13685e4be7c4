#pragma once

#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerSelectionHelper.h"

#include "orlin/core/Rect.h"

#include <memory>

namespace varnel {

class PendingBrushEdit;

/// The brush between strokes ("Add by brushing"): the brush square follows the mouse, a left
/// press starts a stroke (`BrushSelectionHelper`), Return commits the strokes brushed so far as
/// one brush surface and Escape discards them; either leaves the brush for the idle tool.
///
/// - Move (any buttons): the square (`brushRect`, the brush size wide) is centred on the
///   mouse; the view is repainted with `update()`, which keeps the TIN pictures.
/// - Left press: a stroke tool takes over the pending edit. The press position is not
///   brushed; the first move records it.
/// - Return (not the keypad's Enter): the pending edit, if it removed any triangle, becomes
///   the surface "BrushEdit <n>" (see `PendingBrushEdit::commit`); then the idle tool.
/// - Escape: the pending edit is discarded with the empty preview; then the idle tool.
///
/// Painted: the pending added TIN in the elevation colours, then the square in black. The
/// tool owns the pending edit until it hands it on; deleting the tool (another tool replacing
/// the brush) discards it with the empty preview.
class GeoEditSurfaceGroupItemController::BrushWaitingSelectionHelper : public SelectionHelper {
public:
    /// A new brush with an empty edit and an empty point list.
    explicit BrushWaitingSelectionHelper(GeoEditSurfaceGroupItemController* controller);
    /// Takes over `other`'s point list and `pending`, the edit of the stroke just ended.
    BrushWaitingSelectionHelper(SelectionHelper& other, std::unique_ptr<PendingBrushEdit> pending);
    ~BrushWaitingSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event, mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event, mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event, mvc::core::View* view) override;

    /// Whether triangles are brushed but not committed.
    bool hasPendingBrushEdit() const override;
    void abandonPendingBrushEdit() override;

    const PendingBrushEdit& pendingBrushEdit() const { return *m_pending; }
    const tin::core::Rect& brushRect() const { return m_brushRect; }

private:
    void addPainters();

    std::unique_ptr<PendingBrushEdit> m_pending;
    tin::core::Rect m_brushRect;
};

} // namespace varnel
