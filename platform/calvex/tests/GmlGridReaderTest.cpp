#include "CalvexTestSupport.h"
#include "GmlGridReader.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

using calvextest::DemFixture;
using common::exception::InvalidFileFormatException;
using tingml::io::GmlGridCoverage;
using tingml::io::GmlGridReader;

namespace {

using Cell = std::array<double, 3>; // longitude, latitude, elevation

class GmlGridReaderTest : public ::testing::Test {
protected:
    QString write(const std::string& bytes, const QString& name = "dem.xml")
    {
        const QString path = m_dir.filePath(name);
        calvextest::writeFile(path, bytes);
        return path;
    }

    std::optional<GmlGridCoverage> read(const DemFixture& fixture)
    {
        return GmlGridReader::read(write(fixture.xml()), "dem.xml");
    }

    static std::vector<Cell> points(const GmlGridCoverage& grid, int step = 1)
    {
        std::vector<Cell> cells;
        grid.forEachPoint(step, [&](double lon, double lat, double z) { cells.push_back({lon, lat, z}); });
        return cells;
    }

    static void expectCells(const std::vector<Cell>& actual, const std::vector<Cell>& expected)
    {
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < actual.size(); ++i) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(actual[i][k], expected[i][k], 1e-12) << "point " << i << " coordinate " << k;
            }
        }
    }

    QTemporaryDir m_dir;
};

// Cells of the default fixture: 0.1 degree square, cell (1, 0), (1, 1) and (2, 1) with data.
const std::vector<Cell> FIXTURE_POINTS = {{139.15, 35.15, 10.5}, {139.15, 35.05, 3.25}, {139.25, 35.05, -1.5}};

// Every cell of the fixture's 3 x 2 grid in "+x-y" order, with the given elevations.
std::vector<Cell> wholeGrid(const std::array<double, 6>& z)
{
    return {{139.05, 35.15, z[0]}, {139.15, 35.15, z[1]}, {139.25, 35.15, z[2]},
            {139.05, 35.05, z[3]}, {139.15, 35.05, z[4]}, {139.25, 35.05, z[5]}};
}

TEST_F(GmlGridReaderTest, PointsSitAtCellCentresFromTheStartPointWithoutNoData)
{
    const auto grid = read(DemFixture());
    ASSERT_TRUE(grid);
    expectCells(points(*grid), FIXTURE_POINTS);

    DemFixture windows;
    windows.bom = true;
    windows.crlf = true;
    const auto same = read(windows);
    ASSERT_TRUE(same);
    expectCells(points(*same), FIXTURE_POINTS);
}

TEST_F(GmlGridReaderTest, ListEndingEarlyLeavesTheRestWithoutDataAndTooManyTuplesAreRefused)
{
    DemFixture early;
    early.tuples = "地表面,10.5\n地表面,11.5\n";
    const auto grid = read(early);
    ASSERT_TRUE(grid);
    expectCells(points(*grid), {{139.15, 35.15, 10.5}, {139.25, 35.15, 11.5}});

    // Five cells from (1, 0) on: a sixth tuple has no cell.
    DemFixture tooMany;
    tooMany.tuples += "地表面,2.0\n";
    try {
        read(tooMany);
        FAIL() << "six tuples for five cells were read";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_NE(std::string(e.what()).find("more tuples (6) than grid cells from the start point (5)"),
                  std::string::npos)
            << e.what();
        EXPECT_EQ(e.fileName(), "dem.xml");
    }
}

TEST_F(GmlGridReaderTest, StepCountsCellsFromTheGridsLowCorner)
{
    // Counted from the start point (1, 0), a step of 2 would keep (1, 0); from the corner it
    // keeps (0, 0) and (2, 0), neither of which has a point.
    const auto fixture = read(DemFixture());
    ASSERT_TRUE(fixture);
    EXPECT_TRUE(points(*fixture, 2).empty());

    DemFixture square;
    square.upper = "35.4 139.4";
    square.high = "3 3";
    square.start.reset();
    square.tuples.clear();
    for (int i = 0; i < 16; ++i) {
        square.tuples += "地表面," + std::to_string(i) + "\n";
    }
    const auto grid = read(square);
    ASSERT_TRUE(grid);
    expectCells(points(*grid, 2), {{139.05, 35.35, 0}, {139.25, 35.35, 2}, {139.05, 35.15, 8}, {139.25, 35.15, 10}});
    expectCells(points(*grid, 3), {{139.05, 35.35, 0}, {139.35, 35.35, 3}, {139.05, 35.05, 12}, {139.35, 35.05, 15}});
}

