#include "common/io/SafeFileWriter.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/RuntimeException.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
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

// Whether `file` (links followed) is a regular file of exactly `bytes`. The file is opened,
// then asked for its kind and size, and read in blocks only when the size is theirs.
bool holds(const fs::path& file, const std::string& bytes) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    bool same = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)
                && static_cast<std::size_t>(status.st_size) == bytes.size();
    char block[1 << 16];
    std::size_t at = 0;
    while (same && at < bytes.size()) {
        const ssize_t got = ::read(fd, block, std::min(sizeof block, bytes.size() - at));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        same = got > 0 && std::memcmp(block, bytes.data() + at, static_cast<std::size_t>(got)) == 0;
        at += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    ::close(fd);
    return same;
}

// Copies the bytes of file to out; a file that cannot be read fails as a write to path.
void copyFile(const fs::path& file, const std::string& path, std::ostream& out) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throwWriteFailed(path);
    }
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        out.write(buffer, in.gcount());
    }
    if (in.bad()) {
        throwWriteFailed(path);
    }
}

// One member of a set on its way to its target.
struct Staged {
    const SafeFileWriter::Member* member = nullptr;
    fs::path target;
    fs::file_status status;
    bool exists = false;
    bool inPlace = false;
    fs::path temporary;      // complete, not yet renamed over the target
    fs::path earlier;        // the target's earlier bytes under a second name
    bool movedAway = false;  // `earlier` is the target itself, moved aside (no hard links)
    bool placed = false;     // `temporary` has been renamed over the target
};

// Gives the target's bytes a second name beside it: a hard link, or, on a file system
// without them, the target moved aside (it is put back or replaced right after).
bool keepEarlier(Staged& staged) {
    staged.earlier = makeTemporaryBeside(staged.target);
    if (staged.earlier.empty()) {
        return false;
    }
    ::unlink(staged.earlier.c_str());
    if (::link(staged.target.c_str(), staged.earlier.c_str()) == 0) {
        return true;
    }
    std::error_code error;
    fs::rename(staged.target, staged.earlier, error);
    if (error) {
        staged.earlier.clear();
        return false;
    }
    staged.movedAway = true;
    return true;
}

// Puts every target back as it was before the set was begun, last member first.
void restore(std::vector<Staged>& set) {
    std::error_code ignored;
    for (auto staged = set.rbegin(); staged != set.rend(); ++staged) {
        if (staged->placed) {
            if (staged->exists) {
                fs::rename(staged->earlier, staged->target, ignored);
            } else {
                fs::remove(staged->target, ignored);
            }
            continue;
        }
        if (staged->movedAway) {
            fs::rename(staged->earlier, staged->target, ignored);
        } else if (!staged->earlier.empty()) {
            fs::remove(staged->earlier, ignored);
        }
        if (!staged->temporary.empty()) {
            fs::remove(staged->temporary, ignored);
        }
    }
}

// The targets of a set, their links followed, each checked before any file is made: a
// target that is a folder, or an empty path, is refused.
std::vector<Staged> stageTargets(const std::vector<SafeFileWriter::Member>& members) {
    std::vector<Staged> set(members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
        Staged& staged = set[i];
        staged.member = &members[i];
        if (members[i].path.empty()) {
            throw common::exception::FileOpenException(members[i].path);
        }
        staged.target = followLinks(members[i].path);
        std::error_code error;
        staged.status = fs::status(staged.target, error);
        if (fs::is_directory(staged.status)) {
            throw common::exception::FileOpenException(members[i].path);
        }
        staged.exists = fs::exists(staged.status);
        staged.inPlace = staged.exists && !fs::is_regular_file(staged.status);
    }
    return set;
}

// A replaced file keeps the permission bits of the one it replaces.
void keepPermissions(const Staged& staged) {
    if (staged.exists) {
        std::error_code ignored;
        fs::permissions(staged.temporary, staged.status.permissions(), ignored);
    }
}

