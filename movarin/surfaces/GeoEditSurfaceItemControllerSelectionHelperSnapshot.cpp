#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelperSnapshot.h"

#include <utility>

namespace varnel {

using Self = GeoEditSurfaceItemController::SelectionHelper::Snapshot;

Self::Snapshot(GeoEditSurfaceItemController* controller, std::vector<tin::core::Point> path,
               ReferenceLines lines)
    : m_controller(controller), m_path(std::move(path)), m_lines(std::move(lines))
{
}

Self::~Snapshot()
{
    if (m_restore && m_controller) {
        m_controller->activeHelper()->restorePending(m_path, m_lines);
    }
}

} // namespace varnel
