#pragma once

#include <cstddef>

namespace tin::support {

// Memory for the large arrays of a triangulation run (the triangulation's vertex and face blocks,
// the run's index arrays) from mappings that the kernel may back with 2 MiB pages.
//
// Why: a run of a million points touches a few hundred megabytes of fresh memory, and on the
// machines this runs on every fresh 4 KiB page costs a fault of several microseconds, and the
// triangulation's walks miss the TLB on nearly every step. Backed by huge pages the same run
// takes markedly less time.
//
// How: requests below SMALL_REQUEST bytes go to operator new. Larger ones are carved from 32 MiB
// chunks aligned to their size, one chunk per thread at a time; a chunk counts the blocks it
// handed out and is unmapped when the last one comes back (a run's memory is returned when its
// triangulation goes). Once a thread has carved half of its chunk, its next chunk is mapped and
// handed to PageFaulter, whose thread faults it in while this one fills the current chunk: a
// large run finds its pages present instead of paying their zeroing itself, and that chunk goes
// back when the thread's run is over. Requests above a quarter of a chunk get a mapping of their own. Memory
// given back inside a live chunk is not reused (but for the block its thread carved last), so the
// arena suits blocks that live about as long as their neighbours, which is how a triangulation
// allocates. Without Linux's madvise the chunks are ordinary pages.
//
// deallocate must get the size that allocate got. Thread-safe: a block may be released by any
// thread. Failure to map memory throws std::bad_alloc.
class HugePageArena
{
public:
    static constexpr std::size_t SMALL_REQUEST = 64 * 1024;

    static void* allocate(std::size_t bytes);
    static void deallocate(void* memory, std::size_t bytes) noexcept;
};

} // namespace tin::support

