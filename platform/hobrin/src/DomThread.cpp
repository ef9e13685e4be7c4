#include "DomThread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace guimisc::xml {

namespace {

class Worker {
public:
    Worker() : m_thread([this] { loop(); }) {}

    ~Worker()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void post(std::function<void()> task)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_tasks.push_back(std::move(task));
        }
        m_wake.notify_all();
    }

    void waitUntilIdle()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_idle.wait(lock, [this] { return m_tasks.empty() && !m_busy; });
    }

private:
    void loop()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
            if (m_tasks.empty()) {
                return; // stopping, and nothing left to do
            }
            std::function<void()> task = std::move(m_tasks.front());
            m_tasks.pop_front();
            m_busy = true;
            lock.unlock();
            try {
                task();
            } catch (...) {
            }
            task = nullptr; // what the task holds is freed here as well
            lock.lock();
            m_busy = false;
            if (m_tasks.empty()) {
                m_idle.notify_all();
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_tasks;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread; // last: the loop starts on a complete object
};

Worker& worker()
{
    static Worker instance;
    return instance;
}

} // namespace

void DomThread::run(const std::function<void()>& task)
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::exception_ptr failure;
    worker().post([&] {
        try {
            task();
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        done.notify_all();
    });
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [&finished] { return finished; });
    lock.unlock();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void DomThread::post(std::function<void()> task)
{
    worker().post(std::move(task));
}

void DomThread::waitUntilIdle()
{
    worker().waitUntilIdle();
}

} // namespace guimisc::xml
