#pragma once

#include <functional>

namespace guimisc::xml {

/// The one helper thread on which large DOM trees are built and freed.
///
/// A tree of a survey-sized project holds millions of small blocks. Built on the reading
/// thread, they fill that thread's heap, and freeing them leaves it so fragmented that the
/// next large allocation there spends as long sorting out the freed blocks as the freeing
/// took. Built and freed here, they come from and go back to this thread's own heap, and
/// the freeing costs the reader nothing. `run` and `post` keep their order; the thread is
/// started on first use and, at exit, finishes what was posted before it stops.
class DomThread {
public:
    DomThread() = delete;

    /// Runs `task` on the helper thread and returns when it has run; an exception it
    /// throws is thrown here.
    static void run(const std::function<void()>& task);
    /// Queues `task` for the helper thread and returns at once; what it throws is dropped.
    static void post(std::function<void()> task);
    /// Returns when everything posted so far has run.
    static void waitUntilIdle();
};

} // namespace guimisc::xml
