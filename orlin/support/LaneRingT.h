#pragma once

#include "orlin/support/FixedSizePool.h"
#include "orlin/support/LargeTableAllocatorT.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tin::support {

/// Two helper threads ("lanes") that work through blocks of a large batch while the calling
/// thread fills the next ones, and the ring of RING blocks that hands them over. The first
/// lane takes the blocks the calling thread publishes, the second those the first is done
/// with (both families on one lane when only one thread is asked for); each lane works
/// through every block in order, so whatever a lane does to its tables happens in the order of
/// the batch, as on a single thread. Block is the caller's record of one block (filled by the
/// calling thread, read and written by the lanes); the lanes run prepare(family) once, then
/// link(block, family) per block, for family 0 on the first lane and 1 on the second.
///
/// Waiting spins briefly, then sleeps on a condition variable; with blocks of about a thousand
/// items the hand-over costs a few atomic operations per thousand. While they wait for blocks,
/// the lanes fault in pages of FixedSizePool ahead of its carving (pageUpTo). How many lanes a
/// batch gets is LaneThreads::forBatch().
///
/// A lane that throws stops both; next() and join() give the first exception to the caller.
/// The destructor joins the lanes.
template <class Block>
class LaneRingT {
public:
    static constexpr std::size_t RING = 64;


    using Prepare = std::function<void(int family)>;
    using Link = std::function<void(Block& block, int family)>;

    /// Starts `threads` (1 or 2) lanes; each runs prepare(family) for its families, then
    /// link(block, family) for every published block. Throws std::system_error, with no
    /// lane left running, when a thread cannot be started.
    LaneRingT(unsigned threads, Prepare prepare, Link link)
        : m_ring(RING), m_prepare(std::move(prepare)), m_link(std::move(link))
    {
        try {
            if (threads >= 2) {
                m_threads.emplace_back([this] { run(0, 1); });
                m_threads.emplace_back([this] { run(1, 2); });
            } else {
                m_threads.emplace_back([this] { run(0, 2); });
            }
        } catch (...) {
            join();
            throw;
        }
    }

    LaneRingT(LaneRingT const&) = delete;
    LaneRingT& operator=(LaneRingT const&) = delete;

    ~LaneRingT() { join(); }

    /// The block to fill next, once every lane is done with its last use. Throws what a lane
    /// threw, once the lanes are joined.
    Block& next()
    {
        std::size_t const produced = m_produced.load(std::memory_order_relaxed);
        waitUntil([&] {
            return m_failed.load(std::memory_order_acquire)
                   || m_consumed[1].load(std::memory_order_acquire) + RING > produced;
        });
        if (m_failed.load(std::memory_order_acquire)) {
            if (std::exception_ptr failure = join()) {
                std::rethrow_exception(failure);
            }
        }
        return m_ring[produced % RING];
    }

    /// Lets lanes that wait for blocks fault in the pool's pages from `from` (a block start)
    /// up to `end` (see FixedSizePool::populate); later calls move the end on. The stretch
    /// must be committed.
    void pageUpTo(char* from, char* end)
    {
        char* expected = nullptr;
        m_paged.compare_exchange_strong(expected, from, std::memory_order_relaxed);
        char* old = m_pageEnd.load(std::memory_order_relaxed);
        if (end > old) {
            m_pageEnd.store(end, std::memory_order_release);
        }
    }

    /// Hands the block from next() to the lanes.
    void publish()
    {
        m_produced.fetch_add(1, std::memory_order_release);
        wake();
    }

    /// Lets the lanes finish the published blocks and waits for them; returns the first
    /// exception a lane threw, if any. Idempotent.
    std::exception_ptr join() noexcept
    {
        m_closed.store(true, std::memory_order_release);
        wake();
        for (std::thread& thread : m_threads) {
            if (thread.joinable()) {
                thread.join();
            }
        }
        return m_failure;
    }

private:
    // A lane for families [first, last). The first family's lane takes the blocks the calling
    // thread publishes, the second's those the first lane is done with.
    void run(int first, int last)
    {
        std::atomic<std::size_t> const& source = first == 0 ? m_produced : m_consumed[0];
        std::atomic<bool> const& sourceDone = first == 0 ? m_closed : m_firstDone;
        try {
            for (int family = first; family < last; ++family) {
                m_prepare(family);
            }
            for (std::size_t block = 0;; ++block) {
                waitUntil(
                    [&] {
                        return source.load(std::memory_order_acquire) > block
                               || sourceDone.load(std::memory_order_acquire);
                    },
                    true);
                if (source.load(std::memory_order_acquire) <= block) {
                    break;
                }
                for (int family = first; family < last; ++family) {
                    m_link(m_ring[block % RING], family);
                    m_consumed[family].store(block + 1, std::memory_order_release);
                }
                wake();
            }
            finished(first);
        } catch (...) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (!m_failure) {
                    m_failure = std::current_exception();
                }
            }
            m_failed.store(true, std::memory_order_release);
            finished(first);
        }
    }

    // The first lane's end (done or failed) lets the second one stop after what it was given.
    void finished(int first)
    {
        if (first == 0) {
            m_firstDone.store(true, std::memory_order_release);
        }
        wake();
    }

    // Waits until ready(); a lane (mayPage) faults pages in meanwhile while there are any.
    template <class Ready>
    void waitUntil(Ready&& ready, bool mayPage = false)
    {
        for (int spin = 0; spin < SPINS; ++spin) {
            if (ready()) {
                return;
            }
            if (mayPage && pageSome()) {
                spin = 0;
                continue;
            }
            pause();
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        m_sleepers.fetch_add(1, std::memory_order_seq_cst);
        m_wake.wait(lock, ready);
        m_sleepers.fetch_sub(1, std::memory_order_relaxed);
    }

    // Claims the next block to fault in and populates it; false when there is none.
    bool pageSome()
    {
        char* const end = m_pageEnd.load(std::memory_order_acquire);
        char* from = m_paged.load(std::memory_order_relaxed);
        while (from != nullptr && from < end) {
            if (m_paged.compare_exchange_weak(from, from + FixedSizePool::BLOCK, std::memory_order_relaxed)) {
                FixedSizePool::populate(from, FixedSizePool::BLOCK);
                return true;
            }
        }
        return false;
    }

    // A sleeper counts itself under the mutex before its last look at the state, and every
    // change of the state is stored before this looks for sleepers: either it sees the
    // sleeper, or the sleeper sees the change.
    void wake()
    {
        if (m_sleepers.load(std::memory_order_seq_cst) > 0) {
            { std::lock_guard<std::mutex> lock(m_mutex); }
            m_wake.notify_all();
        }
    }

    static void pause()
    {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#else
        std::this_thread::yield();
#endif
    }

    static constexpr int SPINS = 4096;

    // Blocks are large (a few MB for the ring): in huge pages, so that the first use costs a
    // few faults, not a thousand.
    std::vector<Block, LargeTableAllocatorT<Block>> m_ring;
    Prepare m_prepare;
    Link m_link;
    std::vector<std::thread> m_threads;
    alignas(64) std::atomic<std::size_t> m_produced{0};
    alignas(64) std::atomic<std::size_t> m_consumed[2] = {};
    alignas(64) std::atomic<char*> m_paged{nullptr};
    std::atomic<char*> m_pageEnd{nullptr};
    alignas(64) std::atomic<bool> m_closed{false};
    std::atomic<bool> m_firstDone{false};
    std::atomic<bool> m_failed{false};
    std::atomic<int> m_sleepers{0};
    std::exception_ptr m_failure;
    std::mutex m_mutex;
    std::condition_variable m_wake;
};

} // namespace tin::support
