#pragma once

#include "orlin/core/SpatialIndexContainerT.h"

#include <geos/index/quadtree/Quadtree.h>

#include <memory>

namespace tin::core {

/// Spatial index container over a GEOS quadtree: takes insertions and removals at any time,
/// so it suits containers that change between queries (point sets, TINs under editing).
///
/// Cost: the quadtree keeps an item in the smallest node whose cell holds it whole, so items
/// that cross the centre lines of large cells stay high in the tree and every query meets
/// them. On a TIN of n evenly sized triangles a small query therefore tests O(sqrt(n))
/// candidates: about 7,500 at one million triangles and 10,000 at two million.
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
        return std::make_unique<geos::index::quadtree::Quadtree>();
    }
};

} // namespace tin::core
