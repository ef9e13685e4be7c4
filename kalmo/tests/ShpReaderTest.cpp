#include "kalmo/ShpAttributeTable.h"
#include "kalmo/ShpImportSettingDialog.h"
#include "kalmo/ShpImportSettingWizard.h"
#include "kalmo/ShpPolygonReader.h"
#include "kalmo/ShpPolylineReader.h"

#include "ShpTestSupport.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"
#include "guimisc/UserDialogScript.h"

#include <QTableWidget>
#include <QTextCodec>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <numeric>

using namespace shptest;
using tinshp::ShpPolygonReader;
using tinshp::ShpPolylineReader;

namespace {

std::string line(const std::string& coordinates)
{
    return "{\"type\":\"LineString\",\"coordinates\":[" + coordinates + "]}";
}

template <class Shape>
std::vector<std::pair<double, double>> xy(const Shape& p)
{
    std::vector<std::pair<double, double>> out;
    for (const auto& v : p.points()) {
        out.emplace_back(v.x(), v.y());
    }
    return out;
}

// The shape's vertices are GDAL's, each within tolerance.
template <class Shape>
void expectVertices(const Shape& shape, const std::vector<std::pair<double, double>>& gdal,
                    double tolerance)
{
    ASSERT_EQ(shape.points().size(), gdal.size());
    for (std::size_t v = 0; v < gdal.size(); ++v) {
        EXPECT_NEAR(shape.points()[v].x(), gdal[v].first, tolerance) << "vertex " << v;
        EXPECT_NEAR(shape.points()[v].y(), gdal[v].second, tolerance) << "vertex " << v;
    }
}

double length(const tin::core::Polyline& p)
{
    double sum = 0.0;
    const auto& v = p.points();
    for (std::size_t i = 1; i < v.size(); ++i) {
        sum += std::hypot(v[i].x() - v[i - 1].x(), v[i].y() - v[i - 1].y());
    }
    return sum;
}

} // namespace

// The vertex rule: a vertex within 1e-6 in both x and y of the last vertex kept is dropped, the
// first vertex is always kept, and the comparison is with the vertex kept, not the one read last.
TEST(ShpReader, DropsOnlyVerticesWithinDeltaOfTheLastKept)
{
    Scratch scratch;
    const std::string shp = scratch.path("lines.shp");
    ogr2ogr(shp, feature(line("[10,10],[10.0000005,10.0000005],[20,20]")) + "," +
                     feature(line("[10,10],[10.000002,10],[20,20]")) + "," +
                     feature(line("[0,0],[0.0000005,0],[0.0000009,0],[0.0000012,0]")));
    ShpPolylineReader reader;
    ASSERT_TRUE(reader.open(shp));
    using V = std::vector<std::pair<double, double>>;
    std::unique_ptr<tin::core::Polyline> p(reader.getPolyline(0));
    EXPECT_EQ(xy(*p), (V{{10, 10}, {20, 20}}));
    p.reset(reader.getPolyline(1));
    EXPECT_EQ(xy(*p), (V{{10, 10}, {10.000002, 10}, {20, 20}}));
    p.reset(reader.getPolyline(2));
    EXPECT_EQ(xy(*p), (V{{0, 0}, {0.0000012, 0}}));
}

