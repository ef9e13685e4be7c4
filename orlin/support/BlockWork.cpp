#include "orlin/support/BlockWork.h"

#include "orlin/support/LaneThreads.h"

#include <algorithm>
#include <system_error>

namespace tin::support {

BlockWork::BlockWork(std::size_t count, std::size_t block, std::size_t sideBySideFrom, Work work)
    : m_count(count), m_block(std::max<std::size_t>(block, 1)), m_work(std::move(work))
{
    const unsigned threads = count >= sideBySideFrom && count > m_block ? LaneThreads::forBatch() : 0;
    for (unsigned t = 0; t < threads; ++t) {
        try {
            m_helpers.emplace_back([this] { run(); });
        } catch (const std::system_error&) {
            break; // the threads that started, and the caller's, do it all
        }
    }
}

BlockWork::~BlockWork()
{
    m_next.store(m_count);
    join();
}

void BlockWork::finish()
{
    run();
    join();
}

void BlockWork::run()
{
    for (;;) {
        const std::size_t begin = m_next.fetch_add(m_block);
        if (begin >= m_count) {
            return;
        }
        m_work(begin, std::min(m_count, begin + m_block));
    }
}

void BlockWork::join()
{
    for (std::thread& helper : m_helpers) {
        helper.join();
    }
    m_helpers.clear();
}

} // namespace tin::support
