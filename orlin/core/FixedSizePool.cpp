#include "orlin/core/FixedSizePool.h"

#include <cstdint>
#include <new>

#include <malloc.h>
#include <sys/mman.h>

namespace tin::core {

namespace {

// Address space only, no memory: 2^32 references of 8 bytes. Systems that refuse such a
// reservation (an address-space limit) get a smaller stretch.
const std::size_t RESERVATIONS[] = {std::size_t(32) << 30, std::size_t(4) << 30, std::size_t(512) << 20};

// Blocks between two trims of the C heap (64 MiB).
const std::size_t TRIM_EVERY_BLOCKS = 32;

} // namespace

FixedSizePool& FixedSizePool::instance()
{
    // Leaked on purpose: edges and triangles held by static singletons are released after
    // any static pool would have been destroyed.
    static FixedSizePool* pool = new FixedSizePool();
    return *pool;
}

FixedSizePool::FixedSizePool() = default;

void FixedSizePool::commitBlock()
{
    if (!m_base) {
        int flags = MAP_PRIVATE | MAP_ANONYMOUS;
#if defined(MAP_NORESERVE)
        flags |= MAP_NORESERVE;
#endif
        for (std::size_t size : RESERVATIONS) {
            // Huge pages need 2 MiB alignment, which mmap does not promise: map one block
            // more and cut off the slack on both sides.
            const std::size_t mapped = size + BLOCK;
            void* raw = mmap(nullptr, mapped, PROT_NONE, flags, -1, 0);
            if (raw == MAP_FAILED)
                continue;
            const auto start = reinterpret_cast<std::uintptr_t>(raw);
            const std::uintptr_t aligned = (start + BLOCK - 1) & ~static_cast<std::uintptr_t>(BLOCK - 1);
            const std::size_t head = aligned - start;
            if (head != 0)
                munmap(raw, head);
            const std::size_t tail = mapped - head - size;
            if (tail != 0)
                munmap(reinterpret_cast<void*>(aligned + size), tail);
            m_base = reinterpret_cast<char*>(aligned);
            m_cursor = m_base;
            m_committedEnd = m_base;
            m_reservedEnd = m_base + size;
            break;
        }
        if (!m_base)
            throw std::bad_alloc();
    }
    if (static_cast<std::size_t>(m_reservedEnd - m_committedEnd) < BLOCK)
        throw std::bad_alloc();
    if (mprotect(m_committedEnd, BLOCK, PROT_READ | PROT_WRITE) != 0)
        throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
    madvise(m_committedEnd, BLOCK, MADV_HUGEPAGE); // only advice: failure leaves normal pages
#endif
    poison(m_committedEnd, BLOCK);
    m_committedEnd += BLOCK;
    // Memory the C heap holds free (a triangulation just released, say) stays resident but
    // cannot serve the pool, so a growing pool would add to it instead of taking its place.
    // Every 64 MiB of growth the heap gives its free pages back to the system. Costs a walk
    // over the heap's free chunks, microseconds against the 32 block faults in between.
    if (blockCount() % TRIM_EVERY_BLOCKS == 0)
        malloc_trim(0);
}

void FixedSizePool::releaseAll() noexcept
{
    const std::size_t committed = static_cast<std::size_t>(m_committedEnd - m_base);
    // The mapping stays; its pages come back zeroed on the next touch.
    madvise(m_base, committed, MADV_DONTNEED);
    poison(m_base, committed);
    for (SizeClass& c : m_classes)
        c.free = nullptr;
    m_cursor = m_base;
}

} // namespace tin::core
