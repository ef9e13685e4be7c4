#pragma once

#include "orlin/support/AlignedMapping.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace tin::support {

/// Process-wide source of fixed-size pages for copy-on-write arrays (`SharedChunkArrayT`),
/// each page with an atomic count of the arrays that hold it.
///
/// Pages are carved out of slabs of SLAB_BYTES mapped on a SLAB_BYTES boundary and marked for
/// transparent huge pages (`AlignedMapping`). So an array made of thousands of small pages
/// keeps what whole huge pages give a big table (one page fault per 2 MiB, random probes that
/// do not miss the TLB at every step), while copies of it can share and clone it page by
/// page. A slab starts with its header: the holder counts of its pages and its list of free
/// pages (threaded through the free pages themselves). A page finds its count from its own
/// address, with no look-up.
///
/// There is one pool per page size, and it is never destroyed. When a slab's last page is
/// freed, the pool keeps one empty slab for the next request and up to SPARE_SLABS more as
/// spares: a table that dies and is built again (an edit after an edit of a copy) then takes
/// slabs whose memory is already there instead of having fresh ones zeroed by the system.
/// Slabs emptied beyond those are given to the system to take back lazily (MADV_FREE): it
/// takes their pages when it runs short of memory, and until then the next large build (a
/// project opened after a closed one) reuses them before anything is mapped. A pool that
/// maps slabs keeps AHEAD_SLABS more mapped ahead, faulted in on PageFaulter's thread, so
/// that a large build finds their pages present. Allocation prefers slabs that already have
/// pages in use, the most recently freed first.
///
/// Thread-safe: allocating and freeing lock the pool; counting holders needs no lock.
/// Cost: a few tens of nanoseconds per page, plus one mapping per SLAB_BYTES.
class SharedPagePool {
public:
    static constexpr std::size_t SLAB_BYTES = AlignedMapping::ALIGNMENT;
    static constexpr std::size_t MIN_PAGE_BYTES = 64;
    static constexpr std::size_t MAX_PAGE_BYTES = SLAB_BYTES / 8;
    /// Empty slabs a pool keeps mapped beyond the one it keeps for the next request (64 MiB).
    static constexpr std::size_t SPARE_SLABS = 32;
    /// Slabs mapped and faulted in ahead of need while a pool grows.
    static constexpr std::size_t AHEAD_SLABS = 4;

    /// The pool of pages of `pageBytes` bytes, a power of two in [MIN_PAGE_BYTES,
    /// MAX_PAGE_BYTES]; throws std::invalid_argument for any other size.
    static SharedPagePool& of(std::size_t pageBytes);

    SharedPagePool(SharedPagePool const&) = delete;
    SharedPagePool& operator=(SharedPagePool const&) = delete;

    std::size_t pageBytes() const { return std::size_t(1) << m_pageShift; }

    /// `count` pages, each with one holder, contents undefined. Throws std::bad_alloc when
    /// the system refuses a slab; the pages taken by the call so far are then freed again.
    void allocate(void** pages, std::size_t count);
    void* allocate();

    /// Returns pages that nobody holds any more (after `release` said so).
    void free(void* const* pages, std::size_t count) noexcept;
    void free(void* page) noexcept { free(&page, 1); }

    /// One holder more of a page of any pool.
    static void retain(void* page) noexcept { countOf(page).fetch_add(1, std::memory_order_relaxed); }

    /// One holder less; true when that was the last one: the caller then destroys what the
    /// page holds and frees it.
    static bool release(void* page) noexcept
    {
        return countOf(page).fetch_sub(1, std::memory_order_acq_rel) == 1;
    }

    /// Holders of a page now.
    static std::uint32_t holders(void const* page) noexcept
    {
        return countOf(page).load(std::memory_order_acquire);
    }

    /// Slabs in use or kept as spares (not those given back lazily or mapped ahead), slabs
    /// given back lazily and not taken again, and pages handed out now (for tests and
    /// measurements).
    std::size_t slabCount() const;
    std::size_t lazySlabCount() const;
    std::size_t pageCount() const;

private:
    struct Slab;

    explicit SharedPagePool(unsigned pageShift);

    // A slab's header begins with its page shift; the holder counts of all its pages, header
    // pages included, follow at COUNTS_OFFSET.
    static constexpr std::size_t COUNTS_OFFSET = 64;

    static Slab* slabOf(void const* page) noexcept
    {
        return reinterpret_cast<Slab*>(reinterpret_cast<std::uintptr_t>(page) & ~std::uintptr_t(SLAB_BYTES - 1));
    }

    static std::atomic<std::uint32_t>& countOf(void const* page) noexcept
    {
        auto const address = reinterpret_cast<std::uintptr_t>(page);
        auto const base = address & ~std::uintptr_t(SLAB_BYTES - 1);
        auto const shift = *reinterpret_cast<std::uint32_t const*>(base);
        return reinterpret_cast<std::atomic<std::uint32_t>*>(base + COUNTS_OFFSET)[(address - base) >> shift];
    }

    Slab* newSlab();
    // Maps slabs until AHEAD_SLABS are waiting, each handed to PageFaulter.
    void mapAhead() noexcept;
    void reset(Slab* slab) noexcept;
    void* take(Slab* slab) noexcept;
    void putBack(void* page) noexcept;
    void link(Slab* slab) noexcept;
    void unlink(Slab* slab) noexcept;

    unsigned const m_pageShift;
    mutable std::mutex m_lock;
    Slab* m_withRoom = nullptr; // slabs with a free page, most recently freed into first
    Slab* m_empty = nullptr;    // the one empty slab kept (also in m_withRoom)
    Slab* m_spare = nullptr;    // further empty slabs kept mapped, linked through next
    std::size_t m_spares = 0;
    std::vector<void*> m_lazy;   // emptied slabs given back lazily, reused first
    void* m_ahead[AHEAD_SLABS] = {}; // mapped and being faulted in, oldest first
    std::size_t m_aheadCount = 0;
    std::size_t m_slabs = 0;
    std::size_t m_pages = 0;
};

} // namespace tin::support
