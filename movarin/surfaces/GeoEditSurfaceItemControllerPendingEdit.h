#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemController.h"

#include <mold/core/Mold.h>

#include <QString>

namespace varnel {

/// The part of a surface's pending edit that the controller keeps itself (path and
/// reference lines live in the active tool): the closed flag, the mold's name and a copy of
/// the mold, and whether any of it holds changes not yet applied.
struct GeoEditSurfaceItemController::PendingEdit {
    bool closed = false;
    QString moldName;
    mold::core::Mold mold;
    bool edited = false;

    /// The surface's own closed flag, mold name and mold; not edited.
    void takeFrom(const GeoEditSurfaceItem& surface)
    {
        closed = surface.closed();
        moldName = surface.moldName();
        mold = surface.mold();
        edited = false;
    }
};

} // namespace varnel
