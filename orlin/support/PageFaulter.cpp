#include "orlin/support/PageFaulter.h"

#include "orlin/support/AlignedMapping.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include <sys/mman.h>

namespace tin::support {

namespace {

constexpr std::size_t STEP = AlignedMapping::ALIGNMENT;

struct Range {
    char* from = nullptr;
    std::size_t bytes = 0;
};

class Worker {
public:
    static Worker& instance()
    {
        // Leaked on purpose, its thread never joined: it sleeps on the queue until the process
        // ends, and pools released during static destruction may still queue.
        static Worker* worker = new Worker();
        return *worker;
    }

    void push(char* from, std::size_t bytes)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_count == PageFaulter::QUEUE)
                return;
            m_queue[(m_head + m_count) % PageFaulter::QUEUE] = Range{from, bytes};
            ++m_count;
        }
        m_wake.notify_one();
    }

    void waitUntilIdle()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_idle.wait(lock, [this] { return m_count == 0 && m_busy == 0; });
    }

private:
    Worker()
    {
        for (unsigned k = 0; k < PageFaulter::THREADS; ++k)
            std::thread([this] { run(); }).detach();
    }

    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_count != 0; });
            const Range range = m_queue[m_head];
            m_head = (m_head + 1) % PageFaulter::QUEUE;
            --m_count;
            ++m_busy;
            lock.unlock();
            populate(range);
            lock.lock();
            --m_busy;
            if (m_count == 0 && m_busy == 0)
                m_idle.notify_all();
        }
    }

    static void populate(const Range& range)
    {
#if defined(MADV_POPULATE_WRITE)
        for (std::size_t done = 0; done < range.bytes; done += STEP) {
            const std::size_t step = range.bytes - done < STEP ? range.bytes - done : STEP;
            // A range the owner has already written is passed over by the system at the cost
            // of a page-table walk; a failure (the range gone) ends the request.
            if (madvise(range.from + done, step, MADV_POPULATE_WRITE) != 0)
                return;
        }
#else
        (void)range;
#endif
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Range m_queue[PageFaulter::QUEUE];
    std::size_t m_head = 0;
    std::size_t m_count = 0;
    unsigned m_busy = 0;
};

} // namespace

bool PageFaulter::supported() noexcept
{
#if defined(MADV_POPULATE_WRITE)
    // Linux 5.14 and later; older kernels answer EINVAL for the advice itself.
    static const bool known = [] {
        void* page = mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (page == MAP_FAILED)
            return false;
        const bool ok = madvise(page, 4096, MADV_POPULATE_WRITE) == 0;
        munmap(page, 4096);
        return ok;
    }();
    return known;
#else
    return false;
#endif
}

void PageFaulter::faultInLater(void* from, std::size_t bytes) noexcept
{
    if (from == nullptr || bytes == 0 || !supported())
        return;
    try {
        Worker::instance().push(static_cast<char*>(from), bytes);
    } catch (...) {
        // No thread to be had: the owner faults its pages itself.
    }
}

void PageFaulter::faultInBackHalf(void* data, std::size_t bytes) noexcept
{
    if (data == nullptr || bytes < HALVES_FROM)
        return;
    // From the first whole 2 MiB step of the back half, so that no page the caller's half
    // touches is faulted twice over.
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t middle = (start + bytes / 2 + STEP - 1) & ~static_cast<std::uintptr_t>(STEP - 1);
    const std::uintptr_t end = start + bytes;
    if (middle < end)
        faultInLater(reinterpret_cast<void*>(middle), end - middle);
}

void PageFaulter::waitUntilIdle() noexcept
{
    if (!supported())
        return;
    try {
        Worker::instance().waitUntilIdle();
    } catch (...) {
    }
}

} // namespace tin::support