// Parts of a shape, and the rings of a polygon with a hole, run together in file order; each
// ring keeps its closing vertex.
TEST(ShpReader, MultiPartShapesReadAsOneList)
{
    Scratch scratch;
    const std::string lines = scratch.path("multi.shp");
    ogr2ogr(lines, feature("{\"type\":\"MultiLineString\",\"coordinates\":"
                           "[[[0,0],[1,0]],[[5,5],[6,5],[7,5]]]}"));
    ShpPolylineReader lineReader;
    ASSERT_TRUE(lineReader.open(lines));
    std::unique_ptr<tin::core::Polyline> polyline(lineReader.getPolyline(0));
    const auto gdal = ogrFeatures(lines);
    ASSERT_EQ(gdal.size(), 1u);
    ASSERT_EQ(gdal[0].parts.size(), 2u);
    EXPECT_EQ(xy(*polyline), gdal[0].vertices());

    const std::string rings = scratch.path("holed.shp");
    ogr2ogr(rings, feature("{\"type\":\"Polygon\",\"coordinates\":"
                           "[[[0,0],[0,10],[10,10],[10,0],[0,0]],[[2,2],[4,2],[4,4],[2,4],[2,2]]]}"));
    ShpPolygonReader polygonReader;
    ASSERT_TRUE(polygonReader.open(rings));
    std::unique_ptr<tin::core::Polygon> polygon(polygonReader.getPolygon(0));
    const auto gdalRings = ogrFeatures(rings);
    ASSERT_EQ(gdalRings[0].parts.size(), 2u);
    EXPECT_EQ(xy(*polygon), gdalRings[0].vertices());
    EXPECT_EQ(polygon->pointsCount(), 10);
}

// A feature without geometry is a null record: it reads as empty, and the records around it
// read as usual.
TEST(ShpReader, NullRecordReadsAsEmpty)
{
    Scratch scratch;
    const std::string shp = scratch.path("gaps.shp");
    const std::string square =
        "{\"type\":\"Polygon\",\"coordinates\":[[[0,0],[0,1],[1,1],[1,0],[0,0]]]}";
    ogr2ogr(shp, feature(square) + "," + feature("null") + "," + feature(square),
            {"-nlt", "POLYGON"});
    ShpPolygonReader reader;
    ASSERT_TRUE(reader.open(shp));
    ASSERT_EQ(reader.count(), 3);
    std::unique_ptr<tin::core::Polygon> p(reader.getPolygon(1));
    EXPECT_TRUE(p->empty());
    p.reset(reader.getPolygon(2));
    EXPECT_EQ(p->pointsCount(), 5);
}

// Shapes outside the file throw; attribute cells outside the table read as nothing.
TEST(ShpReader, IndexesOutsideTheFile)
{
    Scratch scratch;
    const std::string shp = scratch.path("one.shp");
    ogr2ogr(shp, feature(line("[0,0],[1,1]"), "{\"name\":\"a\"}"));
    ShpPolylineReader reader;
    EXPECT_THROW(reader.getPolyline(0), std::out_of_range);
    ASSERT_TRUE(reader.open(shp));
    EXPECT_THROW(reader.getPolyline(-1), std::out_of_range);
    EXPECT_THROW(reader.getPolyline(1), std::out_of_range);
    EXPECT_EQ(reader.getStringAttribute(0, -1), "");
    EXPECT_EQ(reader.getIntAttribute(0, 1), 0);
    EXPECT_EQ(reader.getDoubleAttribute(-1, 0), 0.0);
}

// Without its attribute table a shapefile does not open, and the ".shp" is not left open; a
// second open closes the first file; the destructor closes what is still open.
TEST(ShpReader, OpenLeavesNoHandleBehind)
{
    Scratch scratch;
    const std::string folder = scratch.folder("files");
    const std::string shp = folder + "/lines.shp";
    ogr2ogr(shp, feature(line("[0,0],[1,1]")));
    const std::string bare = folder + "/bare.shp";
    ogr2ogr(bare, feature(line("[0,0],[1,1]")));
    std::filesystem::remove(folder + "/bare.dbf");
    {
        ShpPolylineReader reader;
        EXPECT_FALSE(reader.open(bare));
        EXPECT_EQ(openFilesUnder(folder), 0);
        ASSERT_TRUE(reader.open(shp));
        const int one = openFilesUnder(folder);
        EXPECT_GT(one, 0);
        ASSERT_TRUE(reader.open(shp));
        EXPECT_EQ(openFilesUnder(folder), one);
        EXPECT_FALSE(reader.open(bare));
        EXPECT_EQ(openFilesUnder(folder), 0);
        ASSERT_TRUE(reader.open(shp));
    }
    EXPECT_EQ(openFilesUnder(folder), 0);
}

