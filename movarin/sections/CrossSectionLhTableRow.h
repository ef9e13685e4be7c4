#pragma once

namespace varnel {

/// One row of a cross-section profile: whether it takes part (`enabled`), the signed
/// horizontal distance `L` from the section's start and the elevation `H`, in metres.
/// Profiles are vectors of rows sorted by L.
struct CrossSectionLhTableRow {
    bool enabled = true;
    double L = 0.0;
    double H = 0.0;
};

} // namespace varnel
