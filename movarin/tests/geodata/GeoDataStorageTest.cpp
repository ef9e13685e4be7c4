// The geographic data in "project.xml" and in the geometry files: a round trip of all five
// groups with a second XML reader and Python's struct as the oracle of the file layout; what
// loading makes of hand-written elements (numbers used up by any node, missing and unknown
// groups); and the create-mode data, which is never stored.
#include "GeoDataTestSupport.h"

#include "movarin/sections/GeoDataTopForCreateItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"

#include "brask/core/View.h"
#include "orlin/io/BinPolygonExporter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardItem>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

const QString VERTICES_OF_FILE = QStringLiteral(
    "import struct, sys\n"
    "data = open(sys.argv[1], 'rb').read()\n"
    "(n,) = struct.unpack_from('<i', data, 0)\n"
    "assert len(data) == 4 + 16 * n, (len(data), n)\n"
    "for i in range(n):\n"
    "    print(repr(struct.unpack_from('<dd', data, 4 + 16 * i)))\n");

/// The vertices of a geometry file as Python's struct reads the binary polygon layout (an
/// int32 count, then x and y of each vertex as doubles, nothing more).
Vertices verticesOfFile(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), VERTICES_OF_FILE, path});
    python.waitForFinished(-1);
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    Vertices vertices;
    for (const QString& line : QString::fromLocal8Bit(python.readAllStandardOutput())
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList xy = line.mid(1, line.size() - 2).split(QStringLiteral(", "));
        vertices.emplace_back(xy.at(0).toDouble(), xy.at(1).toDouble());
    }
    return vertices;
}

const XmlElement& geoDataTopOf(const XmlElement& project)
{
    return project.child(QStringLiteral("Windows"))
        .child(QStringLiteral("Window"))
        .child(QStringLiteral("DataModel"))
        .child(QStringLiteral("GeoDataTop"));
}

using GeoDataStorageTest = GeoDataTest;

