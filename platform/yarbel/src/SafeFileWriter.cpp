#include "common/io/SafeFileWriter.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/RuntimeException.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace common::io {

namespace {

namespace fs = std::filesystem;

// The file a path leads to once its symbolic links are followed. A chain that does not end
// (a loop) is given back as it stands: opening it fails and says so.
fs::path followLinks(const fs::path& path) {
    fs::path current = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            return current;
        }
        const fs::path next = fs::read_symlink(current, error);
        if (error) {
            return current;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

// Makes a new empty file beside the target, exclusively, and returns its name; an empty
// path when none can be made.
fs::path makeTemporaryBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    // Room for the suffix within the 255 bytes a name may have.
    const std::string stem = "." + target.filename().string().substr(0, 200) + "." + std::to_string(::getpid());
    for (int attempt = 0; attempt < 64; ++attempt) {
        const fs::path candidate = target.parent_path() / (stem + "." + std::to_string(counter++) + ".tmp");
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return {};
}

// Flushes and closes; false when any write or the close failed.
bool finish(std::ofstream& stream) {
    stream.flush();
    const bool written = !stream.fail();
    stream.close();
    return written && !stream.fail();
}

[[noreturn]] void throwWriteFailed(const std::string& path) {
    throw common::exception::RuntimeException("Could not write file: " + path);
}

// Writes file through the body; failures name path, the target as the caller gave it.
void writeTo(const fs::path& file, const std::string& path, std::ios::openmode mode,
             const SafeFileWriter::Body& body) {
    std::ofstream stream(file, mode | std::ios::trunc);
    if (!stream.is_open()) {
        throw common::exception::FileOpenException(path);
    }
    body(stream);
    if (!finish(stream)) {
        throwWriteFailed(path);
    }
}

} // namespace

void SafeFileWriter::writeBinary(const std::string& path, const Body& body) {
    write(path, std::ios::out | std::ios::binary, body);
}

void SafeFileWriter::writeAscii(const std::string& path, const Body& body) {
    write(path, std::ios::out, body);
}

void SafeFileWriter::write(const std::string& path, std::ios::openmode mode, const Body& body) {
    if (path.empty()) {
        throw common::exception::FileOpenException(path);
    }
    const fs::path target = followLinks(path);
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (fs::is_directory(status)) {
        throw common::exception::FileOpenException(path);
    }
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) {
        writeTo(target, path, mode, body);
        return;
    }

    const fs::path temporary = makeTemporaryBeside(target);
    if (temporary.empty()) {
        throw common::exception::FileOpenException(path);
    }
    try {
        writeTo(temporary, path, mode, body);
        if (exists) {
            fs::permissions(temporary, status.permissions(), error);
        }
        fs::rename(temporary, target, error);
        if (error) {
            throwWriteFailed(path);
        }
    } catch (...) {
        fs::remove(temporary, error);
        throw;
    }
}

} // namespace common::io
