#include "orlin/support/AlignedMapping.h"

#include <cstdint>

#include <sys/mman.h>

namespace tin::support {

void* AlignedMapping::map(std::size_t length, bool accessible, std::size_t alignment) noexcept
{
    int flags = MAP_PRIVATE | MAP_ANONYMOUS;
#if defined(MAP_NORESERVE)
    if (!accessible)
        flags |= MAP_NORESERVE;
#endif
    // One block more than asked, so that an aligned start lies inside; the slack on both
    // sides goes back at once.
    const std::size_t mapped = length + alignment;
    void* raw = mmap(nullptr, mapped, accessible ? PROT_READ | PROT_WRITE : PROT_NONE, flags, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + alignment - 1) & ~static_cast<std::uintptr_t>(alignment - 1);
    const std::size_t head = aligned - start;
    if (head != 0)
        munmap(raw, head);
    const std::size_t tail = mapped - head - length;
    if (tail != 0)
        munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* block = reinterpret_cast<void*>(aligned);
    if (accessible)
        adviseHugePages(block, length);
    return block;
}

void AlignedMapping::adviseHugePages(void* memory, std::size_t bytes) noexcept
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t page = ALIGNMENT;
    const auto start = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t first = (start + page - 1) & ~(page - 1);
    const std::uintptr_t last = (start + bytes) & ~(page - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE); // failure leaves normal pages
#else
    (void)memory;
    (void)bytes;
#endif
}

} // namespace tin::support
