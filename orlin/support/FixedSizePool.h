#pragma once

#include "orlin/support/Prefetch.h"

#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define MOVARIN_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOVARIN_POOL_ASAN 1
#endif
#endif
#ifndef MOVARIN_POOL_ASAN
#define MOVARIN_POOL_ASAN 0
#endif
#if MOVARIN_POOL_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace tin::support {

/// Process-wide pool of small fixed-size chunks for the objects a TIN is made of by the
/// million (points, edges and triangles together with their shared_ptr control blocks).
///
/// All chunks lie in one reserved stretch of address space that is committed 2 MiB at a
/// time, each block 2 MiB aligned and marked for transparent huge pages: building a large
/// TIN takes one page fault per 2 MiB instead of one per 4 KiB, which on a virtual machine
/// dominates the cost of a fresh allocation. Requests are rounded up to GRANULE bytes, with
/// no header, so an 80-byte object costs 80 bytes (the C heap would take 96). Every size
/// class keeps its own free chunks and reuses them LIFO. After a large structure dies its
/// chunks lie scattered over the stretch, and a plain free list would make each allocation
/// wait for a cache miss on the chunk it pops (its link to the next one): the chunks of a
/// class are therefore dealt round-robin onto STRIPES lists, still popped in exact LIFO order,
/// and each pop starts loading the new head of its list, which is popped STRIPES allocations
/// later. Tens of thousands of allocations in a row (a TIN being built) then overlap their
/// misses instead of adding them up.
///
/// Because the stretch is contiguous, a chunk address has a 32-bit reference (its offset in
/// GRANULE units): tables keyed by such objects store 4 bytes instead of 8 and keep the rest
/// of their entry for hash bits.
///
/// The pool cannot use memory the C heap holds free, nor the heap the pool's: every 64 MiB
/// of growth the heap is asked to return its free pages (malloc_trim), so that peak resident
/// size does not count both. When the last chunk is released and more than
/// RELEASE_THRESHOLD bytes were carved, carving starts again from the start and the pages are
/// given to the system to take back lazily (MADV_FREE): it takes them when it runs short of
/// memory, and until then the next carving finds them present instead of having the system
/// zero them again (the next project of a closed one's size is built in the memory the
/// closed one used). Below that threshold the pages simply stay, so that making and dropping
/// a few objects in a loop costs no system calls.
///
/// AHEAD bytes past the carving cursor are kept committed and handed to PageFaulter, whose
/// thread faults them in while this thread carves the memory before them: a large TIN built
/// on this thread finds most of its pages present instead of waiting for each fresh page's
/// zeroing itself. A point's chunk also holds its control block,
/// so it is released only when the point factory lets go of its weak reference too (at its
/// next compaction); until then the pages stay, and are reused by the next objects.
///
/// The pool is never destroyed, so objects released during static destruction still find
/// it. Not thread-safe: orlin is single-threaded by contract, and the last reference to a
/// pooled object must be dropped on the thread that uses the library. allocate throws
/// std::bad_alloc when the reserved stretch is full or the system refuses to commit memory.
/// Under AddressSanitizer free and not yet carved chunks are poisoned.
class FixedSizePool {
public:
    static constexpr std::size_t BLOCK = std::size_t(2) << 20;
    static constexpr std::size_t GRANULE = 8;
    static constexpr unsigned GRANULE_SHIFT = 3;
    static constexpr std::size_t MAX_CHUNK = 256;
    static constexpr std::size_t RELEASE_THRESHOLD = std::size_t(64) << 20;
    /// Bytes kept committed past the carving cursor and faulted in ahead on another thread.
    static constexpr std::size_t AHEAD = 8 * BLOCK;

    /// The one pool of the process; created on first use, never destroyed.
    static FixedSizePool& instance();

    /// True when a request of the given size and alignment is served by the pool.
    static constexpr bool serves(std::size_t bytes, std::size_t alignment) noexcept
    {
        return bytes != 0 && bytes <= MAX_CHUNK && alignment <= GRANULE;
    }

    /// A chunk of at least bytes bytes, GRANULE aligned; requires serves(bytes, alignment).
    void* allocate(std::size_t bytes)
    {
        SizeClass& c = m_classes[classOf(bytes)];
        if (c.count == 0)
            return carve(roundedUp(bytes));
        FreeChunk*& head = c.free[--c.count % STRIPES];
        FreeChunk* const chunk = head;
        unpoison(chunk, roundedUp(bytes));
        head = chunk->next;
        if (head)
            prefetchLine(head);
        ++m_live;
        return chunk;
    }

    /// Returns a chunk obtained from allocate with the same bytes.
    void deallocate(void* p, std::size_t bytes) noexcept
    {
        SizeClass& c = m_classes[classOf(bytes)];
        auto* chunk = static_cast<FreeChunk*>(p);
        FreeChunk*& head = c.free[c.count++ % STRIPES];
        chunk->next = head;
        head = chunk;
        poison(chunk, roundedUp(bytes));
        if (--m_live == 0 && static_cast<std::size_t>(m_cursor - m_base) > RELEASE_THRESHOLD)
            releaseAll();
    }

