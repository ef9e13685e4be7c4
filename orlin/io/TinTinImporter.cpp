#include "orlin/io/TinTinImporter.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/file/TarHeaderBlock.h"
#include "common/io/ByteOrder.h"
#include "common/io/FileUtil.h"
#include "common/io/IoUtil.h"
#include "orlin/core/PointFactory.h"
#include "orlin/io/BinPointBlockReader.h"
#include "orlin/support/LargeTableAllocatorT.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace tin::io {

using common::exception::InvalidFileFormatException;
using common::file::TarHeaderBlock;

namespace {

void skipBytes(Poco::BinaryReader& reader, unsigned long long bytes) {
    char buffer[4096];
    while (bytes > 0) {
        const std::streamsize chunk = bytes < sizeof buffer ? static_cast<std::streamsize>(bytes)
                                                            : static_cast<std::streamsize>(sizeof buffer);
        reader.readRaw(buffer, chunk);
        if (reader.stream().fail()) {
            throw InvalidFileFormatException("Unexpected end of TIN archive");
        }
        bytes -= static_cast<unsigned long long>(chunk);
    }
}

unsigned long long padding(const TarHeaderBlock& block) {
    return static_cast<unsigned long long>(block.offset());
}

template <typename T>
using LargeVector = std::vector<T, tin::support::LargeTableAllocatorT<T>>;

// Records are read in pieces of this many bytes at most, so that a header that claims far
// more than the file holds fails at the end of the data instead of reserving memory for it.
constexpr std::size_t PIECE_BYTES = std::size_t(24) << 20;

// The points entry interned in one bulk request (the factory overlaps its look-ups); the
// points are the ones requests in block order give.
LargeVector<std::shared_ptr<tin::core::Point>> readPoints(Poco::BinaryReader& reader, unsigned long long size) {
    const std::string name = TinTinImporter::POINTS_CONTEXT;
    const int count = BinPointBlockReader::readCount(reader, size, name);
    LargeVector<double> xyz;
    constexpr int PIECE = static_cast<int>(PIECE_BYTES / BinPointBlockReader::RECORD_SIZE);
    for (int done = 0; done < count;) {
        const int records = std::min(count - done, PIECE);
        xyz.resize(3 * (static_cast<std::size_t>(done) + static_cast<std::size_t>(records)));
        BinPointBlockReader::readRecords(reader, xyz.data() + 3 * static_cast<std::size_t>(done), records, name);
        done += records;
    }
    const unsigned long long used = static_cast<unsigned long long>(common::io::FileUtil::headerSize()) + 4u +
                                    static_cast<unsigned long long>(count) * BinPointBlockReader::RECORD_SIZE;
    if (size > used) {
        BinPointBlockReader::skipRest(reader, size - used, name);
    }
    LargeVector<std::shared_ptr<tin::core::Point>> points(static_cast<std::size_t>(count));
    // Exactly: a vertex beside a live point within the factory's tolerances keeps its own
    // values, so that a TIN reads back bit for bit as it was saved.
    tin::core::PointFactory::instance().factoryAllExact(xyz.data(), points.size(), points.data());
    return points;
}

void readTriangles(Poco::BinaryReader& reader, const TarHeaderBlock& block,
                   const LargeVector<std::shared_ptr<tin::core::Point>>& points, tin::core::Tin& tin) {
    // Every triangle goes to one batch addition: the TIN sizes its tables once for the
    // whole file and overlaps the table misses of neighbouring triangles.
    const unsigned long long count = block.size() / 12u;
    const unsigned long long pointCount = points.size();
    constexpr std::size_t PIECE = PIECE_BYTES / 12u;
    LargeVector<std::uint32_t> indices;
    for (unsigned long long done = 0; done < count;) {
        const std::size_t records = count - done < PIECE ? static_cast<std::size_t>(count - done) : PIECE;
        const std::size_t at = 3 * static_cast<std::size_t>(done);
        indices.resize(at + 3 * records);
        const std::streamsize bytes = static_cast<std::streamsize>(records * 12u);
        reader.readRaw(reinterpret_cast<char*>(indices.data() + at), bytes);
        // The indices are tested only once they have arrived whole.
        if (reader.stream().fail() || reader.stream().gcount() != bytes) {
            throw InvalidFileFormatException("Invalide file format (in readTrianglesContent)");
        }
        // Stored as 32-bit signed numbers: a negative one reads here as 2^31 or more, which
        // no point count reaches, so one unsigned test rejects both ends.
        for (std::size_t k = at; k < at + 3 * records; ++k) {
            if (indices[k] >= pointCount) {
                throw InvalidFileFormatException(TinTinImporter::BAD_INDEX);
            }
        }
        done += records;
    }
    tin.addTriangles(points.data(), indices.data(), indices.size() / 3);
    // A trailing partial record is skipped with the padding so that the end of the
    // archive is read where it is.
    skipBytes(reader, block.size() % 12u + padding(block));
}

} // namespace

tin::core::Tin TinTinImporter::importTin(const char* path) const {
    std::ifstream stream = common::io::IoUtil::openInBinary(path);
    Poco::BinaryReader reader(stream, common::io::FILE_BYTE_ORDER);
    try {
        return importTin(&reader);
    } catch (const InvalidFileFormatException& e) {
        // The same text, with the file the user named instead of the entry.
        if (e.hasLine()) {
            throw InvalidFileFormatException(e.message(), path, e.line());
        }
        throw InvalidFileFormatException(e.message(), path);
    }
}

tin::core::Tin TinTinImporter::importTin(Poco::BinaryReader* reader) const {
    TarHeaderBlock meta;
    meta.read(*reader);
    skipBytes(*reader, meta.size() + padding(meta));

    TarHeaderBlock pointsBlock;
    pointsBlock.read(*reader);
    const auto points = readPoints(*reader, pointsBlock.size());
    skipBytes(*reader, padding(pointsBlock));

    TarHeaderBlock trianglesBlock;
    trianglesBlock.read(*reader);
    tin::core::Tin tin;
    readTriangles(*reader, trianglesBlock, points, tin);

    TarHeaderBlock::skipEndOfArchive(*reader);
    return tin;
}

tin::core::Tin TinTinImporter::importTin(Poco::BinaryReader* reader, unsigned long long size) const {
    const std::streamoff start = reader->stream().tellg();
    tin::core::Tin tin = importTin(reader);
    const std::streamoff end = reader->stream().tellg();
    if (start < 0 || end < 0 || static_cast<unsigned long long>(end - start) != size) {
        throw InvalidFileFormatException("Invalid file size");
    }
    return tin;
}

} // namespace tin::io
