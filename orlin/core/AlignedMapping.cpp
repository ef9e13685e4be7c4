#include "orlin/core/AlignedMapping.h"

#include <cstdint>

#include <sys/mman.h>

namespace tin::core {

void* AlignedMapping::map(std::size_t length, bool accessible) noexcept
{
    int flags = MAP_PRIVATE | MAP_ANONYMOUS;
#if defined(MAP_NORESERVE)
    if (!accessible)
        flags |= MAP_NORESERVE;
#endif
    // One block more than asked, so that an aligned start lies inside; the slack on both
    // sides goes back at once.
    const std::size_t mapped = length + ALIGNMENT;
    void* raw = mmap(nullptr, mapped, accessible ? PROT_READ | PROT_WRITE : PROT_NONE, flags, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + ALIGNMENT - 1) & ~static_cast<std::uintptr_t>(ALIGNMENT - 1);
    const std::size_t head = aligned - start;
    if (head != 0)
        munmap(raw, head);
    const std::size_t tail = mapped - head - length;
    if (tail != 0)
        munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* block = reinterpret_cast<void*>(aligned);
#if defined(MADV_HUGEPAGE)
    if (accessible)
        madvise(block, length, MADV_HUGEPAGE); // only advice: failure leaves normal pages
#endif
    return block;
}

} // namespace tin::core