// Text decodes with the codec chosen; a file in Shift_JIS reads correctly once that codec is
// set, and a new codec applies from the next read on.
TEST(ShpReader, DecodesTextWithTheChosenCodec)
{
    Scratch scratch;
    const std::string props = "{\"name\":\"荒川 Ärger\"}";
    const std::string utf8 = scratch.path("utf8.shp");
    ogr2ogr(utf8, feature(line("[0,0],[1,1]"), props), {"-lco", "ENCODING=UTF-8"});
    const std::string sjis = scratch.path("sjis.shp");
    ogr2ogr(sjis, feature(line("[0,0],[1,1]"), "{\"name\":\"荒川 堤防\"}"),
            {"-lco", "ENCODING=CP932"});

    ShpPolylineReader reader;
    ASSERT_TRUE(reader.open(utf8));
    EXPECT_EQ(reader.getStringAttribute(0, 0), QString::fromUtf8("荒川 Ärger"));
    reader.setCodec("ISO-8859-1");
    EXPECT_NE(reader.getStringAttribute(0, 0), QString::fromUtf8("荒川 Ärger"));
    reader.setCodec("UTF-8");
    EXPECT_EQ(reader.getStringAttribute(0, 0), QString::fromUtf8("荒川 Ärger"));

    ASSERT_TRUE(reader.open(sjis));
    reader.setCodec("Shift_JIS");
    EXPECT_EQ(reader.getStringAttribute(0, 0), QString::fromUtf8("荒川 堤防"));

    EXPECT_THROW(reader.setCodec("no-such-encoding"), common::exception::RuntimeException);
    EXPECT_EQ(reader.getStringAttribute(0, 0), QString::fromUtf8("荒川 堤防"));
}

// River network: every line as GDAL reads it, and each line's length equals its Length_m field.
TEST(ShpReaderRealData, RiverNetworkPolylines)
{
    const std::string shp = realShapefile("a001_network.shp");
    const auto gdal = ogrFeatures(shp);
    ShpPolylineReader reader;
    ASSERT_TRUE(reader.open(shp));
    ASSERT_EQ(reader.count(), 12);
    ASSERT_EQ(gdal.size(), 12u);
    const int lengthField = 1; // GridID, Length_m, ...
    double total = 0.0;
    for (int i = 0; i < reader.count(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i));
        std::unique_ptr<tin::core::Polyline> p(reader.getPolyline(i));
        expectVertices(*p, gdal[i].vertices(), 1e-8);
        const double field = reader.getDoubleAttribute(i, lengthField);
        EXPECT_NEAR(length(*p), field, 1e-6);
        EXPECT_NEAR(field, std::stod(gdal[i].fields.at("Length_m")), 1e-6);
        total += field;
    }
    EXPECT_NEAR(total, 5629.970, 1e-3);
}

// Polygons with integer fields: closing vertices kept, the values GDAL reads.
TEST(ShpReaderRealData, AttributedPolygons)
{
    const std::string shp = realShapefile("attributes.shp");
    const auto gdal = ogrFeatures(shp);
    ShpPolygonReader reader;
    ASSERT_TRUE(reader.open(shp));
    ASSERT_EQ(reader.count(), 5);
    ASSERT_EQ(gdal.size(), 5u);
    for (int i = 0; i < reader.count(); ++i) {
        SCOPED_TRACE("polygon " + std::to_string(i));
        std::unique_ptr<tin::core::Polygon> p(reader.getPolygon(i));
        expectVertices(*p, gdal[i].vertices(), 1e-9);
        ASSERT_GE(p->pointsCount(), 4);
        EXPECT_EQ(p->points().front().x(), p->points().back().x());
        EXPECT_EQ(p->points().front().y(), p->points().back().y());
        EXPECT_EQ(reader.getIntAttribute(i, 0), std::stoi(gdal[i].fields.at("id")));
        EXPECT_EQ(reader.getIntAttribute(i, 1), std::stoi(gdal[i].fields.at("cls")));
    }
}

