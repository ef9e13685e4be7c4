// Binary polygon and polyline files: layout, interchangeability, size checks, and files left
// alone when they hold what would be written.

#include "IoTestSupport.h"

#include "common/exception/InvalidFileFormatException.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/io/BinPoint2DListFile.h"
#include "orlin/io/BinPoint2DListReads.h"
#include "orlin/io/BinPolygonExporter.h"
#include "orlin/io/BinPolygonImporter.h"
#include "orlin/io/BinPolylineExporter.h"
#include "orlin/io/BinPolylineImporter.h"
#include "orlin/support/LaneThreads.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

using common::exception::InvalidFileFormatException;
using iotest::Bytes;
using tin::core::Point2D;
using tin::io::BinPolygonExporter;
using tin::io::BinPolygonImporter;
using tin::io::BinPolylineExporter;
using tin::io::BinPolylineImporter;

namespace {

std::string expectInvalid(const std::string& name, const std::string& bytes) {
    const std::string path = iotest::scratchFile(name);
    iotest::writeFile(path, bytes);
    try {
        std::unique_ptr<tin::core::Polygon>(BinPolygonImporter().importPolygon(path.c_str()));
        ADD_FAILURE() << "no exception for " << name;
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(e.fileName(), path);
        return e.message();
    }
    return {};
}

} // namespace

TEST(BinPolygonImporterTest, TrianglePolygonFileIs52BytesAndReadsBack) {
    const tin::core::Polygon triangle({Point2D(0.5, 1.5, 7), Point2D(10.25, 1.5, 8), Point2D(3, -4.75, 9)});
    const std::string path = iotest::scratchFile("triangle.bpl");
    BinPolygonExporter().exportPolygon(path.c_str(), triangle);
    EXPECT_EQ(iotest::readFile(path), Bytes().i32(3).f64(0.5).f64(1.5).f64(10.25).f64(1.5).f64(3).f64(-4.75).data);

    std::unique_ptr<tin::core::Polygon> back(BinPolygonImporter().importPolygon(path.c_str()));
    ASSERT_EQ(back->pointsCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back->points()[i].x(), triangle.points()[i].x());
        EXPECT_EQ(back->points()[i].y(), triangle.points()[i].y());
        EXPECT_EQ(back->points()[i].id(), -1);
    }
}

TEST(BinPolygonImporterTest, PolygonAndPolylineFilesAreInterchangeable) {
    const std::vector<Point2D> vertices = {Point2D(0, 0), Point2D(4, 0), Point2D(4, 3), Point2D(0, 3)};
    const std::string polygonPath = iotest::scratchFile("shape.polygon");
    const std::string polylinePath = iotest::scratchFile("shape.polyline");
    BinPolygonExporter().exportPolygon(polygonPath.c_str(), tin::core::Polygon(vertices));
    BinPolylineExporter().exportPolyline(polylinePath.c_str(), tin::core::Polyline(vertices));
    EXPECT_EQ(iotest::readFile(polygonPath), iotest::readFile(polylinePath));
    std::unique_ptr<tin::core::Polyline> line(BinPolylineImporter().importPolyline(polygonPath.c_str()));
    std::unique_ptr<tin::core::Polygon> ring(BinPolygonImporter().importPolygon(polylinePath.c_str()));
    EXPECT_EQ(line->points(), vertices);
    EXPECT_EQ(ring->points(), vertices);
}

TEST(BinPolygonImporterTest, CountMustMatchTheFileSize) {
    const std::string good = Bytes().i32(2).f64(1).f64(2).f64(3).f64(4).data;
    EXPECT_EQ(expectInvalid("truncated.bpl", good.substr(0, good.size() - 8)), "Invalid file size");
    EXPECT_EQ(expectInvalid("oversized.bpl", good + std::string(16, '\0')), "Invalid file size");
    // A huge count over a few bytes must neither reserve nor read past the data.
    EXPECT_EQ(expectInvalid("hugecount.bpl", Bytes().i32(1000000000).f64(1).f64(2).data), "Invalid file size");
    EXPECT_EQ(expectInvalid("tiny.bpl", "ab"), "Invalid file size");
    EXPECT_EQ(expectInvalid("negative-with-data.bpl", Bytes().i32(-1).f64(1).f64(2).data), "Invalid file size");
    // A count of zero or less without data: no vertices.
    for (int count : {0, -3}) {
        const std::string path = iotest::scratchFile("none" + std::to_string(count) + ".bpl");
        iotest::writeFile(path, Bytes().i32(count).data);
        EXPECT_EQ(std::unique_ptr<tin::core::Polygon>(BinPolygonImporter().importPolygon(path.c_str()))->pointsCount(), 0);
    }
}