    /// True when p lies in the pool's stretch (it need not be a chunk's start).
    bool owns(const void* p) const noexcept
    {
        const char* c = static_cast<const char*>(p);
        return m_base && c >= m_base && c < m_reservedEnd;
    }

    /// The 32-bit reference of a GRANULE-aligned address inside the pool (see owns);
    /// never 0 for an address past the first granule.
    std::uint32_t referenceOf(const void* p) const noexcept
    {
        return static_cast<std::uint32_t>(static_cast<std::size_t>(static_cast<const char*>(p) - m_base)
                                          >> GRANULE_SHIFT);
    }

    /// The address of a reference made by referenceOf.
    void* addressOf(std::uint32_t reference) const noexcept
    {
        return m_base + (static_cast<std::size_t>(reference) << GRANULE_SHIFT);
    }

    /// Commits the blocks that the next `bytes` of carving will take, unless the reservation
    /// ends first, and returns the end of the block those bytes end in (never past the
    /// committed stretch). No page is touched: a caller about to carve that much may have
    /// another thread fault the pages in meanwhile (see populate), so that the carving thread
    /// finds them present instead of paying each first touch itself.
    char* commitAhead(std::size_t bytes) noexcept;

    /// The start of the block the carving cursor lies in (null before the first carving).
    char* cursorBlock() const noexcept
    {
        return m_base == nullptr ? nullptr
                                 : m_base + static_cast<std::size_t>(m_cursor - m_base) / BLOCK * BLOCK;
    }

    /// Faults in the pages of [from, from + bytes), a committed stretch of the pool, writable
    /// and with their contents unchanged (MADV_POPULATE_WRITE; nothing where the system lacks
    /// it or refuses). Safe on any thread, also while the pool's thread carves and writes
    /// there: it only does what that thread's first touches would do.
    static void populate(void* from, std::size_t bytes) noexcept;

    /// Chunks handed out and not yet released.
    std::size_t liveChunks() const noexcept { return m_live; }
    /// Bytes carved from the stretch since the start or the last release of all pages.
    std::size_t carvedBytes() const noexcept { return static_cast<std::size_t>(m_cursor - m_base); }
    /// Number of 2 MiB blocks committed so far (for tests and diagnostics).
    std::size_t blockCount() const noexcept { return static_cast<std::size_t>(m_committedEnd - m_base) / BLOCK; }

    FixedSizePool(FixedSizePool const&) = delete;
    FixedSizePool& operator=(FixedSizePool const&) = delete;

private:
    struct FreeChunk {
        FreeChunk* next;
    };
    // Free chunk k of a class (0 the oldest) is on list k % STRIPES; the last one freed is the
    // head of list (count - 1) % STRIPES.
    static constexpr std::size_t STRIPES = 8;
    struct SizeClass {
        FreeChunk* free[STRIPES] = {};
        std::size_t count = 0;
    };

    FixedSizePool();
    ~FixedSizePool() = default;

    static constexpr std::size_t roundedUp(std::size_t bytes) noexcept
    {
        return (bytes + GRANULE - 1) & ~(GRANULE - 1);
    }
    static constexpr std::size_t classOf(std::size_t bytes) noexcept { return (bytes - 1) >> GRANULE_SHIFT; }

    void* carve(std::size_t chunk)
    {
        if (static_cast<std::size_t>(m_committedEnd - m_cursor) < chunk + AHEAD)
            commitAheadOfCursor(chunk);
        void* p = m_cursor;
        m_cursor += chunk;
        unpoison(p, chunk);
        ++m_live;
        return p;
    }

    // Commits the next 2 MiB of the stretch, reserving the stretch on first use.
    void commitBlock();
    // Commits blocks until `chunk` bytes and AHEAD more lie committed past the cursor (or the
    // reservation ends); the blocks not needed by this carving are queued to be faulted in
    // on another thread (PageFaulter) meanwhile. Throws std::bad_alloc only when the chunk
    // itself finds no room.
    void commitAheadOfCursor(std::size_t chunk);
    // Gives every page to the system to take back when it needs memory (see above), forgets
    // the free lists and carves from the start again; no chunk is live.
    void releaseAll() noexcept;

    static void poison(void* p, std::size_t bytes) noexcept
    {
#if MOVARIN_POOL_ASAN
        __asan_poison_memory_region(p, bytes);
#else
        (void)p, (void)bytes;
#endif
    }
    static void unpoison(void* p, std::size_t bytes) noexcept
    {
#if MOVARIN_POOL_ASAN
        __asan_unpoison_memory_region(p, bytes);
#else
        (void)p, (void)bytes;
#endif
    }

    SizeClass m_classes[MAX_CHUNK / GRANULE];
    char* m_base = nullptr;
    char* m_cursor = nullptr;
    char* m_committedEnd = nullptr;
    char* m_reservedEnd = nullptr;
    std::size_t m_live = 0;
};

} // namespace tin::support
