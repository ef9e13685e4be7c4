#pragma once

#include <string>

namespace Poco {
class BinaryReader;
class BinaryWriter;
}

namespace common::file {

/// Header of one entry of the system's archives, laid out as a POSIX ustar header block
/// so that every archive the system writes lists with `tar tvf` and Python's tarfile.
///
/// Block (512 bytes): name (100, NUL-padded), mode "0000644", uid and gid 0, size in
/// octal, mtime 0 (output is reproducible), checksum, typeflag '0' (regular file),
/// magic "ustar\0", version "00"; all other fields zero.
///
/// Framing of an entry: write() (headerSize() bytes), exactly size() content bytes, then
/// writeOffset(writer, offset()) NUL bytes that fill the last 512-byte record. After the
/// last entry writeEndOfArchive() appends endOfArchiveSize() NUL bytes. An entry thus
/// takes headerSize() + contentSize() bytes.
///
/// Entry names are at most 100 bytes (the system's names are short fixed ones);
/// setName() throws common::exception::RuntimeException for a longer one. read() checks
/// the magic, the checksum and the size field and throws
/// common::exception::InvalidFileFormatException on a damaged or truncated block.
class TarHeaderBlock {
public:
    static constexpr int BLOCK_SIZE = 512;
    static constexpr int NAME_SIZE = 100;

    TarHeaderBlock() = default;

    void setName(std::string name);
    void setSize(unsigned int size);

    const std::string& name() const noexcept { return name_; }
    /// Content bytes of the entry.
    unsigned int size() const noexcept { return size_; }
    /// NUL bytes after the content that complete its last 512-byte record (0..511).
    int offset() const noexcept;
    /// size() + offset(): the content rounded up to whole records.
    int contentSize() const noexcept;

    /// Writes exactly headerSize() bytes.
    void write(Poco::BinaryWriter& writer) const;
    /// Consumes exactly headerSize() bytes and restores name() and size().
    void read(Poco::BinaryReader& reader);

    static constexpr int headerSize() { return BLOCK_SIZE; }
    static constexpr int endOfArchiveSize() { return 2 * BLOCK_SIZE; }

    /// Writes exactly n NUL bytes (n <= 0 writes nothing).
    static void writeOffset(Poco::BinaryWriter& writer, int n);
    static void writeEndOfArchive(Poco::BinaryWriter& writer);
    /// Consumes exactly endOfArchiveSize() bytes; throws
    /// common::exception::InvalidFileFormatException when they are missing or not all NUL.
    static void skipEndOfArchive(Poco::BinaryReader& reader);

private:
    std::string name_;
    unsigned int size_ = 0;
};

} // namespace common::file
