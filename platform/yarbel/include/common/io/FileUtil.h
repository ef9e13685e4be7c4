#pragma once

#include <string>

namespace Poco {
class BinaryReader;
class BinaryWriter;
}

namespace common::io {

/// The fixed 64-byte header that opens the system's binary files.
///
/// Layout: bytes 0-47 the title in ASCII, cut at 48 bytes and padded with NUL;
/// bytes 48-63 the version (e.g. "v0.1"), cut at 16 bytes and padded with NUL.
/// The header carries no byte-order mark: all data after it are little-endian.
class FileUtil {
public:
    static constexpr int TITLE_SIZE = 48;
    static constexpr int VERSION_SIZE = 16;

    /// Writes exactly headerSize() bytes.
    static void writeHeader(Poco::BinaryWriter& writer, const std::string& title, const std::string& version);

    /// Consumes exactly headerSize() bytes without checking them; callers test the
    /// reader's stream state afterwards.
    static void skipHeader(Poco::BinaryReader& reader);

    static constexpr int headerSize() { return TITLE_SIZE + VERSION_SIZE; }
};

} // namespace common::io
