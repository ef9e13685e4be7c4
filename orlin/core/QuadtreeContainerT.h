#pragma once

#include "orlin/core/LooseGridIndex.h"
#include "orlin/core/SpatialIndexContainerT.h"

#include <memory>

namespace tin::core {

/// Spatial index container for the `Quadtree` kind: takes insertions and removals at any
/// time, so it suits containers that change between queries (point sets, TINs under editing).
///
/// The kind keeps its name, but it is backed by our own `LooseGridIndex`, not by a GEOS
/// quadtree: the GEOS quadtree keeps an item in the smallest node whose cell holds it whole,
/// so tolerance-sized point boxes drive it some forty levels deep (seconds per million
/// points to build), and triangles crossing the centre lines of large cells stay high in the
/// tree where every query meets them (thousands of candidates per small query on a TIN of
/// a million triangles). The grid files every item in one cell of the level fitting its
/// size, so a small query tests a handful of candidates whatever the size of the set.
/// Query candidates come in no particular order. A clone shares the grid (see `clone`).
template <class T>
class QuadtreeContainerT : public SpatialIndexContainerT<T> {
public:
    std::unique_ptr<SpatialIndexContainerT<T>> clone() const override
    {
        auto copy = std::make_unique<QuadtreeContainerT<T>>();
        copy->copyItemsFrom(*this);
        return copy;
    }

    std::unique_ptr<geos::index::SpatialIndex> createIndex() const override
    {
        return std::make_unique<LooseGridIndex>();
    }

protected:
    // The grid's tables are shared chunk by chunk, so a clone's index costs little and
    // the clone's first query needs no rebuild.
    std::unique_ptr<geos::index::SpatialIndex> cloneIndex(geos::index::SpatialIndex const& index) const override
    {
        return std::make_unique<LooseGridIndex>(static_cast<LooseGridIndex const&>(index));
    }
};

} // namespace tin::core
