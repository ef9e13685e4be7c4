#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

#include <cstddef>
#include <limits>

namespace varnel {

/// Adds vertices to a surface's path. A move makes the point under the mouse the candidate
/// and previews where it would go (`findInsertIndex`): a gray line from the vertex before
/// through the candidate to the vertex after (only one of them at the path's ends). A left
/// press, or Return at the cursor, inserts the candidate with the elevation a new vertex
/// takes (`newVertexElevation`), selects it, marks the pending edit and, without batch
/// apply, applies it; a candidate on a vertex's plan position is refused with the "Error"
/// box "Cannot add the same position more than once.". After a vertex is added the tool
/// stays when it came through the waiting tool, else a `WaitingSelectionHelper` takes
/// over. Escape hands over to the waiting tool; another key clears the preview.
class GeoEditSurfaceItemController::AddPointSelectionHelper : public SelectionHelper {
public:
    explicit AddPointSelectionHelper(SelectionHelper& other);
    ~AddPointSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                    mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;

    const std::vector<tin::core::Point>& preview() const { return m_preview; }

private:
    static constexpr std::size_t NO_INDEX = std::numeric_limits<std::size_t>::max();

    /// The candidate under `pixel` and its place in the path, with the preview.
    void aim(const QPoint& pixel, const mvc::core::View* view);
    guimisc::helper::SelectionHelper* add(const QPoint& pixel, mvc::core::View* view);

    tin::core::Point m_candidate{0.0, 0.0};
    std::size_t m_index = NO_INDEX;
    std::vector<tin::core::Point> m_preview;
};

} // namespace varnel
