#pragma once

#include "orlin/core/Triangle.h"

namespace tin::io {

/// One STL facet of a triangle, turned so that its normal points upwards.
///
/// With c = (P2 - P1) x (P3 - P1) over (x, y, elevation) and n = c / |c|: when n has a
/// negative z the facet runs P1, P3, P2 with normal -n, otherwise P1, P2, P3 with n. Seen
/// from above the vertices then run counter-clockwise (for a non-vertical triangle). A
/// degenerate triangle (|c| = 0) keeps its order and gets the normal (0, 0, 0) instead of
/// components that are no numbers. The triangle itself is not changed.
class StlFacet {
public:
    explicit StlFacet(const tin::core::Triangle& triangle);

    double normal[3];
    double vertex[3][3];
};

} // namespace tin::io
