#include "orlin/io/TinTinExporter.h"

#include "common/io/ByteOrder.h"
#include "common/exception/RuntimeException.h"
#include "common/file/TarHeaderBlock.h"
#include "common/io/FileUtil.h"
#include "common/io/SafeFileWriter.h"
#include "orlin/core/Point.h"
#include "orlin/core/Triangle.h"
#include "orlin/core/TriangleSet.h"
#include "orlin/io/BinPointContainerExporter.h"

#include <algorithm>
#include <climits>
#include <deque>
#include <future>
#include <thread>
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
    // A project saves its TINs at every save, most times unchanged.
    common::io::SafeFileWriter::writeBinaryIfChanged(path, [&](std::ostream& stream) {
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

namespace {

// The corner numbers of the triangles in slots [first, last), in slot order (freed slots left out).
void collectIndices(const tin::core::TriangleSet& triangles, std::size_t first, std::size_t last,
                    std::vector<int>& out) {
    out.clear();
    for (std::size_t k = first; k < last; ++k) {
        if (const tin::core::Triangle* triangle = triangles.slotAt(k)) {
            for (int i = 0; i < 3; ++i) {
                out.push_back(triangle->point(i)->id());
            }
        }
    }
}

} // namespace

void TinTinExporter::writeTriangleIndices(Poco::BinaryWriter& writer, const tin::core::TriangleSet& triangles) {
    // Each triangle's corners are three pointer chases to points spread over memory. Pieces of
    // the slots are collected on helper threads, a few ahead, and written in order; the
    // threads only read (ids numbered above, no reference count touched) while this thread
    // waits or writes.
    constexpr std::size_t PIECE = std::size_t(1) << 16;
    const std::size_t slots = triangles.slotCount();
    const std::size_t pieces = (slots + PIECE - 1) / PIECE;
    const unsigned cores = std::thread::hardware_concurrency();
    const std::size_t ahead = cores > 2 ? std::min<std::size_t>(cores - 1, 4) : 0;
    auto write = [&writer](const std::vector<int>& ids) {
        if (!ids.empty()) {
            writer.writeRaw(reinterpret_cast<const char*>(ids.data()),
                            static_cast<std::streamsize>(ids.size() * sizeof(int)));
        }
    };
    if (ahead == 0 || pieces < 4) {
        std::vector<int> ids;
        for (std::size_t p = 0; p < pieces; ++p) {
            collectIndices(triangles, p * PIECE, std::min(slots, (p + 1) * PIECE), ids);
            write(ids);
        }
        return;
    }
    std::deque<std::future<std::vector<int>>> inFlight;
    std::size_t next = 0;
    auto launch = [&] {
        const std::size_t first = next * PIECE;
        const std::size_t last = std::min(slots, first + PIECE);
        inFlight.push_back(std::async(std::launch::async, [&triangles, first, last] {
            std::vector<int> ids;
            ids.reserve(3 * (last - first));
            collectIndices(triangles, first, last, ids);
            return ids;
        }));
        ++next;
    };
    try {
        while (next < pieces && inFlight.size() < ahead) {
            launch();
        }
        while (!inFlight.empty()) {
            const std::vector<int> ids = inFlight.front().get();
            inFlight.pop_front();
            if (next < pieces) {
                launch();
            }
            write(ids);
        }
    } catch (...) {
        // No helper may outlive the call while reading the TIN.
        for (auto& piece : inFlight) {
            if (piece.valid()) {
                piece.wait();
            }
        }
        throw;
    }
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
    writeTriangleIndices(*writer, triangles);
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
