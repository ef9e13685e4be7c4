#pragma once

#include "orlin/support/FixedSizePool.h"

#include <cstddef>
#include <memory>
#include <new>

namespace tin::support {

/// Standard allocator over FixedSizePool, meant for std::allocate_shared of the small objects
/// a TIN holds by the million (Point, Edge, Triangle): the object and its control block share one
/// chunk of the pool's huge-page blocks, with no heap header. Single objects small enough
/// for the pool are served there; anything else (arrays, large or over-aligned types) comes
/// from operator new. Stateless: all instances are equal. Not thread-safe, like the pool.
template <class T>
class FixedSizePoolAllocatorT {
public:
    using value_type = T;

    FixedSizePoolAllocatorT() noexcept = default;
    template <class U>
    FixedSizePoolAllocatorT(FixedSizePoolAllocatorT<U> const&) noexcept
    {
    }

    T* allocate(std::size_t n)
    {
        if (n == 1 && FixedSizePool::serves(sizeof(T), alignof(T))) {
            return static_cast<T*>(FixedSizePool::instance().allocate(sizeof(T)));
        }
        return std::allocator<T>().allocate(n);
    }

    void deallocate(T* p, std::size_t n) noexcept
    {
        if (n == 1 && FixedSizePool::serves(sizeof(T), alignof(T))) {
            FixedSizePool::instance().deallocate(p, sizeof(T));
            return;
        }
        std::allocator<T>().deallocate(p, n);
    }

    template <class U>
    bool operator==(FixedSizePoolAllocatorT<U> const&) const noexcept
    {
        return true;
    }
    template <class U>
    bool operator!=(FixedSizePoolAllocatorT<U> const&) const noexcept
    {
        return false;
    }
};

} // namespace tin::support
