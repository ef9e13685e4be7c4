#pragma once

#include <QString>

#include <cstdint>

struct stat;

namespace guimisc {

/// What tells one state of a file from another: its device and inode, its size and its
/// modification time to the nanosecond. Something read from a file ahead of its use is
/// used only while the file's state is still the one it was read in; a file replaced,
/// rewritten or grown since has another.
class FileState {
public:
    /// No file.
    FileState() = default;
    /// The state in what stat or fstat said of a file.
    explicit FileState(const struct stat& status);

    /// The state of the entry at `path` as it stands, a symbolic link taken as itself (so a
    /// file replaced by a link has another state); none when there is no such entry.
    static FileState of(const QString& path);

    /// True for a state read from a file.
    bool exists() const { return m_exists; }
    bool operator==(const FileState& other) const;
    bool operator!=(const FileState& other) const { return !(*this == other); }

private:
    bool m_exists = false;
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    std::int64_t m_size = 0;
    std::int64_t m_seconds = 0;
    std::int64_t m_nanoseconds = 0;
};

} // namespace guimisc
