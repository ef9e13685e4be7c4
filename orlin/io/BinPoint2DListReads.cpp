#include "orlin/io/BinPoint2DListReads.h"

#include "common/exception/FileOpenException.h"

#include <exception>

#include <sys/stat.h>

namespace tin::io {

namespace {

// Files a thread takes at a time.
constexpr std::size_t READ_BLOCK = 64;

// read() of each path of [begin, end) into its place in `reads`.
void readBlock(const std::vector<std::string>& paths, std::vector<BinPoint2DListFile::Read>& reads,
               std::size_t begin, std::size_t end)
{
    for (std::size_t i = begin; i < end; ++i) {
        BinPoint2DListFile::Read& read = reads[i];
        try {
            read.points = BinPoint2DListFile::read(paths[i].c_str());
        } catch (const common::exception::FileOpenException&) {
            struct stat status {};
            if (::lstat(paths[i].c_str(), &status) != 0) {
                read.missing = true;
            } else {
                read.failure = std::current_exception();
            }
        } catch (...) {
            read.failure = std::current_exception();
        }
    }
}

} // namespace

BinPoint2DListReads::BinPoint2DListReads(std::vector<std::string> paths)
    : m_paths(std::move(paths)), m_reads(m_paths.size()),
      m_work(m_paths.size(), READ_BLOCK, 2 * READ_BLOCK,
             [this](std::size_t begin, std::size_t end) { readBlock(m_paths, m_reads, begin, end); })
{
}

BinPoint2DListReads::~BinPoint2DListReads() = default;

std::vector<BinPoint2DListFile::Read> BinPoint2DListReads::take()
{
    m_work.finish();
    return std::move(m_reads);
}

} // namespace tin::io
