#pragma once

#include <cstddef>

namespace tin::support {

/// Helper threads of the process that fault in memory before its first use, so that the
/// thread which will write there does not pay the system's zeroing of each fresh page itself.
///
/// A survey-sized TIN or triangulation writes gigabytes of fresh memory, and on the machines
/// this runs on the kernel's zeroing of those pages takes a third of the building thread's
/// time. Memory a pool knows it will hand out next (its next block, the arena's next chunk)
/// is queued here and faulted in on a helper thread while the building thread still works
/// in the memory before it.
///
/// faultInLater queues [from, from + bytes) and returns at once; the helpers work through the
/// queue in order, each request 2 MiB at a time, with MADV_POPULATE_WRITE: page tables writable, contents
/// unchanged, exactly what the owner's first touches would do, so it is safe while the owner
/// carves and writes there. The range must be mapped readable and writable, and stay mapped
/// while queued (pools queue only memory they keep). When the queue is full the request is
/// dropped (the owner's own touches fault the pages as before). Where the system lacks the
/// call, nothing is queued. Thread-safe.
class PageFaulter {
public:
    /// Requests kept waiting at most; beyond them, requests are dropped.
    static constexpr std::size_t QUEUE = 64;
    /// Threads working through the queue. One: with two or three, builds of a 5-million-point
    /// TIN were no faster (the first touches contend with each other and with the builder).
    static constexpr unsigned THREADS = 1;

    static void faultInLater(void* from, std::size_t bytes) noexcept;

    /// For a fresh mapping of at least HALVES_FROM bytes that the calling thread is about to
    /// write from its start to its end (a table being filled, a file being read): queues its
    /// back half, so that the helper faults it in while the caller writes the front half and
    /// the zeroing costs the caller about half. Smaller blocks (from the C heap) are left alone.
    static void faultInBackHalf(void* data, std::size_t bytes) noexcept;
    static constexpr std::size_t HALVES_FROM = std::size_t(16) << 20;

    /// Returns when every range queued before the call has been faulted in (for tests).
    static void waitUntilIdle() noexcept;

    /// Whether the system can fault pages in on another thread (MADV_POPULATE_WRITE).
    static bool supported() noexcept;
};

} // namespace tin::support
