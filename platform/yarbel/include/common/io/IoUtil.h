#pragma once

#include <fstream>
#include <string>

namespace Poco {
class BinaryWriter;
}

namespace common::io {

/// Opening of file streams and fixed-width text fields for the binary formats.
///
/// Every open* call opens the path itself and throws
/// common::exception::FileOpenException naming the path when the file cannot be opened,
/// so a returned stream is always open (a directory is refused as well). Output streams truncate an existing file.
/// "Binary" streams do no line-end translation; "Ascii" streams are text mode (the same
/// bytes on POSIX systems). The streams carry the process's global locale; callers that
/// write or parse numbers imbue std::locale::classic() themselves.
class IoUtil {
public:
    static std::ofstream openOutBinary(const std::string& path);
    static std::ofstream openOutAscii(const std::string& path);
    static std::ifstream openInBinary(const std::string& path);
    static std::ifstream openInAscii(const std::string& path);

    /// Writes exactly width bytes: text cut to width, or padded with NUL bytes.
    /// A negative width throws common::exception::RuntimeException.
    static void writeWithSize(Poco::BinaryWriter& writer, const std::string& text, int width);
};

} // namespace common::io
