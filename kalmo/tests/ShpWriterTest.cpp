#include "kalmo/ShpPolygonReader.h"
#include "kalmo/ShpPolygonWriter.h"
#include "kalmo/ShpPolylineReader.h"
#include "kalmo/ShpPolylineWriter.h"

#include "ShpTestSupport.h"

#include "common/exception/RuntimeException.h"
#include "common/test/FileSizeLimit.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace shptest;
using common::exception::RuntimeException;
using tin::core::Point2D;
using tinshp::ShpPolygonReader;
using tinshp::ShpPolygonWriter;
using tinshp::ShpPolylineReader;
using tinshp::ShpPolylineWriter;

namespace {

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Every file in the folder with its bytes.
std::map<std::string, std::string> bytesIn(const std::string& folder)
{
    std::map<std::string, std::string> bytes;
    for (const std::string& name : filesIn(folder)) {
        bytes[name] = readText(folder + "/" + name);
    }
    return bytes;
}

// Exports `count` polylines named name0, name1, ... to shp; what the writer throws escapes.
void exportLines(const std::string& shp, int count, const std::string& name)
{
    const tin::core::Polyline line{{0, 0}, {1, 1}};
    ShpPolylineWriter writer;
    ASSERT_TRUE(writer.open(shp));
    writer.addStringAttribute("Name");
    for (int i = 0; i < count; ++i) {
        writer.writePolyline(i, &line);
        writer.writeStringAttribute(i, 0, QString::fromStdString(name + std::to_string(i)));
    }
    writer.close();
}

} // namespace