TEST_F(GmlGridReaderTest, WithoutStartPointTheListBeginsAtTheLowCornerAndTextInPiecesIsJoined)
{
    // A comment and a CDATA section split the list's text into several pieces, within lines;
    // the last line has no line end.
    DemFixture pieces;
    pieces.start.reset();
    pieces.tuples = "地表面,1\n地表面,2<!-- a comment -->5\n<![CDATA[その他,3\n地表]]>面,4\n地表面,5\n 地表面 , 6 ";
    const auto grid = read(pieces);
    ASSERT_TRUE(grid);
    expectCells(points(*grid), wholeGrid({1, 25, 3, 4, 5, 6}));
}

TEST_F(GmlGridReaderTest, ContentWithoutElevationGridGivesNothing)
{
    const std::string other = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Dataset xmlns:gml=\"http://www.opengis.net/gml/3.2\"><WL><gml:boundedBy><gml:Envelope>"
        "<gml:lowerCorner>35 139</gml:lowerCorner><gml:upperCorner>36 140</gml:upperCorner>"
        "</gml:Envelope></gml:boundedBy><gml:posList>35.1 139.1 35.2 139.2</gml:posList></WL></Dataset>\n";
    EXPECT_FALSE(GmlGridReader::read(write(other), "line.xml"));
    EXPECT_THROW(GmlGridReader::read(m_dir.filePath("absent.xml"), "absent.xml"),
                 common::exception::FileOpenException);
}

TEST_F(GmlGridReaderTest, FaultsAreRefusedNamingTheFile)
{
    struct Fault {
        const char* what;
        std::function<void(DemFixture&)> make;
        const char* message;
    };
    const std::vector<Fault> faults = {
        {"missing lower corner", [](DemFixture& f) { f.omitted = {"lowerCorner"}; }, "missing element gml:lowerCorner"},
        {"missing tuple list", [](DemFixture& f) { f.omitted = {"tupleList"}; }, "missing element gml:tupleList"},
        {"another order", [](DemFixture& f) { f.order = "+x+y"; }, "sequence order \"+x+y\""},
        {"elevation not a number", [](DemFixture& f) { f.tuples = "地表面,12.5\n地表面,12,5\n"; }, "invalid elevation"},
        {"tuple without kind", [](DemFixture& f) { f.tuples = "12.5\n"; }, "is not \"kind,elevation\""},
        {"corner of one number", [](DemFixture& f) { f.upper = "35.2"; }, "holds 1 numbers instead of 2"},
        {"grid bound not whole", [](DemFixture& f) { f.high = "2.5 1"; }, "not a pair of whole numbers"},
        {"grid too wide", [](DemFixture& f) { f.low = "-2000000000 0"; f.high = "2000000000 1"; }, "spans more than"},
        {"upside-down envelope", [](DemFixture& f) { f.lower = "35.3 139.0"; }, "gml:Envelope is not a box"},
        {"start outside the grid", [](DemFixture& f) { f.start = "3 0"; }, "lies outside the grid"},
    };
    for (const Fault& fault : faults) {
        DemFixture fixture;
        fault.make(fixture);
        try {
            read(fixture);
            ADD_FAILURE() << fault.what << ": read";
        } catch (const InvalidFileFormatException& e) {
            EXPECT_EQ(e.fileName(), "dem.xml") << fault.what;
            EXPECT_NE(std::string(e.what()).find(fault.message), std::string::npos) << fault.what << ": " << e.what();
        }
    }

    // The faulty tuple is named by its line: the list's start tag is on line 17 of the fixture.
    DemFixture badLine;
    badLine.tuples = "地表面,1\n地表面,2\n地表面,x\n";
    try {
        read(badLine);
        ADD_FAILURE() << "read";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(e.line(), 20) << e.what();
    }
}

TEST_F(GmlGridReaderTest, BrokenXmlAndDocumentTypesAreRefused)
{
    const std::string whole = DemFixture().xml();
    const std::vector<std::pair<std::string, std::string>> documents = {
        {"truncated", whole.substr(0, whole.size() / 2)},
        {"empty", ""},
        {"not XML", "PK\x01\x02 binary"},
        {"undeclared prefix", "<Dataset><gml:tupleList>a,1</gml:tupleList></Dataset>"},
        // An entity would be expanded a billion times if it were resolved.
        {"document type", "<?xml version=\"1.0\"?>\n<!DOCTYPE Dataset [<!ENTITY a \"aaaaaaaaaa\">"
                          "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<Dataset>&b;</Dataset>\n"},
        {"external entity", "<?xml version=\"1.0\"?>\n<!DOCTYPE Dataset [<!ENTITY x SYSTEM \"/etc/passwd\">]>"
                            "<Dataset>&x;</Dataset>\n"},
    };
    for (const auto& [what, bytes] : documents) {
        try {
            GmlGridReader::read(write(bytes), "broken.xml");
            ADD_FAILURE() << what << ": read";
        } catch (const InvalidFileFormatException& e) {
            EXPECT_EQ(e.fileName(), "broken.xml") << what;
        }
    }
}

} // namespace
