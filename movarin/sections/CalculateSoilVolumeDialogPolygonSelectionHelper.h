#pragma once

#include "movarin/sections/CalculateSoilVolumeDialogSelectionHelper.h"

#include "orlin/core/Point2D.h"

namespace varnel {

/// Draws the region of a soil-volume calculation on the main view, in world coordinates
/// through the view's inverse transform, and shows it filled as it grows
/// (`PolygonMainViewHelper`):
/// - a left press fixes a vertex at the mouse. A rubber-band vertex follows the mouse
///   between presses; a press without a move since the last one replaces the vertex that
///   press fixed;
/// - Escape takes back the vertex fixed last (and the rubber band with it);
/// - Return or a double click ends the drawing: the rubber band is dropped, so the region
///   is the fixed vertices, and the dialog is shown again.
/// Other buttons and keys are ignored. The helper stays installed once the drawing ends:
/// the dialog reads the region from it.
class CalculateSoilVolumeDialog::PolygonSelectionHelper
    : public CalculateSoilVolumeDialog::SelectionHelper {
public:
    /// Takes `other`'s dialog and polygon over; draws on `view`.
    PolygonSelectionHelper(SelectionHelper&& other, mvc::core::View* view);
    ~PolygonSelectionHelper() override;

    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseDoubleClickEvent(QMouseEvent* event,
                                                            mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;

private:
    void dropRubberBand();
    void finish(mvc::core::View* view);

    // The vertex the last press fixed; meaningful while the polygon has points.
    tin::core::Point2D m_lastFixed;
    // Whether the polygon's last point is the rubber band rather than a fixed vertex.
    bool m_rubberBand = false;
};

} // namespace varnel