// A four-point polygon comes back as five vertices, the last the first, whichever way it was
// drawn; in the file every ring runs clockwise (GDAL reads it so). An empty polygon is refused as
// the standard library refuses a subscript, and the file written so far stays good.
TEST(ShpWriter, PolygonRoundTripClosesAndTurnsRings)
{
    Scratch scratch;
    const std::string shp = scratch.path("squares.shp");
    const tin::core::Polygon counterClockwise{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const tin::core::Polygon clockwise{{20, 0}, {20, 10}, {30, 10}, {30, 0}};
    const tin::core::Polygon empty;
    {
        ShpPolygonWriter writer;
        ASSERT_TRUE(writer.open(shp));
        writer.addIntAttribute("Value", 10);
        writer.writePolygon(0, &counterClockwise);
        writer.writeIntAttribute(0, 0, 1);
        try {
            writer.writePolygon(1, &empty);
            FAIL() << "an empty polygon was written";
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(e.what(), "invalid vector<T> subscript");
        }
        writer.writePolygon(1, &clockwise);
        writer.writeIntAttribute(1, 0, 2);
        writer.close();
    }
    ShpPolygonReader reader;
    ASSERT_TRUE(reader.open(shp));
    ASSERT_EQ(reader.count(), 2);
    const auto gdal = ogrFeatures(shp);
    ASSERT_EQ(gdal.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<tin::core::Polygon> p(reader.getPolygon(i));
        ASSERT_EQ(p->pointsCount(), 5);
        EXPECT_EQ(p->points().front().x(), p->points().back().x());
        EXPECT_EQ(p->points().front().y(), p->points().back().y());
        EXPECT_LT(signedArea2(gdal[i].vertices()), 0.0) << "ring " << i;
        EXPECT_DOUBLE_EQ(std::abs(signedArea2(gdal[i].vertices())), 200.0);
    }
}

// Polylines keep their vertices in order; an empty one is a shape without vertices that
// reads back empty, between records that read as usual. Shapes whose attribute rows were not
// written get empty rows, so GDAL still sees every shape.
TEST(ShpWriter, PolylineRoundTripKeepsOrderAndEmptyLines)
{
    Scratch scratch;
    const std::string shp = scratch.path("lines.shp");
    const tin::core::Polyline zigzag{{3, 1}, {1, 2}, {4, 5}, {0.5, 9.25}};
    const tin::core::Polyline none;
    {
        ShpPolylineWriter writer;
        ASSERT_TRUE(writer.open(shp));
        writer.addStringAttribute("Name");
        writer.writePolyline(0, &zigzag);
        writer.writeStringAttribute(0, 0, "zigzag");
        writer.writePolyline(1, &none);
        writer.writePolyline(2, &zigzag);
        writer.close();
    }
    ShpPolylineReader reader;
    ASSERT_TRUE(reader.open(shp));
    ASSERT_EQ(reader.count(), 3);
    std::unique_ptr<tin::core::Polyline> p(reader.getPolyline(1));
    EXPECT_TRUE(p->empty());
    const auto gdal = ogrFeatures(shp);
    ASSERT_EQ(gdal.size(), 3u);
    EXPECT_EQ(gdal[0].vertices(),
              (std::vector<std::pair<double, double>>{{3, 1}, {1, 2}, {4, 5}, {0.5, 9.25}}));
    EXPECT_EQ(gdal[2].vertices().size(), 4u);
}

// The application's attributes: a "Name" text field and an integer or floating-point "Value".
// Text with non-ASCII characters comes back unchanged with the same codec at both ends, the
// ".cpg" names the codec in force when the files are closed (whether it was set before or
// after open), and a codec set while writing applies to later rows only.
TEST(ShpWriter, AttributesRoundTripWithTheirCodec)
{
    Scratch scratch;
    const QString names[] = {QString::fromUtf8("荒川 第1区間"), QString::fromUtf8("Ölfeld · ß"),
                             QString::fromUtf8("plain")};
    const tin::core::Polyline line{{0, 0}, {1, 1}};
    for (const auto& [codec, afterOpen] : {std::pair{"UTF-8", false}, std::pair{"Shift_JIS", false},
                                           std::pair{"Shift_JIS", true}}) {
        SCOPED_TRACE(std::string(codec) + (afterOpen ? ", set after open" : ""));
        const std::string base = std::string(codec) + (afterOpen ? "-after" : "");
        const std::string shp = scratch.path(base + ".shp");
        {
            ShpPolylineWriter writer;
            if (!afterOpen) {
                writer.setCodec(codec);
            }
            ASSERT_TRUE(writer.open(shp));
            if (afterOpen) {
                writer.setCodec(codec);
            }
            writer.addStringAttribute("Name");
            writer.addIntAttribute("Value", 10);
            writer.addDoubleAttribute("Real", 40, 6);
            for (int i = 0; i < 3; ++i) {
                writer.writePolyline(i, &line);
                writer.writeStringAttribute(i, 0, names[i]);
                writer.writeIntAttribute(i, 1, -123456789 + i);
                writer.writeDoubleAttribute(i, 2, 0.015 * (i + 1));
            }
            writer.close();
        }
        EXPECT_EQ(readText(scratch.path(base + ".cpg")), codec);
        // GDAL decodes the text by the ".cpg" alone.
        const std::vector<OgrFeature> features = ogrFeatures(shp);
        ASSERT_EQ(features.size(), 3u);
        EXPECT_EQ(features[0].fields.at("Name"), names[0].toStdString());
        ShpPolylineReader reader;
        reader.setCodec(codec);
        ASSERT_TRUE(reader.open(shp));
        for (int i = 0; i < 3; ++i) {
            if (QString(codec) == "Shift_JIS" && i == 1) {
                continue; // no Shift_JIS for these letters
            }
            EXPECT_EQ(reader.getStringAttribute(i, 0), names[i]);
            EXPECT_EQ(reader.getDoubleAttribute(i, 1), -123456789 + i);
            EXPECT_NEAR(reader.getDoubleAttribute(i, 2), 0.015 * (i + 1), 1e-12);
        }
    }

    const std::string mixed = scratch.path("mixed.shp");
    {
        ShpPolylineWriter writer;
        ASSERT_TRUE(writer.open(mixed));
        writer.addStringAttribute("Name");
        writer.writePolyline(0, &line);
        writer.writeStringAttribute(0, 0, names[0]);
        writer.setCodec("Shift_JIS");
        writer.writePolyline(1, &line);
        writer.writeStringAttribute(1, 0, names[0]);
        writer.close();
    }
    EXPECT_EQ(readText(scratch.path("mixed.cpg")), "Shift_JIS") << "the codec in force at close";
    ShpPolylineReader reader;
    ASSERT_TRUE(reader.open(mixed));
    reader.setCodec("UTF-8");
    EXPECT_EQ(reader.getStringAttribute(0, 0), names[0]);
    EXPECT_NE(reader.getStringAttribute(1, 0), names[0]);
    reader.setCodec("Shift_JIS");
    EXPECT_EQ(reader.getStringAttribute(1, 0), names[0]);
}

// Text fields hold 255 bytes; a longer value is cut between two characters, never inside one.
TEST(ShpWriter, LongTextIsCutBetweenCharacters)
{
    Scratch scratch;
    const std::string shp = scratch.path("long.shp");
    const QString twoByte = QString(300, QChar(0x00E9));                     // é: 2 bytes
    const QString emoji = QString("a") + QString::fromUtf8("😀").repeated(80); // 1 + 4 * n bytes
    const tin::core::Polyline line{{0, 0}, {1, 1}};
    {
        ShpPolylineWriter writer;
        writer.setCodec("UTF-8");
        ASSERT_TRUE(writer.open(shp));
        writer.addStringAttribute("Name");
        writer.writePolyline(0, &line);
        writer.writeStringAttribute(0, 0, twoByte);
        writer.writePolyline(1, &line);
        writer.writeStringAttribute(1, 0, emoji);
        writer.close();
    }
    ShpPolylineReader reader;
    reader.setCodec("UTF-8");
    ASSERT_TRUE(reader.open(shp));
    EXPECT_EQ(reader.getStringAttribute(0, 0), twoByte.left(127));
    EXPECT_EQ(reader.getStringAttribute(1, 0), emoji.left(1 + 2 * 63));
    const auto gdal = ogrFeatures(shp);
    ASSERT_EQ(gdal.size(), 2u);
    EXPECT_EQ(QString::fromStdString(gdal[1].fields.at("Name")), emoji.left(1 + 2 * 63));
}

// Nothing reaches the target before close(): an earlier file there survives a writer that fails
// or is dropped, and no scratch folder is left behind.
TEST(ShpWriter, FailedOrAbandonedWriteLeavesTheTargetAlone)
{
    Scratch scratch;
    const std::string folder = scratch.folder("out");
    const std::string shp = folder + "/river.shp";
    const tin::core::Polyline line{{0, 0}, {1, 1}};
    {
        ShpPolylineWriter writer;
        ASSERT_TRUE(writer.open(shp));
        writer.writePolyline(0, &line);
        writer.close();
    }
    const std::vector<std::string> good = filesIn(folder);
    EXPECT_EQ(good, (std::vector<std::string>{"river.cpg", "river.dbf", "river.shp", "river.shx"}));
    const std::string goodShp = readText(shp);

    {
        ShpPolylineWriter writer;
        ASSERT_TRUE(writer.open(shp));
        writer.addIntAttribute("Value", 3);
        writer.writePolyline(0, &line);
        writer.writePolyline(1, &line);
        try {
            writer.writeIntAttribute(0, 0, 12345);
            FAIL() << "a number wider than its field was written";
        } catch (const RuntimeException& e) {
            EXPECT_NE(std::string(e.what()).find(shp), std::string::npos) << e.what();
        }
        writer.close();
    }
    EXPECT_EQ(filesIn(folder), good);
    EXPECT_EQ(readText(shp), goodShp);

    {
        ShpPolylineWriter writer;
        ASSERT_TRUE(writer.open(shp));
        writer.writePolyline(0, &line);
        writer.writePolyline(1, &line);
        ASSERT_TRUE(writer.open(shp));
        writer.writePolyline(0, &line);
    }
    EXPECT_EQ(filesIn(folder), good);
    EXPECT_EQ(readText(shp), goodShp);
}

// Paths go to the file system as they are, and shapelib finds the table beside the ".shp"
// itself: a folder named like a shapefile, non-ASCII names and an upper-case ".DBF" do not get in
// the way.
TEST(ShpWriter, PathsReachTheFileSystemAsTheyAre)
{
    Scratch scratch;
    const std::string folder = scratch.folder("a.shp.d/河川");
    const std::string shp = folder + "/区域.shp";
    const tin::core::Polygon square{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    {
        ShpPolygonWriter writer;
        ASSERT_TRUE(writer.open(shp));
        writer.addStringAttribute("Name");
        writer.writePolygon(0, &square);
        writer.writeStringAttribute(0, 0, "sq");
        writer.close();
    }
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"区域.cpg", "区域.dbf", "区域.shp", "区域.shx"}));
    ShpPolygonReader reader;
    ASSERT_EQ(ogrFeatures(shp).size(), 1u);
    std::filesystem::rename(folder + "/区域.dbf", folder + "/区域.DBF");
    ASSERT_TRUE(reader.open(shp));
    EXPECT_EQ(reader.getStringAttribute(0, 0), "sq");
}

