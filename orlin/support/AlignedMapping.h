#pragma once

#include <cstddef>

namespace tin::support {

/**
 * Anonymous private mappings that start on a 2 MiB boundary (or a larger power of two), the
 * alignment a transparent huge page needs and mmap does not promise, and the one place that
 * asks the system for huge pages. Shared by the large-table allocator, which maps whole
 * tables, the fixed-size pool, which reserves one stretch of address space and opens it block
 * by block, the table page pool, the huge-page arena of the triangulation runs, and the
 * buffers of the C heap that the conversion and the triangulation fill for the first time.
 *
 * Cost: three system calls (one mapping of one block more, and cutting off the slack on both
 * sides); no page is touched.
 */
class AlignedMapping {
public:
    static constexpr std::size_t ALIGNMENT = std::size_t(2) << 20;

    /// Maps `length` bytes (a multiple of ALIGNMENT) at an ALIGNMENT boundary. Accessible:
    /// readable, writable and marked for huge pages (only advice: where the system keeps them
    /// off, these are ordinary pages). Otherwise address space only (no access, no swap
    /// reserved), to be opened later with mprotect. Null when the system refuses.
    /// `alignment` is ALIGNMENT or a larger power of two (a multiple of it).
    static void* map(std::size_t length, bool accessible, std::size_t alignment = ALIGNMENT) noexcept;

    /// Asks for huge pages under the whole ALIGNMENT-sized pages inside [memory, memory +
    /// bytes), before their first touch: one page fault per 2 MiB instead of one per 4 KiB.
    /// Only advice: where the system declines, or without huge-page support, nothing changes.
    static void adviseHugePages(void* memory, std::size_t bytes) noexcept;
};

} // namespace tin::support
