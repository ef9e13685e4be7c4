#include "orlin/util/StopWatch.h"

#include <iostream>

namespace tin {
namespace util {

StopWatch StopWatch::m_instance;

StopWatch::StopWatch()
    : m_stream(&std::cout)
{
}

StopWatch::~StopWatch() = default;

StopWatch& StopWatch::instance()
{
    return m_instance;
}

void StopWatch::setStream(std::ostream* stream)
{
    m_stream = stream;
}

void StopWatch::start(const std::string& label)
{
    if (m_stream)
        *m_stream << label << std::endl;
    if (!m_running) {
        m_clock.start();
        m_running = true;
    }
    m_last = 0;
}

void StopWatch::displayElapsed(const std::string& label)
{
    const std::int64_t e = m_clock.elapsed();
    if (m_stream)
        *m_stream << e << "\t" << (e - m_last) << "\t" << label << std::endl;
    m_last = e;
}

void StopWatch::stop(const std::string& label)
{
    displayElapsed(label);
    m_clock.stop();
    m_running = false;
}

int StopWatch::elapsedTime() const
{
    return static_cast<int>(m_clock.elapsed());
}

} // namespace util
} // namespace tin
