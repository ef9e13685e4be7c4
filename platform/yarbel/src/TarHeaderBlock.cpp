#include "common/file/TarHeaderBlock.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"

#include <Poco/BinaryReader.h>
#include <Poco/BinaryWriter.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace common::file {

namespace {

// Field offsets and widths of the ustar header block.
constexpr int NAME_AT = 0;
constexpr int MODE_AT = 100;
constexpr int UID_AT = 108;
constexpr int GID_AT = 116;
constexpr int SIZE_AT = 124;
constexpr int SIZE_LEN = 12;
constexpr int MTIME_AT = 136;
constexpr int CHKSUM_AT = 148;
constexpr int CHKSUM_LEN = 8;
constexpr int TYPEFLAG_AT = 156;
constexpr int MAGIC_AT = 257;
constexpr int VERSION_AT = 263;
constexpr int DEVMAJOR_AT = 329;
constexpr int DEVMINOR_AT = 337;
constexpr int PREFIX_AT = 345;
constexpr int PREFIX_LEN = 155;

using Block = std::array<char, TarHeaderBlock::BLOCK_SIZE>;

void put(Block& block, int at, const char* text, std::size_t length) {
    std::memcpy(block.data() + at, text, length);
}

// Writes value as zero-padded octal digits filling width - 1 bytes, then a NUL.
void putOctal(Block& block, int at, int width, std::uint64_t value) {
    for (int i = width - 2; i >= 0; --i) {
        block[at + i] = static_cast<char>('0' + (value & 7u));
        value >>= 3;
    }
    block[at + width - 1] = '\0';
}

// The checksum is the sum of all bytes taken as unsigned, with the checksum field
// itself counted as eight spaces.
unsigned int checksumOf(const Block& block) {
    unsigned int sum = 0;
    for (int i = 0; i < TarHeaderBlock::BLOCK_SIZE; ++i) {
        const bool inChecksum = i >= CHKSUM_AT && i < CHKSUM_AT + CHKSUM_LEN;
        sum += inChecksum ? static_cast<unsigned int>(' ') : static_cast<unsigned char>(block[i]);
    }
    return sum;
}

// Parses an octal field: optional leading spaces, digits, then NUL or space to the end.
// Returns false when the field holds anything else or is empty.
bool parseOctal(const Block& block, int at, int width, std::uint64_t& value) {
    int i = at;
    const int end = at + width;
    while (i < end && block[i] == ' ') {
        ++i;
    }
    value = 0;
    int digits = 0;
    for (; i < end && block[i] >= '0' && block[i] <= '7'; ++i, ++digits) {
        value = (value << 3) | static_cast<std::uint64_t>(block[i] - '0');
    }
    if (digits == 0) {
        return false;
    }
    for (; i < end; ++i) {
        if (block[i] != '\0' && block[i] != ' ') {
            return false;
        }
    }
    return true;
}

std::string fieldText(const Block& block, int at, int width) {
    const char* begin = block.data() + at;
    const void* nul = std::memchr(begin, '\0', static_cast<std::size_t>(width));
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - begin)
                                   : static_cast<std::size_t>(width);
    return std::string(begin, length);
}

} // namespace

void TarHeaderBlock::setName(std::string name) {
    if (name.size() > static_cast<std::size_t>(NAME_SIZE)) {
        throw common::exception::RuntimeException("Archive entry name longer than 100 bytes: " + name);
    }
    name_ = std::move(name);
}

void TarHeaderBlock::setSize(unsigned int size) {
    size_ = size;
}

int TarHeaderBlock::offset() const noexcept {
    return static_cast<int>((BLOCK_SIZE - size_ % BLOCK_SIZE) % BLOCK_SIZE);
}

int TarHeaderBlock::contentSize() const noexcept {
    return static_cast<int>(size_ + static_cast<unsigned int>(offset()));
}

void TarHeaderBlock::write(Poco::BinaryWriter& writer) const {
    Block block{};
    put(block, NAME_AT, name_.data(), name_.size());
    put(block, MODE_AT, "0000644", 8);
    put(block, UID_AT, "0000000", 8);
    put(block, GID_AT, "0000000", 8);
    putOctal(block, SIZE_AT, SIZE_LEN, size_);
    putOctal(block, MTIME_AT, 12, 0);
    block[TYPEFLAG_AT] = '0';
    put(block, MAGIC_AT, "ustar", 6);
    put(block, VERSION_AT, "00", 2);
    put(block, DEVMAJOR_AT, "0000000", 8);
    put(block, DEVMINOR_AT, "0000000", 8);
    // Checksum as tar writes it: six octal digits, NUL, space.
    putOctal(block, CHKSUM_AT, 7, checksumOf(block));
    block[CHKSUM_AT + 7] = ' ';
    writer.writeRaw(block.data(), BLOCK_SIZE);
}

void TarHeaderBlock::read(Poco::BinaryReader& reader) {
    using common::exception::InvalidFileFormatException;
    Block block{};
    reader.readRaw(block.data(), BLOCK_SIZE);
    if (reader.stream().gcount() != BLOCK_SIZE || reader.stream().fail()) {
        throw InvalidFileFormatException("Truncated archive entry header");
    }
    // "ustar" followed by NUL (POSIX) or by a space (GNU tar's variant).
    if (std::memcmp(block.data() + MAGIC_AT, "ustar", 5) != 0 ||
        (block[MAGIC_AT + 5] != '\0' && block[MAGIC_AT + 5] != ' ')) {
        throw InvalidFileFormatException("Invalid archive entry header magic");
    }
    std::uint64_t storedChecksum = 0;
    if (!parseOctal(block, CHKSUM_AT, CHKSUM_LEN, storedChecksum) || storedChecksum != checksumOf(block)) {
        throw InvalidFileFormatException("Invalid archive entry header checksum");
    }
    std::uint64_t size = 0;
    if (!parseOctal(block, SIZE_AT, SIZE_LEN, size) || size > 0xFFFFFFFFull) {
        throw InvalidFileFormatException("Invalid archive entry size");
    }
    std::string name = fieldText(block, NAME_AT, NAME_SIZE);
    const std::string prefix = fieldText(block, PREFIX_AT, PREFIX_LEN);
    if (!prefix.empty()) {
        name = prefix + "/" + name;
    }
    name_ = std::move(name);
    size_ = static_cast<unsigned int>(size);
}

void TarHeaderBlock::writeOffset(Poco::BinaryWriter& writer, int n) {
    static const Block zeros{};
    while (n > 0) {
        const int chunk = n < BLOCK_SIZE ? n : BLOCK_SIZE;
        writer.writeRaw(zeros.data(), chunk);
        n -= chunk;
    }
}

void TarHeaderBlock::writeEndOfArchive(Poco::BinaryWriter& writer) {
    writeOffset(writer, endOfArchiveSize());
}

void TarHeaderBlock::skipEndOfArchive(Poco::BinaryReader& reader) {
    using common::exception::InvalidFileFormatException;
    for (int record = 0; record < 2; ++record) {
        Block block{};
        reader.readRaw(block.data(), BLOCK_SIZE);
        if (reader.stream().gcount() != BLOCK_SIZE || reader.stream().fail()) {
            throw InvalidFileFormatException("Truncated end of archive");
        }
        for (char c : block) {
            if (c != '\0') {
                throw InvalidFileFormatException("Invalid end of archive");
            }
        }
    }
}

} // namespace common::file
