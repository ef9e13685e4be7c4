// The binary point block: its writer, and the size rules shared by the three readers.

#include "IoTestSupport.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointSet.h"
#include "orlin/io/BinPointContainerExporter.h"
#include "orlin/io/BinPointPtrVectorImporter.h"
#include "orlin/io/BinPointSetImporter.h"
#include "orlin/io/BinPointVectorImporter.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

using common::exception::InvalidFileFormatException;
using iotest::Bytes;
using tin::core::Point;
using tin::io::BinPointContainerExporter;
using tin::io::BinPointPtrVectorImporter;
using tin::io::BinPointSetImporter;
using tin::io::BinPointVectorImporter;

namespace {

// Runs every reader on the file and expects the same failure text from each.
void expectAllReadersFail(const std::string& path, const std::string& message) {
    auto check = [&](auto&& read) {
        try {
            read();
            ADD_FAILURE() << "no exception for " << message;
        } catch (const InvalidFileFormatException& e) {
            EXPECT_EQ(e.message(), message);
            EXPECT_EQ(e.fileName(), path);
        }
    };
    check([&] { BinPointSetImporter().importPointSet(path.c_str()); });
    check([&] { BinPointVectorImporter().importPointVector(path.c_str()); });
    check([&] { BinPointPtrVectorImporter().importPointPtrVector(path.c_str()); });
}

} // namespace

TEST(BinPointContainerExporterTest, BlockBytesMatchTheLayout) {
    const std::vector<std::shared_ptr<Point>> points = {std::make_shared<Point>(1.5, -2.25, 100.0),
                                                        std::make_shared<Point>(1e6, 2e6, -0.5)};
    std::ostringstream out;
    Poco::BinaryWriter writer(out, Poco::BinaryWriter::NATIVE_BYTE_ORDER);
    BinPointContainerExporter().writePoints(writer, points.begin(), points.end(), -1);
    writer.flush();
    EXPECT_EQ(out.str(), Bytes().header().i32(-1).xyz(1.5, -2.25, 100.0).xyz(1e6, 2e6, -0.5).data);
}

TEST(BinPointContainerExporterTest, RenumberedSetRoundTripsWithTheSameIds) {
    std::vector<std::shared_ptr<Point>> points;
    for (int i = 0; i < 3000; ++i) { // more than one write chunk
        points.push_back(std::make_shared<Point>(i * 0.5, -i * 0.25, i % 7, i));
    }
    const std::string path = iotest::scratchFile("renumbered.tpobin");
    BinPointContainerExporter().exportPoints(path.c_str(), points.begin(), points.end(), -1);
    EXPECT_EQ(std::filesystem::file_size(path), 64u + 4u + 24u * points.size());

    const tin::core::PointSet set = BinPointSetImporter().importPointSet(path.c_str());
    const auto read = set.allPoints();
    ASSERT_EQ(read.size(), points.size());
    for (const auto& p : read) {
        ASSERT_GE(p->id(), 0);
        ASSERT_LT(p->id(), 3000);
        const auto& original = points[static_cast<std::size_t>(p->id())];
        EXPECT_EQ(p->x(), original->x());
        EXPECT_EQ(p->y(), original->y());
        EXPECT_EQ(p->elevation(), original->elevation());
    }
}

TEST(BinPointBlockReaderTest, EmptyBlocksReadAsEmptyResults) {
    for (int count : {0, -1}) {
        const std::string path = iotest::scratchFile("empty" + std::to_string(count) + ".tpobin");
        iotest::writeFile(path, Bytes().header().i32(count).data);
        EXPECT_TRUE(BinPointSetImporter().importPointSet(path.c_str()).empty());
        EXPECT_TRUE(BinPointVectorImporter().importPointVector(path.c_str()).empty());
        EXPECT_TRUE(BinPointPtrVectorImporter().importPointPtrVector(path.c_str()).empty());
    }
}

TEST(BinPointBlockReaderTest, NegativeCountTakesWholeRecordsAndIgnoresTheRest) {
    const std::string path = iotest::scratchFile("derived.tpobin");
    iotest::writeFile(path, Bytes().header().i32(-1).xyz(0, 0, 1).xyz(1, 0, 2).xyz(0, 1, 3).zeros(10).data);
    const auto points = BinPointVectorImporter().importPointVector(path.c_str());
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].elevation(), 3.0);
}

