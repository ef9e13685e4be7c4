#pragma once

#include "orlin/core/Tin.h"

#include <vector>

namespace varnel {

/// Whether the GeoEdit surfaces of a project read from its archive fit each other and the
/// two TINs, so that taking every surface back gives the base TIN again. Taken back one by
/// one from the front (the newest first), each surface's added triangles must be in the
/// edited TIN as it is at that moment and its removed triangles must not, and once all are
/// taken back the triangles they touched must be the base TIN's and the count of triangles
/// the base TIN's count. A surface archive altered behind the program's back (removed
/// triangles dropped, moved or doubled) fails here, where the project opens, instead of
/// when the user takes the surface back.
///
/// Triangles are compared by their three vertex objects (the point factory interns
/// vertices, so a TIN read from a file shares them with the others wherever positions and
/// elevations agree). Input contract: the added TINs hold the live triangles (rebound, see
/// `AddedTriangleRebinder`). Nothing is changed.
///
/// Cost: linear in the surfaces' triangles, each looked up in a TIN through the triangles
/// around one of its vertices; the rest of the TINs is not walked.
class SurfaceStackCheck {
public:
    SurfaceStackCheck() = delete;

    /// One surface: the triangles it put into the edited TIN and those it took out.
    struct Surface {
        const tin::core::Tin* added;
        const tin::core::Tin* removed;
    };

    /// The place (from the front) of the first surface that does not fit, or -1 when they
    /// all do. `surfaces` from the front; a null TIN counts as empty.
    static int firstMisfit(const tin::core::Tin& edited, const tin::core::Tin& base,
                           const std::vector<Surface>& surfaces);
};

} // namespace varnel
