// The TIN archive: writer and reader together, hand-made archives for the failures.

#include "IoTestSupport.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"
#include "common/file/TarHeaderBlock.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <set>
#include <stdexcept>

using common::exception::InvalidFileFormatException;
using common::file::TarHeaderBlock;
using iotest::Bytes;
using tin::core::Point;
using tin::core::Tin;
using tin::io::TinTinExporter;
using tin::io::TinTinImporter;

namespace {

std::string entry(const std::string& name, const std::string& content) {
    std::ostringstream out;
    Poco::BinaryWriter writer(out, Poco::BinaryWriter::NATIVE_BYTE_ORDER);
    TarHeaderBlock block;
    block.setName(name);
    block.setSize(static_cast<unsigned int>(content.size()));
    block.write(writer);
    writer.writeRaw(content);
    TarHeaderBlock::writeOffset(writer, block.offset());
    writer.flush();
    return out.str();
}

// An archive of the three points of a unit triangle and the given index records.
std::string handMadeArchive(const std::string& triangleBytes) {
    return entry("meta.txt", "This file is reserved for future use.") +
           entry("coordinatePoints.tpobin", Bytes().header().i32(3).xyz(0, 0, 1).xyz(1, 0, 2).xyz(0, 1, 3).data) +
           entry("triangles.tribin", triangleBytes) + std::string(1024, '\0');
}

Tin readBytes(const std::string& bytes, const std::string& name) {
    const std::string path = iotest::scratchFile(name);
    iotest::writeFile(path, bytes);
    return TinTinImporter().importTin(path.c_str());
}

std::string exportToBytes(const Tin& tin) {
    std::ostringstream out;
    Poco::BinaryWriter writer(out, Poco::BinaryWriter::NATIVE_BYTE_ORDER);
    TinTinExporter().exportTin(&writer, tin);
    writer.flush();
    return out.str();
}

} // namespace

TEST(TinTinExporterTest, EmptyTinRoundTripsAndSizeIsExact) {
    const Tin empty;
    const std::string bytes = exportToBytes(empty);
    EXPECT_EQ(TinTinExporter(empty).size(), bytes.size());
    // Three header blocks, the meta text and the 68-byte point block each in one
    // record, no triangle record, the end of archive.
    EXPECT_EQ(bytes.size(), 512u * 3 + 512u * 2 + 1024u);
    EXPECT_EQ(bytes.substr(512 * 3, 68), Bytes().header().i32(0).data);
    EXPECT_TRUE(readBytes(bytes, "empty.tin").empty());
}

TEST(TinTinExporterTest, TwoTrianglesSharingAnEdgeUseFourIndices) {
    Tin tin;
    tin.addTriangle(Point(0, 0, 1), Point(1, 0, 2), Point(1, 1, 3));
    tin.addTriangle(Point(0, 0, 1), Point(1, 1, 3), Point(0, 1, 4));
    const std::string bytes = exportToBytes(tin);

    // Entry 3 starts after meta (2 records) and points (header + 4*24+68 bytes = 1 record).
    const std::size_t trianglesAt = 512 * 2 + 512 * 2 + 512;
    std::set<int> used;
    for (int k = 0; k < 6; ++k) {
        int index = 0;
        std::memcpy(&index, bytes.data() + trianglesAt + 4 * k, 4);
        used.insert(index);
    }
    EXPECT_EQ(used, (std::set<int>{0, 1, 2, 3}));

    // Writing numbered the TIN's own vertices by their place in the points entry.
    std::set<int> ids;
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            ids.insert(t->point(i)->id());
        }
    }
    EXPECT_EQ(ids, (std::set<int>{0, 1, 2, 3}));
}

TEST(TinTinExporterTest, FileRoundTripKeepsTrianglesAndOrientation) {
    const Tin tin = iotest::gridTin(40, 30, 1000.0, 2000.0);
    const std::string path = iotest::scratchFile("grid.tin");
    const TinTinExporter exporter(tin);
    exporter.exportTin(path.c_str());
    EXPECT_EQ(std::filesystem::file_size(path), exporter.size());

    const Tin back = TinTinImporter().importTin(path.c_str());
    EXPECT_EQ(back.pointCount(), 41 * 31);
    EXPECT_EQ(iotest::triangleKeys(back), iotest::triangleKeys(tin));
}

TEST(TinTinImporterTest, ReadTinKnowsEveryNeighbourOfTheWrittenOne) {
    // The triangles are added in one batch after the whole entry is read: the adjacency
    // must still pair every inner edge and leave only the grid's border open.
    const Tin tin = iotest::gridTin(25, 17, -300.0, 40.0);
    const std::string path = iotest::scratchFile("neighbours.tin");
    TinTinExporter().exportTin(path.c_str(), tin);
    const Tin back = TinTinImporter().importTin(path.c_str());

    std::size_t sides = 0;
    std::size_t shared = 0;
    for (const auto& t : back.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            const std::size_t around = back.findTriangleFromEdge(t->edge(i)).size();
            ASSERT_TRUE(around == 1 || around == 2);
            ++sides;
            shared += around == 2 ? 1 : 0;
        }
    }
    EXPECT_EQ(sides, 3u * 2 * 25 * 17);
    EXPECT_EQ(sides - shared, 2u * (25 + 17));
    EXPECT_EQ(back.outerEdges().size(), 2u * (25 + 17));
}

