#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace tin::support {

/// Work over the indices 0 .. count - 1 in blocks, side by side: the helper threads that
/// LaneThreads grants a batch begin at construction when there are at least `sideBySideFrom`
/// indices, each taking the next block not yet taken; the calling thread takes its share in
/// finish(), which returns once every block is done. So the caller may do other work between
/// the two (a project's shapes are made while their files are read).
///
/// `work(begin, end)` runs once for each block, on some thread, and must not throw; blocks
/// are disjoint, so work that writes only what belongs to its indices needs no lock, and all
/// it wrote is visible to the caller after finish(). Made and finished on one thread. An
/// object destroyed unfinished stops its helpers after the block each is in and waits for
/// them; the blocks no thread took are not done.
class BlockWork {
public:
    using Work = std::function<void(std::size_t begin, std::size_t end)>;

    BlockWork(std::size_t count, std::size_t block, std::size_t sideBySideFrom, Work work);
    ~BlockWork();
    BlockWork(const BlockWork&) = delete;
    BlockWork& operator=(const BlockWork&) = delete;

    /// Does the blocks no helper has taken, then waits for the helpers.
    void finish();

private:
    void run();
    void join();

    std::size_t m_count;
    std::size_t m_block;
    Work m_work;
    std::atomic<std::size_t> m_next{0};
    std::vector<std::thread> m_helpers;
};

} // namespace tin::support
