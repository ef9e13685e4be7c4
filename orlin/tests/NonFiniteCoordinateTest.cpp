// The binary readers refuse a NaN or infinite coordinate or elevation with a format error
// naming the file, at the first record and past the factory's prefetch distance alike;
// a TIN archive read from a path names that path in every format error. The writers refuse
// what their readers would refuse, and the file that was there stays.

#include "IoTestSupport.h"

#include "common/exception/InvalidFileFormatException.h"
#include "orlin/core/PointSet.h"
#include "orlin/io/BinPointContainerExporter.h"
#include "orlin/io/BinPointSetImporter.h"
#include "orlin/io/BinPointVectorImporter.h"
#include "orlin/io/BinPolygonExporter.h"
#include "orlin/io/BinPolygonImporter.h"
#include "orlin/io/BinPolylineExporter.h"
#include "orlin/io/NonFiniteValueException.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/StlTinImporter.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

using common::exception::InvalidFileFormatException;

namespace {

const double NOT_FINITE[] = {std::nan(""), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};

template <typename T>
void patch(std::string& bytes, std::size_t offset, T value) {
    ASSERT_LE(offset + sizeof value, bytes.size());
    std::memcpy(&bytes[offset], &value, sizeof value);
}

// Runs read(path) and expects a format error whose file name is path.
void expectRefused(const std::string& path, const std::function<void(const char*)>& read) {
    try {
        read(path.c_str());
        ADD_FAILURE() << "a non-finite value was read from " << path;
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(e.fileName(), path) << e.what();
    }
}

// The bytes of a file written by save(path).
std::string written(const std::string& name, const std::function<void(const char*)>& save) {
    const std::string path = iotest::scratchFile(name);
    save(path.c_str());
    return iotest::readFile(path);
}

} // namespace

TEST(NonFiniteCoordinateTest, BinaryPointFileAndTinArchiveRefuseNonFiniteValues) {
    const tin::core::Tin tin = iotest::gridTin(6, 5); // 42 vertices
    const std::string archive = written("clean.tin", [&](const char* p) { tin::io::TinTinExporter().exportTin(p, tin); });
    std::vector<std::shared_ptr<tin::core::Point>> points;
    for (int i = 0; i < 40; ++i) {
        points.push_back(std::make_shared<tin::core::Point>(i, i * 0.5, 1.0));
    }
    const std::string block = written("clean.tpobin", [&](const char* p) {
        tin::io::BinPointContainerExporter().exportPoints(p, points.begin(), points.end(), 40);
    });
    // Records start after the entry's 64-byte header and the count.
    const std::size_t archiveRecords = archive.find("Points binary file") + 68;
    const std::size_t blockRecords = 68;

    for (const double bad : NOT_FINITE) {
        for (const int record : {0, 20}) {
            for (const int field : {0, 1, 2}) {
                SCOPED_TRACE(testing::Message() << bad << " in record " << record << " field " << field);
                std::string damaged = archive;
                patch(damaged, archiveRecords + 24 * record + 8 * field, bad);
                const std::string tinPath = iotest::scratchFile("bad.tin");
                iotest::writeFile(tinPath, damaged);
                expectRefused(tinPath, [](const char* p) { tin::io::TinTinImporter().importTin(p); });

                damaged = block;
                patch(damaged, blockRecords + 24 * record + 8 * field, bad);
                const std::string pointPath = iotest::scratchFile("bad.tpobin");
                iotest::writeFile(pointPath, damaged);
                expectRefused(pointPath, [](const char* p) { tin::io::BinPointSetImporter().importPointSet(p); });
                expectRefused(pointPath, [](const char* p) { tin::io::BinPointVectorImporter().importPointVector(p); });
            }
        }
    }
    // A 2-D point list (polygon) with a non-finite vertex.
    const std::string polygonPath = iotest::scratchFile("bad.pol");
    iotest::writeFile(polygonPath, iotest::Bytes().i32(3).f64(0).f64(0).f64(1).f64(NOT_FINITE[1]).f64(0).f64(1).data);
    expectRefused(polygonPath, [](const char* p) { delete tin::io::BinPolygonImporter().importPolygon(p); });
}

TEST(NonFiniteCoordinateTest, BinaryStlRefusesNonFiniteCorners) {
    const tin::core::Tin tin = iotest::gridTin(6, 5); // 60 facets
    const std::string stl = written("clean.stl", [&](const char* p) {
        tin::io::StlTinExporter(tin::io::STL_BINARY).exportTin(p, tin);
    });
    for (const double bad : NOT_FINITE) {
        for (const int facet : {0, 20}) {
            for (const int value : {0, 4, 8}) {
                SCOPED_TRACE(testing::Message() << bad << " in facet " << facet << " value " << value);
                std::string damaged = stl;
                // Facets follow the 80-byte header and the count; corners follow the normal.
                patch(damaged, 84 + 50 * facet + 12 + 4 * value, static_cast<float>(bad));
                const std::string path = iotest::scratchFile("bad.stl");
                iotest::writeFile(path, damaged);
                expectRefused(path, [](const char* p) { tin::io::StlTinImporter().importTin(p); });
            }
        }
    }
}

