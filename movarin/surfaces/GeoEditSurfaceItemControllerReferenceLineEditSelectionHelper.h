#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"

#include <cstddef>

namespace varnel {

/// Sets the reference line of one vertex by dragging: while the button is held the line runs
/// from the vertex through the point under the mouse, shown across the view in magenta 2
/// pixels wide with a grid turned to it (25 pixels a square), beneath the path, the outline
/// and the guide labels. The release sets the line (`setReferenceLine`; the pending edit is
/// not marked) and hands over to the waiting tool; a release on the vertex itself gives no
/// direction and leaves the line as it was. Escape leaves the line as it was and goes back
/// to the `ReferenceLineSelectionHelper`. Made from that tool on a press.
class GeoEditSurfaceItemController::ReferenceLineEditSelectionHelper : public SelectionHelper {
public:
    /// For vertex `index`, which must have a reference line (std::out_of_range otherwise).
    ReferenceLineEditSelectionHelper(SelectionHelper& other, std::size_t index);
    ~ReferenceLineEditSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        mvc::core::View* view) override;

    std::size_t index() const { return m_index; }
    const tin::core::Point2D& direction() const { return m_direction; }

private:
    std::size_t m_index;
    tin::core::Point m_vertex;
    tin::core::Point2D m_direction;
};

} // namespace varnel
