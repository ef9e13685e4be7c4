#pragma once

namespace tin::core {

/// Kind of index behind a spatial index container. Owners store it as a 32-bit int.
/// `Quadtree` (our own loose grid, see `QuadtreeContainerT`) suits containers that keep
/// changing; `STRtree` is a packed GEOS tree that is rebuilt when items arrive after it has
/// been queried.
enum ContainerType : int {
    Quadtree = 0,
    STRtree = 1
};

} // namespace tin::core