TEST(TinTinExporterTest, NestedArchivesReadBySize) {
    const Tin first = iotest::gridTin(3, 2);
    const Tin second = iotest::gridTin(5, 1, 50.0, 50.0);
    std::ostringstream out;
    Poco::BinaryWriter writer(out, Poco::BinaryWriter::NATIVE_BYTE_ORDER);
    writer << 123456;
    TinTinExporter(first).exportTin(&writer);
    TinTinExporter(second).exportTin(&writer);
    writer << 654321;
    writer.flush();

    std::istringstream in(out.str());
    Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
    int marker = 0;
    reader >> marker;
    const Tin firstBack = TinTinImporter().importTin(&reader, TinTinExporter(first).size());
    const Tin secondBack = TinTinImporter().importTin(&reader, TinTinExporter(second).size());
    reader >> marker;
    EXPECT_EQ(marker, 654321);
    EXPECT_EQ(iotest::triangleKeys(firstBack), iotest::triangleKeys(first));
    EXPECT_EQ(iotest::triangleKeys(secondBack), iotest::triangleKeys(second));
}

TEST(TinTinExporterTest, SizedImportRejectsAWrongSize) {
    const Tin tin = iotest::gridTin(2, 2);
    const std::string bytes = exportToBytes(tin);
    std::istringstream in(bytes);
    Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
    try {
        TinTinImporter().importTin(&reader, bytes.size() + 1);
        FAIL() << "no exception";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_STREQ(e.what(), "Invalid file size");
    }
}

TEST(TinTinImporterTest, IndexOutsideThePointsFails) {
    EXPECT_EQ(readBytes(handMadeArchive(Bytes().i32(0).i32(1).i32(2).data), "good.tin").allTriangles().size(), 1u);
    // The failure names the file, as every other damage of an archive does.
    for (const auto& [triangle, name] : {std::make_pair(Bytes().i32(0).i32(1).i32(3).data, "index3.tin"),
                                         std::make_pair(Bytes().i32(-1).i32(1).i32(2).data, "negative.tin")}) {
        const std::string path = iotest::scratchFile(name);
        try {
            readBytes(handMadeArchive(triangle), name);
            FAIL() << name << ": no exception";
        } catch (const InvalidFileFormatException& e) {
            EXPECT_EQ(e.message(), TinTinImporter::BAD_INDEX);
            EXPECT_EQ(e.fileName(), path);
            EXPECT_EQ(std::string(e.what()), std::string(TinTinImporter::BAD_INDEX) + ": " + path);
        }
    }
}

TEST(TinTinImporterTest, TruncatedTrianglesAreRejectedBeforeUse) {
    // The header announces two triangles; the file ends after one and a half.
    const std::string full = handMadeArchive(Bytes().i32(0).i32(1).i32(2).i32(2).i32(1).i32(0).data);
    const std::size_t trianglesAt = 512 * 2 + 512 * 2 + 512;
    try {
        readBytes(full.substr(0, trianglesAt + 18), "cut.tin");
        FAIL() << "no exception";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(e.message(), "Invalide file format (in readTrianglesContent)");
        EXPECT_EQ(e.fileName(), iotest::scratchFile("cut.tin"));
    }
}

TEST(TinTinImporterTest, PartialTriangleRecordDoesNotMisalignTheEndOfArchive) {
    const Tin tin = readBytes(handMadeArchive(Bytes().i32(0).i32(1).i32(2).data + "\x01\x02\x03\x04\x05"), "partial.tin");
    EXPECT_EQ(tin.allTriangles().size(), 1u);
}

TEST(TinTinImporterTest, BadPointsEntryNamesThePointsContext) {
    const std::string bytes = entry("meta.txt", "x") +
                              entry("coordinatePoints.tpobin", Bytes().header().i32(5).xyz(0, 0, 0).data) +
                              entry("triangles.tribin", "") + std::string(1024, '\0');
    // Read at a reader's position the entry is named; read from a path, the file.
    std::istringstream in(bytes);
    Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
    try {
        TinTinImporter().importTin(&reader);
        FAIL() << "no exception";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_STREQ(e.what(), "Invalid file size: loading points of Tin");
    }
    try {
        readBytes(bytes, "badpoints.tin");
        FAIL() << "no exception";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(e.message(), "Invalid file size");
        EXPECT_EQ(e.fileName(), iotest::scratchFile("badpoints.tin"));
    }
}

