#include "guimisc/FileState.h"

#include <QFile>

#include <sys/stat.h>

namespace guimisc {

FileState::FileState(const struct stat& status)
    : m_exists(true), m_device(static_cast<std::uint64_t>(status.st_dev)),
      m_inode(static_cast<std::uint64_t>(status.st_ino)),
      m_size(static_cast<std::int64_t>(status.st_size)),
      m_seconds(static_cast<std::int64_t>(status.st_mtim.tv_sec)),
      m_nanoseconds(static_cast<std::int64_t>(status.st_mtim.tv_nsec))
{
}

FileState FileState::of(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
        return FileState();
    }
    return FileState(status);
}

bool FileState::operator==(const FileState& other) const
{
    return m_exists == other.m_exists && m_device == other.m_device && m_inode == other.m_inode
           && m_size == other.m_size && m_seconds == other.m_seconds
           && m_nanoseconds == other.m_nanoseconds;
}

} // namespace guimisc