namespace {

// A copy of a real shapefile's files in `folder`, named `name`.*; `edit` may change the bytes
// of each file (by extension) on the way.
std::string copyShapefile(const std::string& real, const std::string& folder, const std::string& name,
                          const std::function<void(const std::string&, std::string&)>& edit)
{
    for (const char* extension : {".shp", ".shx", ".dbf"}) {
        std::string bytes = readText(realShapefile(real + extension));
        edit(extension, bytes);
        writeText(folder + "/" + name + extension, bytes);
    }
    return folder + "/" + name + ".shp";
}

// What GDAL says on stderr while it reads every feature.
std::string ogrErrors(const std::string& shp)
{
    QProcess ogrinfo;
    ogrinfo.start("ogrinfo", {"-ro", "-al", "-q", QString::fromStdString(shp)});
    EXPECT_TRUE(ogrinfo.waitForFinished(60000));
    return ogrinfo.readAllStandardError().toStdString();
}

} // namespace

// A ".shp" cut short opens in shapelib, which then gives its last shapes no vertices and says so
// only on stderr; GDAL calls the file broken. The reader refuses it at open, as it refuses a file
// it cannot open at all.
TEST(ShpReader, ShapesCutShortDoNotOpen)
{
    Scratch scratch;
    const std::string whole =
        copyShapefile("a001_network", scratch.path(), "whole", [](const std::string&, std::string&) {});
    const std::string cut = copyShapefile("a001_network", scratch.path(), "cut",
                                          [](const std::string& extension, std::string& bytes) {
                                              if (extension == ".shp") {
                                                  bytes.resize(bytes.size() / 2);
                                              }
                                          });
    EXPECT_EQ(ogrErrors(whole), "");
    EXPECT_NE(ogrErrors(cut).find("ERROR"), std::string::npos) << "GDAL takes the cut file";

    ShpPolylineReader reader;
    ASSERT_TRUE(reader.open(whole));
    EXPECT_EQ(reader.count(), 12);
    EXPECT_FALSE(reader.open(cut));
    EXPECT_EQ(reader.count(), 0);
    EXPECT_EQ(openFilesUnder(scratch.path()), 0);
}

// An attribute table of 203 bytes whose header claims a million or a billion records: shapelib
// would hand out that many empty rows. The reader does not open it, the table reader and the
// wizard refuse it naming the file, and the dialog says so and shows no rows.
TEST(ShpReader, TableClaimingMoreRecordsThanItHoldsIsRefused)
{
    Scratch scratch;
    for (const std::uint32_t claimed : {1000000u, 1000000000u}) {
        SCOPED_TRACE(claimed);
        const std::string name = "claims" + std::to_string(claimed);
        const std::string shp = copyShapefile(
            "attributes", scratch.path(), name, [claimed](const std::string& extension, std::string& bytes) {
                if (extension == ".dbf") {
                    ASSERT_EQ(bytes.size(), 203u);
                    for (int i = 0; i < 4; ++i) {
                        bytes[4 + i] = static_cast<char>((claimed >> (8 * i)) & 0xff);
                    }
                }
            });
        const std::string dbf = scratch.path(name + ".dbf");

        ShpPolygonReader reader;
        EXPECT_FALSE(reader.open(shp));
        try {
            tinshp::ShpAttributeTable::read(shp, QTextCodec::codecForName("UTF-8"));
            ADD_FAILURE() << "the table was read";
        } catch (const common::exception::InvalidFileFormatException& e) {
            EXPECT_EQ(e.fileName(), dbf);
        }
        EXPECT_THROW(tinshp::ShpImportSettingWizard wizard(shp), common::exception::InvalidFileFormatException);

        guimisc::UserDialogScript script;
        tinshp::ShpImportSettingDialog dialog(shp);
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_NE(script.messageBoxes()[0].text.indexOf(QString::fromStdString(dbf)), -1);
        EXPECT_EQ(dialog.findChild<QTableWidget*>("tableWidget")->rowCount(), 0);
    }
    // The table as written, with its five records, reads as before.
    EXPECT_EQ(tinshp::ShpAttributeTable::read(realShapefile("attributes.shp"), QTextCodec::codecForName("UTF-8"))
                  .rows()
                  .size(),
              5);
}
