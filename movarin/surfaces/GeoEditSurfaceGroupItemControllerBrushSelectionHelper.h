#pragma once

#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerSelectionHelper.h"

#include "orlin/core/Rect.h"

#include <memory>

namespace tin::core {
class Polygon;
}

namespace varnel {

class PendingBrushEdit;

/// The brush while the mouse button is held: each move brushes the area the square swept
/// since the last position, the release brushes the square where it ends, and the brush
/// waits again (`BrushWaitingSelectionHelper`).
///
/// - Move: the model position goes to the end of the point list (the stroke's path); from
///   the second point on, `BrushFootprint::sweptBrushPolygon` of the last two is brushed. The
///   view is repainted with `update()`.
/// - Release (any button): the release position is appended, the swept area from the point
///   before is brushed, then the square at the release position; the list is emptied and the
///   waiting tool takes over the pending edit. A click without a move brushes the square once.
///
/// Brushing raises, or lowers while the event carries Shift, or levels off as the settings say
/// (read at each application). When an application is refused or the edit is discarded (the
/// edited TIN changed, an exception), the rest of the stroke brushes nothing until the release.
class GeoEditSurfaceGroupItemController::BrushSelectionHelper : public SelectionHelper {
public:
    /// Takes over `other`'s point list and `pending`.
    BrushSelectionHelper(SelectionHelper& other, std::unique_ptr<PendingBrushEdit> pending);
    ~BrushSelectionHelper() override;

    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event, mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event, mvc::core::View* view) override;

    bool hasPendingBrushEdit() const override;
    void abandonPendingBrushEdit() override;

    const PendingBrushEdit& pendingBrushEdit() const { return *m_pending; }
    const tin::core::Rect& brushRect() const { return m_brushRect; }

private:
    /// The model position of the event, appended to the point list.
    void appendPosition(QMouseEvent* event, const mvc::core::View* view);
    /// Brushes the footprint unless the stroke has stopped; stops it when told to.
    void brush(const tin::core::Polygon& footprint, const QMouseEvent* event);
    void brushSweptArea(const QMouseEvent* event);

    std::unique_ptr<PendingBrushEdit> m_pending;
    tin::core::Rect m_brushRect;
    bool m_stopped = false;
};

} // namespace varnel
