#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

namespace varnel {

/// A copy of a surface's pending path and reference lines taken before a dialog edits them
/// live: when the snapshot goes with its restore flag set (the dialog was cancelled), both
/// are put back into the controller's active tool, whichever it is by then, and the outline
/// follows. The controller must outlive the snapshot.
class GeoEditSurfaceItemController::SelectionHelper::Snapshot {
public:
    Snapshot(GeoEditSurfaceItemController* controller, std::vector<tin::core::Point> path,
             ReferenceLines lines);
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    ~Snapshot();

    void setRestore(bool restore) { m_restore = restore; }
    bool restore() const { return m_restore; }

private:
    GeoEditSurfaceItemController* m_controller;
    std::vector<tin::core::Point> m_path;
    ReferenceLines m_lines;
    bool m_restore = false;
};

} // namespace varnel
