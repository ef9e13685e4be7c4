#pragma once

#include <cstddef>

namespace tin::core {

/**
 * Anonymous private mappings that start on a 2 MiB boundary, the alignment a transparent
 * huge page needs and mmap does not promise. Shared by the large-table allocator, which maps
 * whole tables, and the fixed-size pool, which reserves one stretch of address space and
 * opens it block by block.
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
    static void* map(std::size_t length, bool accessible) noexcept;
};

} // namespace tin::core