TEST(TinTinImporterTest, DamagedArchivesAreRejected) {
    const std::string good = exportToBytes(iotest::gridTin(2, 2));
    std::string badHeader = good;
    badHeader[512 * 2 + 3] ^= 0x20; // a byte of the points entry's name
    EXPECT_THROW(readBytes(badHeader, "badheader.tin"), InvalidFileFormatException);
    EXPECT_THROW(readBytes(good.substr(0, good.size() - 100), "noend.tin"), InvalidFileFormatException);
    EXPECT_THROW(readBytes("", "zero.tin"), InvalidFileFormatException);
    EXPECT_THROW(readBytes(std::string(4000, 'x'), "text.tin"), InvalidFileFormatException);
}

TEST(TinTinExporterTest, ExporterWithoutTinRefusesHeldTinOperations) {
    const TinTinExporter exporter;
    EXPECT_THROW(exporter.size(), common::exception::RuntimeException);
    EXPECT_THROW(exporter.exportTin(iotest::scratchFile("none.tin").c_str()), common::exception::RuntimeException);
}

TEST(TinTinExporterTest, ALargeTinWithFreedSlotsIsWrittenInItsOwnOrder) {
    // Enough triangles for the corner numbers to be collected piecewise on helper threads, and
    // holes in the set: read back, the triangles come in the order the set gives them, each
    // with its own corners.
    Tin tin = iotest::gridTin(420, 400, 500.0, 700.0);
    std::vector<std::shared_ptr<tin::core::Triangle>> doomed;
    std::size_t k = 0;
    for (const auto& triangle : tin.allTriangles()) {
        if (k++ % 7 == 3) {
            doomed.push_back(triangle);
        }
    }
    for (const auto& triangle : doomed) {
        tin.removeTriangle(triangle);
    }
    doomed.clear();
    ASSERT_GT(tin.allTriangles().slotCount(), 4u * 65536u);

    auto corners = [](const Tin& t) {
        std::vector<std::array<double, 9>> out;
        for (const auto& triangle : t.allTriangles()) {
            std::array<double, 9> c{};
            for (int i = 0; i < 3; ++i) {
                c[3 * i] = triangle->point(i)->x();
                c[3 * i + 1] = triangle->point(i)->y();
                c[3 * i + 2] = triangle->point(i)->elevation();
            }
            out.push_back(c);
        }
        return out;
    };
    const std::string bytes = exportToBytes(tin);
    EXPECT_EQ(bytes.size(), TinTinExporter::size(tin));
    const Tin back = readBytes(bytes, "holes.tin");
    EXPECT_EQ(corners(back), corners(tin));
    // Written twice, the same bytes.
    EXPECT_EQ(exportToBytes(tin), bytes);
}

// A TIN saved, then read back when only other points are alive (a project opened again: the
// base TIN read first), gives its own values bit for bit: a vertex a unit in the last place
// above another point's elevation keeps its elevation, and one whose elevation is below the
// factory's snap keeps it; a vertex holding a live point's very values is that point.
TEST(TinTinImporterTest, ReadBackKeepsEveryValueBitForBitBesideNearLivePoints) {
    auto& factory = tin::core::PointFactory::instance();
    const auto below = factory.factory(Point(1005, 1005, 1.0));  // alive beside the TIN
    const auto shared = factory.factory(Point(1000, 1000, 3.0)); // a vertex of the TIN too
    const std::string path = iotest::scratchFile("near.tin");
    std::set<std::array<double, 3>> written;
    {
        // Made apart from the live ones, then given their values in place, as an edit does.
        const auto above = factory.factory(Point(1005, 1005, 1.5));
        above->setElevation(std::nextafter(1.0, 2.0));
        const auto tiny = factory.factory(Point(1010, 1000, 1.0));
        tiny->setElevation(5e-11);
        const auto far = factory.factory(Point(1000, 1010, -4.25));
        Tin tin;
        tin.addTriangle(shared, tiny, above);
        tin.addTriangle(shared, above, far);
        TinTinExporter().exportTin(path.c_str(), tin);
        for (const auto& triangle : tin.allTriangles()) {
            for (int v = 0; v < 3; ++v) {
                const auto& p = triangle->point(v);
                written.insert({p->x(), p->y(), p->elevation()});
            }
        }
    }
    const Tin read = TinTinImporter().importTin(path.c_str());
    std::set<std::array<double, 3>> back;
    bool sharesTheLivePoint = false;
    for (const auto& triangle : read.allTriangles()) {
        for (int v = 0; v < 3; ++v) {
            const auto& p = triangle->point(v);
            back.insert({p->x(), p->y(), p->elevation()});
            EXPECT_NE(p, below) << "a vertex took the values of the point below it";
            sharesTheLivePoint |= p == shared;
        }
    }
    EXPECT_EQ(back, written);
    EXPECT_TRUE(sharesTheLivePoint);
}
