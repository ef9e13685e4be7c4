#pragma once

#include <Poco/BinaryReader.h>
#include <Poco/BinaryWriter.h>

namespace common::io {

/// The byte order of every binary file of the system: little-endian. Converts to the byte
/// order argument of both Poco::BinaryWriter and Poco::BinaryReader, so that one name serves
/// every reader and writer: Poco::BinaryWriter writer(stream, common::io::FILE_BYTE_ORDER).
struct FileByteOrder {
    constexpr operator Poco::BinaryWriter::StreamByteOrder() const {
        return Poco::BinaryWriter::LITTLE_ENDIAN_BYTE_ORDER;
    }
    constexpr operator Poco::BinaryReader::StreamByteOrder() const {
        return Poco::BinaryReader::LITTLE_ENDIAN_BYTE_ORDER;
    }
};

inline constexpr FileByteOrder FILE_BYTE_ORDER{};

// The bulk paths of the readers and writers copy records between memory and file unchanged;
// they are right only where memory holds numbers in the files' order.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the binary formats' bulk readers and writers assume a little-endian machine");

} // namespace common::io