namespace {

const std::vector<std::string> riverSet{"river.cpg", "river.dbf", "river.shp", "river.shx"};

// The write fails with a message naming the shapefile.
void expectExportFails(const std::string& shp, const std::function<void()>& write)
{
    try {
        write();
        ADD_FAILURE() << "a failed export was reported as written";
    } catch (const RuntimeException& e) {
        EXPECT_NE(std::string(e.what()).find("shapefile " + shp), std::string::npos) << e.what();
    }
}

// Exports that many polylines over an earlier set of two while no file may grow beyond
// limitBytes: the export fails, the earlier set keeps its bytes and GDAL still reads it; with
// room again the export replaces the whole set.
void expectFullDiskLeavesTheEarlierSet(const Scratch& scratch, int shapes, int limitBytes)
{
    SCOPED_TRACE(std::to_string(shapes) + " shapes, files of at most " +
                 std::to_string(limitBytes) + " bytes");
    const std::string folder = scratch.folder("full-" + std::to_string(shapes));
    const std::string shp = folder + "/river.shp";
    exportLines(shp, 2, "earlier");
    const std::map<std::string, std::string> earlier = bytesIn(folder);
    {
        common::test::FileSizeLimit limit(static_cast<rlim_t>(limitBytes));
        ASSERT_TRUE(limit.active());
        expectExportFails(shp, [&] { exportLines(shp, shapes, "new"); });
    }
    EXPECT_TRUE(bytesIn(folder) == earlier) << "the earlier files changed";
    const std::vector<OgrFeature> gdal = ogrFeatures(shp);
    ASSERT_EQ(gdal.size(), 2u);
    EXPECT_EQ(gdal[1].fields.at("Name"), "earlier1");

    exportLines(shp, shapes, "new");
    EXPECT_EQ(filesIn(folder), riverSet);
    const std::vector<OgrFeature> replaced = ogrFeatures(shp);
    ASSERT_EQ(replaced.size(), static_cast<std::size_t>(shapes));
    EXPECT_EQ(replaced.back().fields.at("Name"), "new" + std::to_string(shapes - 1));
}

} // namespace

