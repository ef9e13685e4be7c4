#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace common::io {

/// Saving a file so that a failed save never costs the user the file that was there.
///
/// write*() hands the body a stream on a new file beside the target (same folder, a hidden
/// name that ends in ".tmp") and renames that file over the target only once the body has
/// returned and the stream was flushed and closed without error. On any failure the target
/// keeps its bytes, the temporary file is removed and the exception names the target as the
/// caller gave it:
///  - common::exception::FileOpenException when the file cannot be made (no such folder, a
///    directory in the way);
///  - common::exception::RuntimeException "Could not write file: <path>" when a write, the
///    close or the rename fails;
///  - whatever the body throws, unchanged.
/// A symbolic link is followed: the file it leads to is replaced and the link stays. A
/// target that exists and is not a regular file (a device, a pipe) is never removed or
/// renamed over: it is written in place, and a failure there throws as above.
/// A replaced file keeps its permission bits. The body writes in the stream's own locale and
/// must flush any writer it puts in front of the stream.
class SafeFileWriter {
public:
    using Body = std::function<void(std::ostream&)>;

    /// No line-end translation.
    static void writeBinary(const std::string& path, const Body& body);
    /// Text mode (the same bytes on POSIX systems).
    static void writeAscii(const std::string& path, const Body& body);

private:
    static void write(const std::string& path, std::ios::openmode mode, const Body& body);
};

} // namespace common::io
