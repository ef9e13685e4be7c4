#pragma once

#include <unordered_set>
#include <vector>

namespace varnel {

/// One row of a cross-section profile: whether it takes part (`enabled`), the signed
/// horizontal distance `L` from the section's start and the elevation `H`, in metres.
/// Profiles are vectors of rows sorted by L.
struct CrossSectionLhTableRow {
    bool enabled = true;
    double L = 0.0;
    double H = 0.0;
};

/// Row indices of a profile, as the cross-section window's table and its plot hand their
/// selections to each other (unordered).
using CrossSectionLhRowIndices = std::unordered_set<std::vector<CrossSectionLhTableRow>::size_type>;

} // namespace varnel
