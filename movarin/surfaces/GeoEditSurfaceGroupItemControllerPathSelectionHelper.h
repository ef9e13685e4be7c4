#pragma once

#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerSelectionHelper.h"

#include <QPoint>

#include <memory>

namespace tin::core {
class Tin;
}

namespace varnel {

/// The path tool: the user clicks the path of a new mold surface on the main view, and
/// Return or a double click makes the surface of the mold selected in the Mold Browser
/// (`createGeoEditSurface`). The tool stays for the next path.
///
/// Points take the clicked position with its elevation on the edited TIN; outside the TIN
/// the elevation of the TIN's vertex nearest to the click on the screen (`nearestVertex`).
/// - Left press: appends the point and makes it the anchor (the last clicked point), after
///   dropping the rubber-band point. A press at the anchor's position changes nothing; a
///   press on an earlier point of the path warns "Cannot add the same position more than
///   once." and changes nothing.
/// - Move: the rubber-band point, the last point of the path, follows the mouse while it
///   is off the anchor.
/// - Return (or Enter) with two points or more, or a double click: the path, the rubber-band
///   point included, becomes a surface and the path is emptied; with no mold selected it is
///   kept, so the user can pick one and finish again.
/// - Escape: drops the last point; with none left, the idle tool follows.
/// The preview is the path as a line and, while a mold is selected, the outline of its sweep
/// along the path, filled.
class GeoEditSurfaceGroupItemController::PathSelectionHelper : public SelectionHelper {
public:
    explicit PathSelectionHelper(SelectionHelper& other);
    ~PathSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseDoubleClickEvent(QMouseEvent* event,
                                                            mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;

    /// Whether the path's last point is the rubber-band point.
    bool hasRubberBandPoint() const { return m_rubberBand; }

    /// The path point under the widget position `pixel`: its world position with the
    /// elevation of `tin` there, or outside the TIN that of `nearestVertex`. Throws
    /// common::exception::RuntimeException "Empty Tin." for a missing or empty TIN.
    static tin::core::Point pointAt(const QPoint& pixel, const tin::core::Tin* tin,
                                    const mvc::core::View* view);
    /// The vertex of `tin` nearest to `pixel` on the screen: the triangle with the nearest
    /// corner (`pickNearestIndex` over the TIN's triangles, bounded by its extent), then
    /// that corner. Ends for every position; "Empty Tin." for an empty TIN.
    static std::shared_ptr<tin::core::Point> nearestVertex(const tin::core::Tin& tin,
                                                           const QPoint& pixel,
                                                           const mvc::core::View* view);

protected:
    void doFinishSelection(mvc::core::View* view) override;

private:
    tin::core::Point cursorPoint(const QPoint& pixel, const mvc::core::View* view) const;
    void dropRubberBandPoint();
    void updateOutline();
    guimisc::helper::SelectionHelper* finish(mvc::core::View* view);

    bool m_rubberBand = false;
};

} // namespace varnel
