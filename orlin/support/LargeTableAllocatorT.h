#pragma once

#include "orlin/support/AlignedMapping.h"

#include <cstddef>
#include <memory>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tin::support {

/// Standard allocator for the big open-addressing tables and record vectors of the TIN
/// structure (edge interning, triangle set, adjacency maps), which grow to hundreds of
/// megabytes for a survey of millions of triangles and are probed at random.
///
/// Blocks of at least LARGE_BLOCK bytes are mapped directly, aligned to and rounded up to
/// 2 MiB, and marked for transparent huge pages: one page fault per 2 MiB instead of 512,
/// and random probes that do not miss the TLB at every step. Where the system keeps huge
/// pages off, this is an ordinary anonymous mapping. Smaller blocks come from operator new.
/// The mapping is returned to the system on deallocation, so a table that shrinks or dies
/// gives its memory back. Stateless: all instances are equal. Throws std::bad_alloc when the
/// system refuses the mapping.
template <class T>
class LargeTableAllocatorT {
public:
    using value_type = T;

    static constexpr std::size_t LARGE_BLOCK = AlignedMapping::ALIGNMENT;

    LargeTableAllocatorT() noexcept = default;
    template <class U>
    LargeTableAllocatorT(LargeTableAllocatorT<U> const&) noexcept
    {
    }

    T* allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) {
            throw std::bad_alloc();
        }
        std::size_t const bytes = n * sizeof(T);
#if defined(__linux__)
        if (bytes >= LARGE_BLOCK) {
            void* block = AlignedMapping::map(roundedUp(bytes), true);
            if (block == nullptr) {
                throw std::bad_alloc();
            }
            return static_cast<T*>(block);
        }
#endif
        return std::allocator<T>().allocate(n);
    }

    void deallocate(T* p, std::size_t n) noexcept
    {
#if defined(__linux__)
        std::size_t const bytes = n * sizeof(T);
        if (bytes >= LARGE_BLOCK) {
            munmap(p, roundedUp(bytes));
            return;
        }
#endif
        std::allocator<T>().deallocate(p, n);
    }

    template <class U>
    bool operator==(LargeTableAllocatorT<U> const&) const noexcept
    {
        return true;
    }
    template <class U>
    bool operator!=(LargeTableAllocatorT<U> const&) const noexcept
    {
        return false;
    }

private:
    static std::size_t roundedUp(std::size_t bytes) { return (bytes + LARGE_BLOCK - 1) & ~(LARGE_BLOCK - 1); }

};

} // namespace tin::support
