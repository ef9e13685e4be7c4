#pragma once

namespace tin::core {

/// Kind of GEOS index behind a spatial index container. Owners store it as a 32-bit int.
/// `Quadtree` suits containers that keep changing; `STRtree` is a packed tree that is
/// rebuilt when items arrive after it has been queried.
enum ContainerType : int {
    Quadtree = 0,
    STRtree = 1
};

} // namespace tin::core