// Writes the members written in place, then renames every complete temporary file over its
// target, each target's earlier bytes kept under a second name. Throws at the first failure;
// the caller then restores the set.
void putInPlace(std::vector<Staged>& set) {
    const std::ios::openmode mode = std::ios::out | std::ios::binary;
    for (Staged& staged : set) {
        if (staged.inPlace) {
            writeTo(staged.target, staged.member->path, mode, staged.member->body);
        }
    }
    for (Staged& staged : set) {
        if (staged.inPlace) {
            continue;
        }
        if (staged.exists && !keepEarlier(staged)) {
            throwWriteFailed(staged.member->path);
        }
        std::error_code error;
        fs::rename(staged.temporary, staged.target, error);
        if (error) {
            throwWriteFailed(staged.member->path);
        }
        staged.placed = true;
    }
}

// Once the whole set is in place: the earlier bytes are no longer needed.
void dropEarlier(const std::vector<Staged>& set) {
    std::error_code ignored;
    for (const Staged& staged : set) {
        if (!staged.earlier.empty()) {
            fs::remove(staged.earlier, ignored);
        }
    }
}

} // namespace

void SafeFileWriter::writeBinarySet(const std::vector<Member>& members) {
    const std::ios::openmode mode = std::ios::out | std::ios::binary;
    std::vector<Staged> set = stageTargets(members);
    try {
        for (Staged& staged : set) {
            if (staged.inPlace) {
                continue;
            }
            const std::string& path = staged.member->path;
            staged.temporary = makeTemporaryBeside(staged.target);
            if (staged.temporary.empty()) {
                throw common::exception::FileOpenException(path);
            }
            writeTo(staged.temporary, path, mode, staged.member->body);
            keepPermissions(staged);
        }
        putInPlace(set);
    } catch (...) {
        restore(set);
        throw;
    }
    dropEarlier(set);
}

void SafeFileWriter::placeSet(const std::vector<Finished>& files) {
    const std::ios::openmode mode = std::ios::out | std::ios::binary;
    // A member whose target is written in place, or that lies on another file system than
    // its target, is copied.
    std::vector<Member> members;
    members.reserve(files.size());
    for (const Finished& finished : files) {
        const std::string file = finished.file;
        const std::string path = finished.path;
        members.push_back({path, [file, path](std::ostream& out) { copyFile(file, path, out); }});
    }
    // Whether files[i] has become the temporary file beside its target.
    std::vector<bool> moved(files.size(), false);
    std::vector<Staged> set;
    const auto dropFinished = [&] {
        std::error_code ignored;
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (!moved[i]) {
                fs::remove(files[i].file, ignored);
            }
        }
    };
    try {
        set = stageTargets(members);
        for (std::size_t i = 0; i < set.size(); ++i) {
            Staged& staged = set[i];
            if (staged.inPlace) {
                continue;
            }
            const std::string& path = staged.member->path;
            std::error_code error;
            if (fs::equivalent(files[i].file, staged.target, error)) {
                moved[i] = true; // it is the target: never removed
                throwWriteFailed(path);
            }
            staged.temporary = makeTemporaryBeside(staged.target);
            if (staged.temporary.empty()) {
                throw common::exception::FileOpenException(path);
            }
            fs::rename(files[i].file, staged.temporary, error);
            if (!error) {
                moved[i] = true;
            } else if (error == std::errc::cross_device_link) {
                writeTo(staged.temporary, path, mode, staged.member->body);
            } else {
                throwWriteFailed(path);
            }
            keepPermissions(staged);
        }
        putInPlace(set);
    } catch (...) {
        restore(set);
        dropFinished();
        throw;
    }
    dropEarlier(set);
    dropFinished();
}

void SafeFileWriter::writeBinary(const std::string& path, const Body& body) {
    write(path, std::ios::out | std::ios::binary, body);
}

void SafeFileWriter::writeBinaryIfChanged(const std::string& path, const Body& body) {
    std::ostringstream memory(std::ios::out | std::ios::binary);
    body(memory);
    if (memory.fail()) {
        throwWriteFailed(path);
    }
    writeBinaryIfChanged(path, memory.str());
}

void SafeFileWriter::writeBinaryIfChanged(const std::string& path, const std::string& bytes) {
    // Opening follows the links itself.
    if (!path.empty() && holds(path, bytes)) {
        return;
    }
    writeBinary(path, [&](std::ostream& stream) {
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    });
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
