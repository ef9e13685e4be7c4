#pragma once

#include "orlin/support/HugePageArena.h"

#include <cstddef>

namespace tin::support {

// A standard allocator over HugePageArena, for the triangulation's containers and the run's large
// arrays. Stateless: any two instances are interchangeable. Alignment up to 16 bytes (operator
// new's) below HugePageArena::SMALL_REQUEST, 64 bytes above.
template <typename T>
class HugePageAllocatorT
{
public:
    using value_type = T;

    template <typename U>
    struct rebind
    {
        using other = HugePageAllocatorT<U>;
    };

    HugePageAllocatorT() noexcept = default;
    template <typename U>
    HugePageAllocatorT(HugePageAllocatorT<U> const&) noexcept
    {
    }

    T* allocate(std::size_t n) { return static_cast<T*>(HugePageArena::allocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { HugePageArena::deallocate(p, n * sizeof(T)); }

    template <typename U>
    bool operator==(HugePageAllocatorT<U> const&) const noexcept
    {
        return true;
    }
    template <typename U>
    bool operator!=(HugePageAllocatorT<U> const&) const noexcept
    {
        return false;
    }
};

} // namespace tin::support