TEST_F(GeoDataStorageTest, AllFiveGroupsSurviveTheArchiveWithOneFilePerItem)
{
    const Vertices square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Vertices triangle{{-5.25, 1.5}, {-1, 7.125}, {-9, 3}};
    const Vertices line{{1e5 + 0.1, 2e5 + 0.2}, {1e5 + 3.3, 2e5 - 4.4}, {1e5 + 7, 2e5}};
    GeoDataPolygonItem* rough = attachPolygon(group("roughness"), "river bed", square, 0.015);
    GeoDataPolygonSetting setting;
    setting.color = QColor(Qt::red);
    setting.lineWidth = 3;
    setting.opacity = 70;
    rough->setSetting(setting);
    attachPolygon(group("deadarea"), "pond", triangle, 1);
    attachPolygon(group("vegetationheight"), "reeds", square, 2.5);
    attachPolygon(group("vegetationdensity"), "bushes", triangle, 0);
    GeoDataGroupItem* reference = group("referenceinformation");
    attachPolyline(reference, "C", line);
    attachPolygon(reference, "bank", triangle, 0);
    attachPolygon(reference, "island", square, 0);

    QTemporaryDir outside;
    EditModeMainWindowModelRootItem* reopened =
        saveAndReopen(outside.filePath(QStringLiteral("river.emvn")));
    ASSERT_NE(reopened, nullptr);

    // What a second reader finds in "project.xml".
    const XmlElement geoData = geoDataTopOf(readXmlFile(m_session.projectXmlPath()));
    QStringList names;
    for (const XmlElement& g : geoData.children) {
        EXPECT_EQ(g.name, "GeoDataGroup");
        names << g.attributes.value(QStringLiteral("name"));
    }
    EXPECT_EQ(names, QStringList({"roughness", "deadarea", "vegetationheight",
                                  "vegetationdensity", "referenceinformation"}));
    const XmlElement& referenceElement = geoData.children.at(4);
    EXPECT_EQ(referenceElement.childNames(),
              QStringList({"GeoDataPolyLine", "GeoDataPolygon", "GeoDataPolygon"}));
    EXPECT_EQ(referenceElement.children[0].attributes.value(QStringLiteral("caption")), "C");
    EXPECT_FALSE(referenceElement.children[0].attributes.contains(QStringLiteral("value")));
    EXPECT_EQ(referenceElement.children[2].attributes.value(QStringLiteral("value")), "0");
    const XmlElement& roughElement = geoData.children.at(0).child(QStringLiteral("GeoDataPolygon"));
    EXPECT_EQ(roughElement.attributes.value(QStringLiteral("caption")), "river bed");
    EXPECT_EQ(roughElement.attributes.value(QStringLiteral("value")).toDouble(), 0.015);
    EXPECT_EQ(roughElement.attributes.value(QStringLiteral("color")), "#ff0000");
    EXPECT_EQ(roughElement.attributes.value(QStringLiteral("lineWidth")), "3");
    EXPECT_EQ(roughElement.attributes.value(QStringLiteral("opacity")), "70");

    // The files, numbered by child position, hold exactly the vertices.
    const QDir work(m_session.project()->workFolder());
    const QString referenceFolder = QStringLiteral("geoData/referenceinformation/");
    EXPECT_EQ(verticesOfFile(work.filePath(referenceFolder + "geodata1.dat")), line);
    EXPECT_EQ(verticesOfFile(work.filePath(referenceFolder + "geodata2.dat")), triangle);
    EXPECT_EQ(verticesOfFile(work.filePath(referenceFolder + "geodata3.dat")), square);
    EXPECT_EQ(verticesOfFile(work.filePath(QStringLiteral("geoData/roughness/geodata1.dat"))),
              square);
    const QStringList members = archiveMembers(outside.filePath(QStringLiteral("river.emvn")));
    for (const char* member : {"geoData/roughness/geodata1.dat", "geoData/deadarea/geodata1.dat",
                               "geoData/vegetationheight/geodata1.dat",
                               "geoData/vegetationdensity/geodata1.dat",
                               "geoData/referenceinformation/geodata3.dat"}) {
        EXPECT_TRUE(members.contains(QLatin1String(member))) << member;
    }

    // The reopened project holds the same items; values come back as their text.
    GeoDataTopForEditItem* again = reopened->geoDataTopItem();
    auto polygonAt = [&](const char* name, int row) {
        return qobject_cast<GeoDataPolygonItem*>(
            again->groupItem(QLatin1String(name))->childItems().at(static_cast<std::size_t>(row)));
    };
    GeoDataPolygonItem* roughAgain = polygonAt("roughness", 0);
    ASSERT_NE(roughAgain, nullptr);
    EXPECT_EQ(roughAgain->caption(), "river bed");
    EXPECT_EQ(verticesOf(*roughAgain->polygon()), square);
    EXPECT_DOUBLE_EQ(roughAgain->value().toDouble(), 0.015);
    EXPECT_EQ(roughAgain->setting().color.value(), QColor(Qt::red));
    EXPECT_EQ(roughAgain->setting().lineWidth.value(), 3);
    EXPECT_EQ(roughAgain->setting().opacity.percent(), 70);
    EXPECT_EQ(polygonAt("deadarea", 0)->value().toInt(), 1);
    EXPECT_DOUBLE_EQ(polygonAt("vegetationheight", 0)->value().toDouble(), 2.5);
    EXPECT_EQ(polygonAt("vegetationdensity", 0)->value(), QVariant(QStringLiteral("0")));
    const auto& referenceAgain = again->groupItem("referenceinformation")->childItems();
    ASSERT_EQ(referenceAgain.size(), 3u);
    auto polyline = qobject_cast<GeoDataPolylineItem*>(referenceAgain[0]);
    ASSERT_NE(polyline, nullptr);
    EXPECT_EQ(verticesOf(*polyline->polyline()), line);
    EXPECT_EQ(qobject_cast<GeoDataPolygonItem*>(referenceAgain[1])->caption(), "bank");
    EXPECT_EQ(verticesOf(*qobject_cast<GeoDataPolygonItem*>(referenceAgain[2])->polygon()),
              square);
}

