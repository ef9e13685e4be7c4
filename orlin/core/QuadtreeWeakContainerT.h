#pragma once

#include "orlin/core/SpatialIndexWeakContainerT.h"

namespace tin {
namespace core {

/**
 * The weak container of PointFactory. Its index is a cell hash (support::CellHashIndex),
 * which holds a few million points in a fraction of the memory a tree would take;
 * the behaviour is that of SpatialIndexWeakContainerT.
 */
template <typename T>
class QuadtreeWeakContainerT : public SpatialIndexWeakContainerT<T> {
public:
    QuadtreeWeakContainerT() = default;
    QuadtreeWeakContainerT(const QuadtreeWeakContainerT& other) = default;

    std::unique_ptr<SpatialIndexWeakContainerT<T>> clone() const override
    {
        return std::unique_ptr<SpatialIndexWeakContainerT<T>>(new QuadtreeWeakContainerT<T>(*this));
    }

    std::unique_ptr<support::CellHashIndex> createIndex() const override
    {
        return std::unique_ptr<support::CellHashIndex>(new support::CellHashIndex());
    }
};

} // namespace core
} // namespace tin
