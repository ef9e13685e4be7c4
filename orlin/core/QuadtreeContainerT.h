#pragma once

#include "orlin/core/SpatialIndexContainerT.h"

#include <geos/index/quadtree/Quadtree.h>

#include <memory>

namespace tin::core {

/// Spatial index container over a GEOS quadtree: takes insertions and removals at any time,
/// so it suits containers that change between queries (point sets, TINs under editing).
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