// The files of a shapefile are read together: an export that fails at any member, while it is
// written or when the files are put in place, leaves every file of the earlier set byte for
// byte and nothing of its own beside them. Here a folder stands in the way of each member in
// turn, and the disk fills up part way through the table's rows (the shapes and their index
// fit under the limit).
TEST(ShpWriter, FailedExportLeavesEveryFileOfTheEarlierSet)
{
    Scratch scratch;
    for (const std::string& blocked : riverSet) {
        SCOPED_TRACE("a folder at " + blocked);
        const std::string folder = scratch.folder("blocked-" + blocked);
        const std::string shp = folder + "/river.shp";
        exportLines(shp, 2, "earlier");
        std::filesystem::remove(folder + "/" + blocked);
        std::filesystem::create_directory(folder + "/" + blocked);
        const std::map<std::string, std::string> earlier = bytesIn(folder);
        expectExportFails(shp, [&] { exportLines(shp, 3, "new"); });
        EXPECT_EQ(filesIn(folder), riverSet);
        EXPECT_TRUE(std::filesystem::is_directory(folder + "/" + blocked));
        EXPECT_TRUE(bytesIn(folder) == earlier) << "the earlier files changed";
    }
    expectFullDiskLeavesTheEarlierSet(scratch, 1000, 128 * 1024);
}

// The last rows of a table reach the disk only as it is closed, where shapelib does not hear
// of a write refused: a table cut short there was put in place as written, one shape without
// its row.
TEST(ShpWriter, TableCutShortAsItIsClosedIsNotReportedAsWritten)
{
    Scratch scratch;
    // Room for the table's header with its one field and 99 rows of 256 bytes (a deletion flag
    // and the 255 bytes of "Name").
    expectFullDiskLeavesTheEarlierSet(scratch, 100, 32 + 32 + 1 + 256 * 99 + 10);
}
