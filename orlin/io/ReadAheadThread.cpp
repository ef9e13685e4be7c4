#include "orlin/io/ReadAheadThread.h"

#if defined(__linux__)
#include <sched.h>
#endif

namespace tin::io {

ReadAheadThread::ReadAheadThread(std::function<void(const Publish&)> produce)
    : m_thread([this, produce = std::move(produce)] { run(produce); }) {}

ReadAheadThread::~ReadAheadThread() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_thread.join();
}

std::size_t ReadAheadThread::wait(std::size_t wanted, bool& done) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_published >= wanted || m_done; });
    if (m_error) {
        std::rethrow_exception(m_error);
    }
    done = m_done;
    return m_published;
}

void ReadAheadThread::run(const std::function<void(const Publish&)>& produce) {
    const Publish publish = [this](std::size_t items) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_published = items;
            if (m_stop) {
                return false;
            }
        }
        m_changed.notify_one();
        return true;
    };
    try {
        produce(publish);
    } catch (...) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_error = std::current_exception();
    }
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_done = true;
    }
    m_changed.notify_one();
}

bool ReadAheadThread::worthwhile() {
#if defined(__linux__)
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        return CPU_COUNT(&set) > 1;
    }
#endif
    return std::thread::hardware_concurrency() > 1;
}

} // namespace tin::io
