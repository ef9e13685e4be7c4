#include "orlin/io/BinPoint2DListReads.h"

#include "common/exception/FileOpenException.h"
#include "orlin/support/LaneThreads.h"

#include <algorithm>
#include <exception>
#include <system_error>

#include <sys/stat.h>

namespace tin::io {

namespace {

// Files a thread takes at a time.
constexpr std::size_t READ_BLOCK = 64;

} // namespace

BinPoint2DListReads::BinPoint2DListReads(std::vector<std::string> paths)
    : m_paths(std::move(paths)), m_reads(m_paths.size())
{
    const unsigned threads =
        m_paths.size() >= 2 * READ_BLOCK ? tin::support::LaneThreads::forBatch() : 0;
    for (unsigned t = 0; t < threads; ++t) {
        try {
            m_helpers.emplace_back([this] { work(); });
        } catch (const std::system_error&) {
            break; // the threads that started, and the caller's, do it all
        }
    }
}

BinPoint2DListReads::~BinPoint2DListReads()
{
    m_next.store(m_paths.size());
    join();
}

std::vector<BinPoint2DListFile::Read> BinPoint2DListReads::take()
{
    work();
    join();
    return std::move(m_reads);
}

void BinPoint2DListReads::work()
{
    for (;;) {
        const std::size_t first = m_next.fetch_add(READ_BLOCK);
        if (first >= m_paths.size()) {
            return;
        }
        const std::size_t end = std::min(m_paths.size(), first + READ_BLOCK);
        for (std::size_t i = first; i < end; ++i) {
            BinPoint2DListFile::Read& read = m_reads[i];
            try {
                read.points = BinPoint2DListFile::read(m_paths[i].c_str());
            } catch (const common::exception::FileOpenException&) {
                struct stat status {};
                if (::lstat(m_paths[i].c_str(), &status) != 0) {
                    read.missing = true;
                } else {
                    read.failure = std::current_exception();
                }
            } catch (...) {
                read.failure = std::current_exception();
            }
        }
    }
}

void BinPoint2DListReads::join()
{
    for (std::thread& helper : m_helpers) {
        helper.join();
    }
    m_helpers.clear();
}

} // namespace tin::io
