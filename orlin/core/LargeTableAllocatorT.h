#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tin::core {

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

    static constexpr std::size_t LARGE_BLOCK = std::size_t(2) << 20;

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
            return static_cast<T*>(mapAligned(roundedUp(bytes)));
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

#if defined(__linux__)
    // Huge pages need 2 MiB alignment, which mmap does not promise: map one page more and
    // cut off the slack on both sides.
    static void* mapAligned(std::size_t length)
    {
        std::size_t const mapped = length + LARGE_BLOCK;
        void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw == MAP_FAILED) {
            throw std::bad_alloc();
        }
        auto const start = reinterpret_cast<std::uintptr_t>(raw);
        std::uintptr_t const aligned = (start + LARGE_BLOCK - 1) & ~static_cast<std::uintptr_t>(LARGE_BLOCK - 1);
        std::size_t const head = aligned - start;
        if (head != 0) {
            munmap(raw, head);
        }
        std::size_t const tail = mapped - head - length;
        if (tail != 0) {
            munmap(reinterpret_cast<void*>(aligned + length), tail);
        }
        void* block = reinterpret_cast<void*>(aligned);
#if defined(MADV_HUGEPAGE)
        madvise(block, length, MADV_HUGEPAGE); // only advice: failure leaves normal pages
#endif
        return block;
    }
#endif
};

} // namespace tin::core
