#include "orlin/support/LaneThreads.h"

#include <atomic>
#include <thread>

#if defined(__linux__)
#include <sched.h>
#endif

namespace tin::support {

namespace {

// Forced by setForTests; negative: chosen from the processors.
std::atomic<int> s_forced{-1};

} // namespace

unsigned LaneThreads::forBatch()
{
    int const forced = s_forced.load(std::memory_order_relaxed);
    if (forced >= 0) {
        return static_cast<unsigned>(forced);
    }
    int processors = 0;
#if defined(__linux__)
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        processors = CPU_COUNT(&set);
    }
#endif
    if (processors <= 0) {
        processors = static_cast<int>(std::thread::hardware_concurrency());
    }
    return processors >= 3 ? 2u : processors == 2 ? 1u : 0u;
}

void LaneThreads::setForTests(int threads)
{
    s_forced.store(threads, std::memory_order_relaxed);
}

} // namespace tin::support
