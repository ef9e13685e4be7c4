#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

namespace tin::core {
class Tin;
}

namespace varnel {

/// Drags the selected vertices of a surface's path by the mouse's offset from the press,
/// each keeping its height above the ground under it (`terrainAt`): the offset of its
/// elevation from the ground where it started is added to the ground where it goes. Where
/// no ground is found the elevation of the edited TIN's vertex nearest on the screen stands
/// in for it, and a vertex that had no ground at the start keeps its elevation.
///
/// The drop marks the pending edit, unless nothing moved (a click that only selects). Two
/// vertices on one plan position: the "Error" box "Cannot add the same position more than
/// once." and the drag goes on. A vertex whose ground is unknown in the last move (see
/// `terrainAt`): the "Warning" box "Translation failed." and, without batch apply, the
/// pending edit is reverted. Otherwise, without batch apply, the edit is applied. Then a
/// `WaitingSelectionHelper` takes over.
///
/// Paints the path, the outline, the selected vertices and the selection box. Each move
/// recomputes the outline and costs one ground lookup per selected vertex (the spatial
/// indexes of the surface's and the edited TIN).
class GeoEditSurfaceItemController::TranslationSelectionHelper : public SelectionHelper {
public:
    /// The ground under a plan position for a dragged vertex of `surface`.
    struct Ground {
        bool found = false;
        double elevation = 0.0;
        /// The ground there is unknown: a position on the surface's removed or the edited
        /// TIN that does not interpolate, or one on the surface's own added TIN that its
        /// removed TIN does not cover.
        bool failed = false;
    };

    explicit TranslationSelectionHelper(SelectionHelper& other);
    ~TranslationSelectionHelper() override;

    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        mvc::core::View* view) override;

    /// The ground at `x`, `y`: the terrain that the surface replaced (its removed TIN) where
    /// that holds the position, else the edited TIN's surface there, found or not.
    static Ground terrainAt(GeoEditSurfaceItem& surface, const tin::core::Tin* edited, double x,
                            double y);

private:
    /// The offsets at the start, looked up at the first move.
    void start(const mvc::core::View* view);
    /// The elevation of the edited TIN's vertex nearest to `world` on the screen.
    double nearestVertexElevation(const QPointF& world, const mvc::core::View* view) const;
    bool hasMoved() const;

    std::vector<tin::core::Point> m_start;
    std::vector<double> m_offsets;
    std::vector<bool> m_noGroundAtStart;
    bool m_started = false;
    bool m_failed = false;
};

} // namespace varnel