// The archive's errors name the path they were read from, with their own texts.
TEST(NonFiniteCoordinateTest, ArchiveReadFromAPathNamesItInEveryFormatError) {
    const tin::core::Tin tin = iotest::gridTin(2, 2);
    std::string bytes = written("named.tin", [&](const char* p) { tin::io::TinTinExporter().exportTin(p, tin); });
    const std::string path = iotest::scratchFile("short.tin");
    iotest::writeFile(path, bytes.substr(0, bytes.find("Points binary file") + 80));
    try {
        tin::io::TinTinImporter().importTin(path.c_str());
        FAIL() << "a cut archive was read";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(e.fileName(), path);
        EXPECT_EQ(e.message(), "Invalid file format");
    }
}

// Whatever a writer would put in a file that its reader then refuses, it does not write: the
// file already there keeps its bytes (and so reads back), whether the value is the first or
// the last, a coordinate or an elevation.
TEST(NonFiniteCoordinateTest, WritersRefuseWhatTheirReadersRefuseAndKeepTheEarlierFile) {
    const std::string tinPath = iotest::scratchFile("kept.tin");
    const std::string pointPath = iotest::scratchFile("kept.tpobin");
    const std::string polygonPath = iotest::scratchFile("kept.pol");
    const tin::core::Tin good = iotest::gridTin(3, 3);
    std::vector<std::shared_ptr<tin::core::Point>> points;
    for (int i = 0; i < 5; ++i) {
        points.push_back(std::make_shared<tin::core::Point>(i, -i, 2.0 * i));
    }
    std::vector<tin::core::Point2D> ring{{0, 0, -1}, {4, 0, -1}, {0, 4, -1}};
    tin::io::TinTinExporter().exportTin(tinPath.c_str(), good);
    tin::io::BinPointContainerExporter().exportPoints(pointPath.c_str(), points.begin(), points.end(), 5);
    tin::io::BinPolygonExporter().exportPolygon(polygonPath.c_str(), tin::core::Polygon(ring));
    const std::string tinBytes = iotest::readFile(tinPath);
    const std::string pointBytes = iotest::readFile(pointPath);
    const std::string polygonBytes = iotest::readFile(polygonPath);

    for (const double bad : NOT_FINITE) {
        for (const int at : {0, 4}) {
            for (const int field : {0, 1, 2}) {
                SCOPED_TRACE(testing::Message() << bad << " at " << at << " field " << field);
                std::vector<std::shared_ptr<tin::core::Point>> spoilt;
                for (const auto& p : points) {
                    spoilt.push_back(std::make_shared<tin::core::Point>(*p));
                }
                tin::core::Point& p = *spoilt[static_cast<std::size_t>(at)];
                if (field == 2) {
                    p.setElevation(bad);
                } else {
                    p = tin::core::Point(field == 0 ? bad : p.x(), field == 1 ? bad : p.y(), p.elevation());
                }
                EXPECT_THROW(tin::io::BinPointContainerExporter().exportPoints(pointPath.c_str(), spoilt.begin(),
                                                                               spoilt.end(), 5),
                             tin::io::NonFiniteValueException);
                EXPECT_EQ(iotest::readFile(pointPath), pointBytes);

                if (field < 2) {
                    std::vector<tin::core::Point2D> vertices = ring;
                    const auto k = static_cast<std::size_t>(at % 3);
                    vertices[k] = tin::core::Point2D(field == 0 ? bad : vertices[k].x(),
                                                     field == 1 ? bad : vertices[k].y(), -1);
                    EXPECT_THROW(tin::io::BinPolygonExporter().exportPolygon(polygonPath.c_str(),
                                                                             tin::core::Polygon(vertices)),
                                 tin::io::NonFiniteValueException);
                    EXPECT_THROW(tin::io::BinPolylineExporter().exportPolyline(polygonPath.c_str(),
                                                                               tin::core::Polyline(vertices)),
                                 tin::io::NonFiniteValueException);
                    EXPECT_EQ(iotest::readFile(polygonPath), polygonBytes);
                }
            }
        }
        // A TIN one of whose vertices lost its elevation.
        tin::core::Tin spoilt = iotest::gridTin(3, 3);
        const std::shared_ptr<tin::core::Triangle> corner = *spoilt.allTriangles().begin();
        const double kept = corner->point1()->elevation();
        corner->point1()->setElevation(bad);
        EXPECT_THROW(tin::io::TinTinExporter().exportTin(tinPath.c_str(), spoilt), tin::io::NonFiniteValueException);
        corner->point1()->setElevation(kept);
        EXPECT_EQ(iotest::readFile(tinPath), tinBytes);
    }
    EXPECT_EQ(tin::io::TinTinImporter().importTin(tinPath.c_str()).allTriangles().size(), good.allTriangles().size());
}