TEST(BinPointBlockReaderTest, GivenCountMustMatchTheSizeExactly) {
    const std::string extra = iotest::scratchFile("extra.tpobin");
    iotest::writeFile(extra, Bytes().header().i32(2).xyz(0, 0, 1).xyz(1, 0, 2).zeros(10).data);
    expectAllReadersFail(extra, "Invalid file size");

    const std::string missing = iotest::scratchFile("missing.tpobin");
    Bytes fourOfFive;
    fourOfFive.header().i32(5);
    for (int i = 0; i < 4; ++i) {
        fourOfFive.xyz(i, i, i);
    }
    iotest::writeFile(missing, fourOfFive.data);
    expectAllReadersFail(missing, "Invalid file size");

    try {
        BinPointVectorImporter().importPointVector(missing.c_str());
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(std::string(e.what()), "Invalid file size: " + missing);
    }
}

TEST(BinPointBlockReaderTest, BlockTooShortForCountIsInvalidFileSizeEvenWithNegativeCount) {
    // Header plus two bytes of a -1 count: the derived count must not wrap around.
    const std::string path = iotest::scratchFile("short.tpobin");
    iotest::writeFile(path, Bytes().header().data + std::string("\xff\xff", 2));
    expectAllReadersFail(path, "Invalid file size");

}

TEST(BinPointBlockReaderTest, NestedBlockIsReadToItsSizeAndCutShortIsInvalidFileFormat) {
    // -1 count, one record and 10 stray bytes inside the block, then the caller's data.
    for (int stray : {0, 10}) {
        const std::string bytes = Bytes().header().i32(-1).xyz(4, 5, 6).zeros(stray).i32(0x12345678).data;
        std::istringstream in(bytes);
        Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
        EXPECT_EQ(BinPointVectorImporter().importPointVector(&reader, 64 + 4 + 24 + stray, "nested").size(), 1u);
        int next = 0;
        reader >> next;
        EXPECT_EQ(next, 0x12345678) << stray;
    }
    // The caller announces a size that fits the count, but the stream ends early.
    std::istringstream in(Bytes().header().i32(3).xyz(0, 0, 0).xyz(1, 1, 1).data);
    Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
    try {
        BinPointVectorImporter().importPointVector(&reader, 64 + 4 + 3 * 24, "nested points");
        FAIL() << "no exception";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_STREQ(e.what(), "Invalid file format: nested points");
    }
}

TEST(BinPointBlockReaderTest, SetReaderNumbersRecordsAndMergesDuplicates) {
    const std::string path = iotest::scratchFile("dups.tpobin");
    iotest::writeFile(path,
                      Bytes().header().i32(4).xyz(10, 20, 1).xyz(11, 20, 2).xyz(10, 20, 1).xyz(12, 20, 3).data);
    std::vector<std::shared_ptr<Point>> records;
    const tin::core::PointSet set = BinPointSetImporter().importPointSet(path.c_str(), &records);
    std::map<double, int> idByX;
    for (const auto& p : set.allPoints()) {
        idByX[p->x()] = p->id();
    }
    EXPECT_EQ(idByX, (std::map<double, int>{{10, 2}, {11, 1}, {12, 3}})); // the later record's index
    // Each record names the set's point it was read as, the repeat the same one.
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0], records[2]);
    for (const auto& p : records) {
        EXPECT_TRUE(set.hasPoint(p));
    }
    EXPECT_EQ(records[3]->id(), 3);
    // The vector reader keeps the repeat, without ids.
    const auto points = BinPointVectorImporter().importPointVector(path.c_str());
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[2].id(), Point::UNDEFINED_ID);
}

TEST(BinPointBlockReaderTest, PtrVectorReaderSharesLivePointsAndKeepsTheirIds) {
    const auto live = tin::core::PointFactory::instance().factory(Point(777.125, 888.5, 9.75), false);
    live->setId(42);
    const std::string path = iotest::scratchFile("shared.tpobin");
    iotest::writeFile(path, Bytes().header().i32(2).xyz(777.125, 888.5, 9.75).xyz(777.125, 888.5, 9.75).data);
    const auto points = BinPointPtrVectorImporter().importPointPtrVector(path.c_str());
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], live);
    EXPECT_EQ(points[1], live);
    EXPECT_EQ(live->id(), 42);
}

TEST(BinPointBlockReaderTest, MissingFileNamesThePath) {
    const std::string path = iotest::scratchFile("does-not-exist.tpobin");
    EXPECT_THROW(BinPointSetImporter().importPointSet(path.c_str()), common::exception::FileOpenException);
    EXPECT_THROW(BinPointVectorImporter().importPointVector(path.c_str()), common::exception::FileOpenException);
}
