#include "orlin/io/FileBytes.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/RuntimeException.h"
#include "orlin/support/LargeTableAllocatorT.h"
#include "orlin/support/PageFaulter.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tin::io {

namespace {

// Closes the descriptor on every way out of the constructor.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

const std::size_t STREAM_CHUNK = std::size_t(1) << 20;

} // namespace

FileBytes::FileBytes(const char* path)
{
    const Descriptor file{::open(path, O_RDONLY | O_CLOEXEC)};
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || S_ISDIR(info.st_mode))
        throw common::exception::FileOpenException(path);
    readAll(file.fd, path, info);
}

FileBytes::FileBytes(const char* path, struct stat* status)
{
    const Descriptor file{::open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK)};
    if (file.fd < 0 || ::fstat(file.fd, status) != 0 || !S_ISREG(status->st_mode))
        throw common::exception::FileOpenException(path);
    readAll(file.fd, path, *status);
}

void FileBytes::readAll(int fd, const char* path, const struct stat& info)
{
    if (S_ISREG(info.st_mode)) {
        grow(static_cast<std::size_t>(info.st_size) + 1); // one more: the end is seen at once
        tin::support::PageFaulter::faultInBackHalf(m_data, m_capacity);
    }
    try {
        for (;;) {
            if (m_size == m_capacity)
                grow(m_capacity < STREAM_CHUNK ? STREAM_CHUNK : 2 * m_capacity);
            const ssize_t got = ::read(fd, m_data + m_size, m_capacity - m_size);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw common::exception::RuntimeException(std::string("Could not read file: ") + path);
            if (got == 0)
                break;
            m_size += static_cast<std::size_t>(got);
        }
    } catch (...) {
        release();
        throw;
    }
}

FileBytes::~FileBytes()
{
    release();
}

void FileBytes::release()
{
    if (m_data)
        tin::support::LargeTableAllocatorT<char>().deallocate(m_data, m_capacity);
    m_data = nullptr;
    m_size = m_capacity = 0;
}

void FileBytes::grow(std::size_t capacity)
{
    char* bigger = tin::support::LargeTableAllocatorT<char>().allocate(capacity);
    if (m_size > 0)
        std::memcpy(bigger, m_data, m_size);
    if (m_data)
        tin::support::LargeTableAllocatorT<char>().deallocate(m_data, m_capacity);
    m_data = bigger;
    m_capacity = capacity;
}

} // namespace tin::io
