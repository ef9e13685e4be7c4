#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace tin::io {

/// A reader's producing step (reading, decoding, parsing) run on a second thread, while
/// the calling thread consumes the items published so far (interns their points): the two
/// overlap where the process may use two processors.
///
/// The producer is called once on the new thread with a publish function; it calls
/// publish(n) whenever its first n items are complete and stops producing when publish
/// returns false (the owner is being destroyed). Items are published in order and must
/// not move once published; the producer owns everything it writes until it has published
/// it, and must touch nothing the calling thread uses (no point, no factory, no pool). An
/// exception the producer throws ends the production and is rethrown by wait().
///
/// The destructor asks the producer to stop and joins the thread, so that nothing it
/// writes outlives the owner's scope, whether the consumer finished or threw. Starting
/// the thread throws std::system_error when the system has none to give.
class ReadAheadThread {
public:
    using Publish = std::function<bool(std::size_t)>;

    explicit ReadAheadThread(std::function<void(const Publish&)> produce);
    ~ReadAheadThread();
    ReadAheadThread(const ReadAheadThread&) = delete;
    ReadAheadThread& operator=(const ReadAheadThread&) = delete;

    /// Waits until `wanted` items are published or the producer has returned (done then
    /// true); returns how many items are published. Rethrows what the producer threw.
    std::size_t wait(std::size_t wanted, bool& done);

    /// True when the process may run on more than one processor: with one, the two
    /// threads would only take turns.
    static bool worthwhile();

private:
    void run(const std::function<void(const Publish&)>& produce);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_published = 0;
    bool m_done = false;
    bool m_stop = false;
    std::exception_ptr m_error;
    std::thread m_thread;
};

} // namespace tin::io
