#include "orlin/io/TinTinImporter.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/file/TarHeaderBlock.h"
#include "common/io/IoUtil.h"
#include "orlin/io/BinPointPtrVectorImporter.h"

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

void readTriangles(Poco::BinaryReader& reader, const TarHeaderBlock& block,
                   const std::vector<std::shared_ptr<tin::core::Point>>& points, tin::core::Tin& tin) {
    // Chunks of triangles go to the TIN's batch addition, which overlaps the table misses of
    // neighbouring triangles; the chunk is large enough for that and small beside the file.
    constexpr std::size_t CHUNK = 8192;
    std::vector<std::uint32_t> indices(3 * CHUNK);
    const unsigned long long count = block.size() / 12u;
    const unsigned long long pointCount = points.size();
    for (unsigned long long done = 0; done < count;) {
        const std::size_t records = count - done < CHUNK ? static_cast<std::size_t>(count - done) : CHUNK;
        const std::streamsize bytes = static_cast<std::streamsize>(records * 12u);
        reader.readRaw(reinterpret_cast<char*>(indices.data()), bytes);
        // The indices are tested only once they have arrived whole.
        if (reader.stream().fail() || reader.stream().gcount() != bytes) {
            throw InvalidFileFormatException("Invalide file format (in readTrianglesContent)");
        }
        // Stored as 32-bit signed numbers: a negative one reads here as 2^31 or more, which
        // no point count reaches, so one unsigned test rejects both ends.
        for (std::size_t k = 0; k < 3 * records; ++k) {
            if (indices[k] >= pointCount) {
                throw std::out_of_range("invalid vector<T> subscript");
            }
        }
        tin.addTriangles(points.data(), indices.data(), records);
        done += records;
    }
    // A trailing partial record is skipped with the padding so that the end of the
    // archive is read where it is.
    skipBytes(reader, block.size() % 12u + padding(block));
}

} // namespace

tin::core::Tin TinTinImporter::importTin(const char* path) const {
    std::ifstream stream = common::io::IoUtil::openInBinary(path);
    Poco::BinaryReader reader(stream, Poco::BinaryReader::NATIVE_BYTE_ORDER);
    return importTin(&reader);
}

tin::core::Tin TinTinImporter::importTin(Poco::BinaryReader* reader) const {
    TarHeaderBlock meta;
    meta.read(*reader);
    skipBytes(*reader, meta.size() + padding(meta));

    TarHeaderBlock pointsBlock;
    pointsBlock.read(*reader);
    const auto points = BinPointPtrVectorImporter().importPointPtrVector(reader, pointsBlock.size(), POINTS_CONTEXT);
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