// A project saved again writes only the geometry that changed: a file that holds the very
// bytes is left as it is (the same file, not a copy renamed over it), any other is replaced.
TEST(BinPolygonImporterTest, AFileHoldingTheSameShapeIsNotWrittenAgain) {
    namespace fs = std::filesystem;
    const std::string path = iotest::scratchFile("kept.polyline");
    fs::remove(path);
    std::vector<Point2D> vertices = {Point2D(0, 0), Point2D(500, 1), Point2D(1000, 0)};
    BinPolylineExporter().exportPolyline(path.c_str(), tin::core::Polyline(vertices));
    const auto identity = [&path] {
        struct stat status {};
        EXPECT_EQ(::stat(path.c_str(), &status), 0);
        return status.st_ino;
    };
    const auto first = identity();
    const std::string bytes = iotest::readFile(path);

    BinPolylineExporter().exportPolyline(path.c_str(), tin::core::Polyline(vertices));
    EXPECT_EQ(identity(), first) << "the same bytes: the file stays";
    EXPECT_EQ(iotest::readFile(path), bytes);

    // One coordinate changed (same size) and a file cut short are written anew.
    vertices[1] = Point2D(500, 2);
    BinPolylineExporter().exportPolyline(path.c_str(), tin::core::Polyline(vertices));
    EXPECT_NE(identity(), first);
    std::unique_ptr<tin::core::Polyline> back(BinPolylineImporter().importPolyline(path.c_str()));
    EXPECT_EQ(back->points(), vertices);
    const std::string changed = iotest::readFile(path);
    iotest::writeFile(path, changed.substr(0, changed.size() - 8));
    BinPolylineExporter().exportPolyline(path.c_str(), tin::core::Polyline(vertices));
    EXPECT_EQ(iotest::readFile(path), changed);
}

// Many files read side by side come back as read() gives each, in the order asked, whatever
// the number of helper threads: the vertices, a missing file as missing (a dangling link is
// there), and a damaged one with read()'s own exception.
TEST(BinPolygonImporterTest, ManyFilesReadSideBySideAsOneByOne) {
    const std::string folder = iotest::scratchFile("many");
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < 1000; ++i) {
        const std::string path = folder + "/geodata" + std::to_string(i) + ".dat";
        paths.push_back(path);
        if (i % 97 == 5) {
            continue; // missing
        }
        if (i == 700) {
            iotest::writeFile(path, Bytes().i32(2).f64(1).data); // short
            continue;
        }
        if (i == 333) {
            std::filesystem::create_symlink(folder + "/nowhere", path);
            continue;
        }
        BinPolylineExporter().exportPolyline(
            path.c_str(), tin::core::Polyline({Point2D(i, 0.5), Point2D(-i, 1e300), Point2D(0, i * 0.1)}));
    }
    for (const int threads : {0, 1, 2}) {
        SCOPED_TRACE(threads);
        tin::support::LaneThreads::setForTests(threads);
        const std::vector<tin::io::BinPoint2DListFile::Read> reads =
            tin::io::BinPoint2DListFile::readMany(paths);
        // Begun, with the caller busy elsewhere meanwhile, and taken later: the same reads.
        std::vector<tin::io::BinPoint2DListFile::Read> later;
        {
            tin::io::BinPoint2DListReads reading(paths);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            later = reading.take();
        }
        { tin::io::BinPoint2DListReads dropped(paths); } // stops and waits for its helpers
        tin::support::LaneThreads::setForTests(-1);
        ASSERT_EQ(reads.size(), paths.size());
        ASSERT_EQ(later.size(), paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(later[i].missing, reads[i].missing) << i;
            EXPECT_EQ(bool(later[i].failure), bool(reads[i].failure)) << i;
            ASSERT_EQ(later[i].points.size(), reads[i].points.size()) << i;
            for (std::size_t k = 0; k < later[i].points.size(); ++k) {
                EXPECT_EQ(later[i].points[k].x(), reads[i].points[k].x()) << i;
                EXPECT_EQ(later[i].points[k].y(), reads[i].points[k].y()) << i;
            }
        }
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const auto& read = reads[i];
            if (i % 97 == 5) {
                EXPECT_TRUE(read.missing && !read.failure) << i;
                continue;
            }
            EXPECT_FALSE(read.missing) << i;
            if (i == 700 || i == 333) {
                ASSERT_TRUE(read.failure) << i;
                try {
                    std::rethrow_exception(read.failure);
                } catch (const std::exception& e) {
                    const std::string expected = [&] {
                        try {
                            tin::io::BinPoint2DListFile::read(paths[i].c_str());
                        } catch (const std::exception& direct) {
                            return std::string(direct.what());
                        }
                        return std::string();
                    }();
                    EXPECT_EQ(std::string(e.what()), expected) << i;
                }
                continue;
            }
            ASSERT_FALSE(read.failure) << i;
            const std::vector<Point2D> one = tin::io::BinPoint2DListFile::read(paths[i].c_str());
            ASSERT_EQ(read.points.size(), 3u) << i;
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_EQ(read.points[k].x(), one[k].x());
                EXPECT_EQ(read.points[k].y(), one[k].y());
            }
            EXPECT_EQ(read.points[0].x(), double(i));
        }
    }
}
