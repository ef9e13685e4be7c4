#pragma once

#include <Poco/Stopwatch.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace tin {
namespace util {

/**
 * Process-wide timing aid: writes labelled elapsed times to a stream (standard
 * output unless set). Lines of displayElapsed() read
 * "<µs since start>\t<µs since previous line>\t<label>". Unsynchronised.
 */
class StopWatch {
public:
    static StopWatch& instance();

    /// Later output goes to *stream; the caller keeps it alive.
    void setStream(std::ostream* stream);
    /// Writes the label; starts the clock unless it runs (a running clock keeps its
    /// time); the since-previous column restarts from 0.
    void start(const std::string& label);
    void displayElapsed(const std::string& label);
    /// displayElapsed(label), then stops (pauses) the clock.
    void stop(const std::string& label);
    /// Elapsed microseconds, cut to an int (about 35 minutes at most).
    int elapsedTime() const;

private:
    StopWatch();
    ~StopWatch();
    StopWatch(const StopWatch&) = delete;
    StopWatch& operator=(const StopWatch&) = delete;

    static StopWatch m_instance;

    std::ostream* m_stream;
    Poco::Stopwatch m_clock;
    std::int64_t m_last = 0;
    bool m_running = false;
};

} // namespace util
} // namespace tin
