#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"

#include <cstddef>
#include <optional>

namespace varnel {

/// Picks the vertex whose reference line the user sets ("Edit reference lines"). A move
/// highlights the vertex nearest to the mouse on the screen among all but the last (the last
/// has no line) and shows, in magenta 2 pixels wide, its reference line across the view and
/// the angle between the line and the segment that leaves the vertex, the line's arm drawn
/// three tenths of the segment long on the segment's side. A left press takes the vertex
/// under it (the nearest again, so that a press without a move counts too) and hands over to
/// a `ReferenceLineEditSelectionHelper` for it, which takes the press as its first move.
/// Escape hands over to the waiting tool. Paints the path and the outline besides; no guide
/// labels. A path of fewer than two vertices has no line to pick: the tool then shows and
/// does nothing.
class GeoEditSurfaceItemController::ReferenceLineSelectionHelper : public SelectionHelper {
public:
    explicit ReferenceLineSelectionHelper(SelectionHelper& other);
    ~ReferenceLineSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;

    /// The highlighted vertex, none before the first move.
    std::optional<std::size_t> highlighted() const { return m_index; }

private:
    /// Highlights the vertex nearest to `pixel`; none for a path without lines.
    void highlight(const QPoint& pixel, const mvc::core::View* view);

    std::optional<std::size_t> m_index;
    // What the painters show (all at the origin, drawing nothing, until a vertex is
    // highlighted): the vertex, its line's direction, the end of the line's arm and the
    // next vertex.
    tin::core::Point m_vertex{0.0, 0.0};
    tin::core::Point2D m_direction{0.0, 0.0};
    tin::core::Point m_handleEnd{0.0, 0.0};
    tin::core::Point m_next{0.0, 0.0};
};

} // namespace varnel