TEST_F(GeoDataStorageTest, EveryNodeUsesUpANumberAndOnlyKnownGroupsLoad)
{
    // The third child node of the group is the polygon, so it reads "geodata3.dat"; the
    // comment and the stranger element make nothing; the unknown group is ignored and the
    // groups without element stay empty.
    Project& project = m_reopened.newEditProject();
    const QDir work(project.workFolder());
    ASSERT_TRUE(work.mkpath(QStringLiteral("geoData/referenceinformation")));
    ASSERT_TRUE(work.mkpath(QStringLiteral("geoData/deadarea")));
    const tin::core::Polygon triangle{{0, 0}, {4, 0}, {0, 3}};
    tin::io::BinPolygonExporter exporter;
    exporter.exportPolygon(
        work.filePath(QStringLiteral("geoData/referenceinformation/geodata1.dat")).toLocal8Bit(),
        tin::core::Polygon{{5, 5}, {6, 6}});
    exporter.exportPolygon(
        work.filePath(QStringLiteral("geoData/referenceinformation/geodata3.dat")).toLocal8Bit(),
        triangle);
    exporter.exportPolygon(
        work.filePath(QStringLiteral("geoData/deadarea/geodata1.dat")).toLocal8Bit(), triangle);
    m_reopened.writeProjectXml(QStringLiteral(
        "<Windows><Window name=\"editMainWindow\"><DataModel><GeoDataTop>"
        "<GeoDataGroup name=\"nosuchgroup\"><GeoDataPolygon caption=\"lost\"/></GeoDataGroup>"
        "<GeoDataGroup name=\"referenceinformation\">"
        "<GeoDataPolyLine caption=\"1\" color=\"#0000ff\"/><!-- a comment -->"
        "<GeoDataPolygon caption=\"field\" value=\"0\"/><Unknown/>"
        "</GeoDataGroup>"
        "<GeoDataGroup name=\"deadarea\"><GeoDataPolygon caption=\"pond\" value=\"1\"/>"
        "</GeoDataGroup>"
        "</GeoDataTop></DataModel></Window></Windows>"));
    project.load();
    auto window = qobject_cast<EditModeMainWindow*>(project.projectWindow());
    ASSERT_NE(window, nullptr);
    GeoDataTopForEditItem* loaded = window->model()->rootItem()->geoDataTopItem();

    const auto& reference = loaded->groupItem("referenceinformation")->childItems();
    ASSERT_EQ(reference.size(), 2u);
    auto polyline = qobject_cast<GeoDataPolylineItem*>(reference[0]);
    ASSERT_NE(polyline, nullptr);
    EXPECT_EQ(polyline->caption(), "1");
    EXPECT_EQ(polyline->setting().color.value(), QColor(Qt::blue));
    EXPECT_EQ(verticesOf(*polyline->polyline()), (Vertices{{5, 5}, {6, 6}}));
    auto field = qobject_cast<GeoDataPolygonItem*>(reference[1]);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->relativeFilename(), "geoData/referenceinformation/geodata3.dat");
    EXPECT_EQ(verticesOf(*field->polygon()), verticesOf(triangle));
    EXPECT_EQ(loaded->groupItem("deadarea")->childItems().size(), 1u);
    for (const char* empty : {"roughness", "vegetationheight", "vegetationdensity"}) {
        EXPECT_TRUE(loaded->groupItem(QLatin1String(empty))->childItems().empty()) << empty;
    }
    EXPECT_EQ(loaded->groupItem(QStringLiteral("nosuchgroup")), nullptr);
}

TEST_F(GeoDataStorageTest, CreateModeKeepsReferenceLinesOnlyWhileTheProjectIsOpen)
{
    m_session.newCreateProject();
    CreateModeMainWindow* createWindow = m_session.createWindow();
    ASSERT_NE(createWindow, nullptr);
    GeoDataTopForCreateItem* createTop = createWindow->model()->rootItem()->geoDataTopItem();
    ASSERT_EQ(createTop->childItems().size(), 1u);
    GeoDataGroupItem* reference = createTop->groupItem(QStringLiteral("referenceinformation"));
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->caption(), "Reference Information");

    mvc::core::View* createView = createWindow->view();
    createView->resize(400, 300);
    createView->fit(QRectF(-100.0, -75.0, 200.0, 150.0));
    triggerMenuEntry(reference, QStringLiteral("Add &Polyline"));
    const MouseOn on(createView);
    for (const QPointF& p : {QPointF(-50, 0), QPointF(50, 0)}) {
        const QPoint at = createView->conv(p).toPoint();
        on.move(at);
        on.click(at);
    }
    on.key(Qt::Key_Enter);
    auto polyline = qobject_cast<GeoDataPolylineItem*>(reference->childItems().at(0));
    ASSERT_NE(polyline, nullptr);
    EXPECT_EQ(verticesOf(*polyline->polyline()), (Vertices{{-50, 0}, {50, 0}}));

    // Painted in its colour (black) along the line, and nothing of it stored.
    const QImage painted = createView->grab().toImage();
    const QPoint middle = createView->conv(QPointF(0, 0)).toPoint();
    EXPECT_EQ(QColor(painted.pixel(middle)), QColor(Qt::black));
    EXPECT_NE(QColor(painted.pixel(middle + QPoint(0, 20))), QColor(Qt::black));
    ASSERT_TRUE(m_session.project()->save());
    const XmlElement written = readXmlFile(m_session.projectXmlPath());
    EXPECT_EQ(written.child(QStringLiteral("Windows"))
                  .child(QStringLiteral("Window"))
                  .child(QStringLiteral("DataModel"))
                  .childNames(),
              QStringList({"CoordinatePoints", "CoordinatePointsForTin", "Tin",
                           "BackgroundImageGroup"}));
    EXPECT_FALSE(QDir(m_session.project()->workFolder()).exists(QStringLiteral("geoData")));
}

} // namespace
} // namespace varnel::test
