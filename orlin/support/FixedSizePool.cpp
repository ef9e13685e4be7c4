#include "orlin/support/FixedSizePool.h"

#include "orlin/support/AlignedMapping.h"
#include "orlin/support/PageFaulter.h"

#include <new>

#include <malloc.h>
#include <sys/mman.h>

namespace tin::support {

namespace {

// Address space only, no memory: 2^32 references of 8 bytes. Systems that refuse such a
// reservation (an address-space limit) get a smaller stretch.
const std::size_t RESERVATIONS[] = {std::size_t(32) << 30, std::size_t(4) << 30, std::size_t(512) << 20};

static_assert(FixedSizePool::BLOCK % AlignedMapping::ALIGNMENT == 0, "blocks must keep the stretch's huge-page alignment");

// Blocks between two trims of the C heap (64 MiB).
const std::size_t TRIM_EVERY_BLOCKS = 32;

} // namespace

FixedSizePool& FixedSizePool::instance()
{
    // Leaked on purpose: points, edges and triangles held by static singletons are released after
    // any static pool would have been destroyed.
    static FixedSizePool* pool = new FixedSizePool();
    return *pool;
}

FixedSizePool::FixedSizePool() = default;

void FixedSizePool::commitBlock()
{
    if (!m_base) {
        for (std::size_t size : RESERVATIONS) {
            m_base = static_cast<char*>(AlignedMapping::map(size, false));
            if (m_base) {
                m_cursor = m_base;
                m_committedEnd = m_base;
                m_reservedEnd = m_base + size;
                break;
            }
        }
        if (!m_base)
            throw std::bad_alloc();
    }
    if (static_cast<std::size_t>(m_reservedEnd - m_committedEnd) < BLOCK)
        throw std::bad_alloc();
    if (mprotect(m_committedEnd, BLOCK, PROT_READ | PROT_WRITE) != 0)
        throw std::bad_alloc();
    AlignedMapping::adviseHugePages(m_committedEnd, BLOCK);
    poison(m_committedEnd, BLOCK);
    m_committedEnd += BLOCK;
    // Memory the C heap holds free (a triangulation just released, say) stays resident but
    // cannot serve the pool, so a growing pool would add to it instead of taking its place.
    // Every 64 MiB of growth the heap gives its free pages back to the system. Costs a walk
    // over the heap's free chunks, microseconds against the 32 block faults in between.
    if (blockCount() % TRIM_EVERY_BLOCKS == 0)
        malloc_trim(0);
}

void FixedSizePool::commitAheadOfCursor(std::size_t chunk)
{
    while (static_cast<std::size_t>(m_committedEnd - m_cursor) < chunk)
        commitBlock();
    try {
        while (static_cast<std::size_t>(m_committedEnd - m_cursor) < chunk + AHEAD) {
            char* const block = m_committedEnd;
            commitBlock();
            PageFaulter::faultInLater(block, BLOCK);
        }
    } catch (std::bad_alloc const&) {
        // The reservation or the system ends the lead, not this carving.
    }
}

char* FixedSizePool::commitAhead(std::size_t bytes) noexcept
{
    try {
        while (m_base == nullptr || static_cast<std::size_t>(m_committedEnd - m_cursor) < bytes) {
            commitBlock();
        }
    } catch (std::bad_alloc const&) {
        // The carving that needs the block will fail the same way, in its own turn.
    }
    if (m_base == nullptr) {
        return nullptr;
    }
    std::size_t const wanted = static_cast<std::size_t>(m_cursor - m_base) + bytes;
    std::size_t const committed = static_cast<std::size_t>(m_committedEnd - m_base);
    std::size_t const end = (wanted + BLOCK - 1) / BLOCK * BLOCK;
    return m_base + (end < committed ? end : committed);
}

void FixedSizePool::populate(void* from, std::size_t bytes) noexcept
{
#if defined(MADV_POPULATE_WRITE)
    madvise(from, bytes, MADV_POPULATE_WRITE);
#else
    (void)from, (void)bytes;
#endif
}

void FixedSizePool::releaseAll() noexcept
{
    const std::size_t committed = static_cast<std::size_t>(m_committedEnd - m_base);
    // The mapping stays. The system takes the pages when it needs memory (they come back
    // zeroed then); until then they are reused as they are, with no page fault and no zeroing.
#if defined(MADV_FREE)
    if (madvise(m_base, committed, MADV_FREE) != 0)
        madvise(m_base, committed, MADV_DONTNEED);
#else
    madvise(m_base, committed, MADV_DONTNEED);
#endif
    poison(m_base, committed);
    for (SizeClass& c : m_classes)
        c = SizeClass();
    m_cursor = m_base;
}

} // namespace tin::support
