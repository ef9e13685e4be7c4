#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct stat;

namespace tin::io {

/// The whole content of a file in memory, for readers that parse it in one pass.
///
/// Regular files are read with one system call into a block of their size (huge pages
/// from 2 MiB on, so a large file costs a few page faults); pipes and other streams are
/// read as they come. The file is copied, not mapped: a file that another program
/// truncates meanwhile cannot bring the reader down. Throws
/// common::exception::FileOpenException when the path cannot be opened or is a directory,
/// and common::exception::RuntimeException("Could not read file: " + path) on a read error.
/// Cost: one copy of the file.
class FileBytes {
public:
    explicit FileBytes(const char* path);
    /// The same for a regular file only, opened without following a symbolic link: a link,
    /// a pipe, a device or a folder throws common::exception::FileOpenException. `*status`
    /// is what fstat said of the file that was read (its device, inode, size and times).
    FileBytes(const char* path, struct stat* status);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    const char* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    std::string_view view() const { return std::string_view(m_data, m_size); }

private:
    void readAll(int fd, const char* path, const struct stat& info);
    void grow(std::size_t capacity);
    void release();

    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace tin::io
