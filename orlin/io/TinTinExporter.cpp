#include "orlin/io/TinTinExporter.h"

#include "common/io/ByteOrder.h"
#include "common/exception/RuntimeException.h"
#include "common/file/TarHeaderBlock.h"
#include "common/io/FileUtil.h"
#include "common/io/SafeFileWriter.h"
#include "orlin/core/Point.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/BinPointContainerExporter.h"

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace tin::io {

using common::file::TarHeaderBlock;

namespace {

constexpr unsigned int META_SIZE = 37;
constexpr unsigned long long TRIANGLE_RECORD = 12;

unsigned long long pointsEntrySize(unsigned long long points) {
    return points * BinPointContainerExporter::RECORD_SIZE +
           static_cast<unsigned long long>(common::io::FileUtil::headerSize()) + 4u;
}

// Entry sizes travel in the 32-bit size of the entry header.
unsigned int checkedEntrySize(unsigned long long size) {
    if (size > UINT_MAX) {
        throw common::exception::RuntimeException("TIN too large for the TIN archive format");
    }
    return static_cast<unsigned int>(size);
}

unsigned long long framedSize(unsigned int contentBytes) {
    TarHeaderBlock block;
    block.setSize(contentBytes);
    return static_cast<unsigned long long>(TarHeaderBlock::headerSize()) + contentBytes +
           static_cast<unsigned long long>(block.offset());
}

TarHeaderBlock writeEntryHeader(Poco::BinaryWriter& writer, const char* name, unsigned int size) {
    TarHeaderBlock block;
    block.setName(name);
    block.setSize(size);
    block.write(writer);
    return block;
}

} // namespace

TinTinExporter::TinTinExporter(tin::core::Tin const& tin) : m_tin(std::make_shared<const tin::core::Tin>(tin)) {}

tin::core::Tin const& TinTinExporter::heldTin() const {
    if (!m_tin) {
        throw common::exception::RuntimeException("TinTinExporter holds no TIN");
    }
    return *m_tin;
}

void TinTinExporter::exportTin(const char* path, tin::core::Tin const& tin) const {
    common::io::SafeFileWriter::writeBinary(path, [&](std::ostream& stream) {
        Poco::BinaryWriter writer(stream, common::io::FILE_BYTE_ORDER);
        exportTin(&writer, tin);
        writer.flush();
    });
}

void TinTinExporter::exportTin(const char* path) const {
    exportTin(path, heldTin());
}

void TinTinExporter::exportTin(std::ofstream* stream, tin::core::Tin const& tin) const {
    Poco::BinaryWriter writer(*stream, common::io::FILE_BYTE_ORDER);
    exportTin(&writer, tin);
    writer.flush();
}

void TinTinExporter::exportTin(std::ofstream* stream) const {
    exportTin(stream, heldTin());
}

void TinTinExporter::exportTin(Poco::BinaryWriter* writer) const {
    exportTin(writer, heldTin());
}

void TinTinExporter::exportTin(Poco::BinaryWriter* writer, tin::core::Tin const& tin) const {
    const auto& triangles = tin.allTriangles();
    const unsigned int trianglesSize = checkedEntrySize(triangles.size() * TRIANGLE_RECORD);

    // Number the vertices in order of first use. Clearing every id first lets the id
    // itself mark "already numbered", so no hash set over the vertices is needed; the
    // clearing walks the vertex table, once per vertex, rather than every triangle's corners.
    tin.forEachPoint([](tin::core::Point& point) { point.setId(tin::core::Point::UNDEFINED_ID); });
    std::vector<tin::core::Point const*> points;
    points.reserve(static_cast<std::size_t>(tin.pointCount()));
    for (const auto& triangle : triangles) {
        for (int i = 0; i < 3; ++i) {
            tin::core::Point& point = *triangle->point(i);
            if (point.id() == tin::core::Point::UNDEFINED_ID) {
                point.setId(static_cast<int>(points.size()));
                points.push_back(&point);
            }
        }
    }
    const unsigned int pointsSize = checkedEntrySize(pointsEntrySize(points.size()));

    const TarHeaderBlock meta = writeEntryHeader(*writer, META_NAME, META_SIZE);
    writer->writeRaw(META_TEXT, META_SIZE);
    TarHeaderBlock::writeOffset(*writer, meta.offset());

    const TarHeaderBlock pointsBlock = writeEntryHeader(*writer, POINTS_NAME, pointsSize);
    BinPointContainerExporter().writePoints(*writer, points.begin(), points.end(), static_cast<int>(points.size()));
    TarHeaderBlock::writeOffset(*writer, pointsBlock.offset());

    const TarHeaderBlock trianglesBlock = writeEntryHeader(*writer, TRIANGLES_NAME, trianglesSize);
    constexpr int CHUNK = 1024;
    int buffer[3 * CHUNK];
    int used = 0;
    for (const auto& triangle : triangles) {
        for (int i = 0; i < 3; ++i) {
            buffer[3 * used + i] = triangle->point(i)->id();
        }
        if (++used == CHUNK) {
            writer->writeRaw(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(sizeof buffer));
            used = 0;
        }
    }
    if (used > 0) {
        writer->writeRaw(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(used * 3 * sizeof(int)));
    }
    TarHeaderBlock::writeOffset(*writer, trianglesBlock.offset());

    TarHeaderBlock::writeEndOfArchive(*writer);
}

unsigned long long TinTinExporter::size() const {
    return size(heldTin());
}

unsigned long long TinTinExporter::size(tin::core::Tin const& tin) {
    const unsigned long long points = static_cast<unsigned long long>(tin.pointCount());
    const unsigned long long triangles = tin.allTriangles().size();
    return framedSize(META_SIZE) + framedSize(checkedEntrySize(pointsEntrySize(points))) +
           framedSize(checkedEntrySize(triangles * TRIANGLE_RECORD)) +
           static_cast<unsigned long long>(TarHeaderBlock::endOfArchiveSize());
}

} // namespace tin::io
