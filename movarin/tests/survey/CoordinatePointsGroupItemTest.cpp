// The group of imported point sets: which reader a file reaches, the palette and order of
// the imports, their point files and elements through a save and reopen, and the ASCII copy
// that only a path with other characters needs.
#include "PointImportTestSupport.h"

#include "orlin/io/BinPointSetImporter.h"

#include <QDir>
#include <QStandardItem>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class CoordinatePointsGroupItemTest : public PointImportTest {
protected:
    /// The points of the group's k-th point file in the work folder, as (x, y, z).
    Coordinates pointFile(int k) const
    {
        const QString file = session().project()->absoluteFileName(
            QStringLiteral("coordinatePointsGroup/coordinatePoints%1.tpobin").arg(k));
        return coordinatesOf(tin::io::BinPointSetImporter().importPointSet(file.toLocal8Bit().constData()));
    }
};

TEST_F(CoordinatePointsGroupItemTest, AllFilesRoutesByExtensionInAnyCase)
{
    // Two tiles side by side, three points each.
    calvextest::DemFixture south;
    calvextest::DemFixture north;
    north.lower = "35.2 139.0";
    north.upper = "35.4 139.3";
    calvextest::writeZip(path("POINTS.ZIP"), {{"a.xml", south.xml()}, {"b.xml", north.xml()}});
    calvextest::writeFile(path("a.Xml"), south.xml());
    writeTpo(QStringLiteral("a.txt"), {{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}});
    writeTpo(QStringLiteral("B.TPO"), {{7.0, 8.0, 9.0}});

    // Without a coordinate system only point text gets through.
    const QString refusal = QStringLiteral(
        "To import JpGIS data, please specify coordinate system first, from the following menu: "
        "File -> Property");
    importFile(path("POINTS.ZIP"), allFiles());
    importFile(path("a.Xml"), allFiles());
    EXPECT_EQ(boxTexts(), QStringList({refusal, "No points were imported.", refusal,
                                       "No points were imported."}));
    importFile(path("a.txt"), allFiles());
    importFile(path("B.TPO"), allFiles());
    EXPECT_EQ(boxTexts().size(), 4);
    ASSERT_EQ(items().size(), 2u);
    EXPECT_EQ(items()[0]->caption(), "B.TPO");
    EXPECT_EQ(items()[0]->pointSet()->allPoints().size(), 1u);
    EXPECT_EQ(items()[1]->pointSet()->allPoints().size(), 2u);

    setCoordinateSystem("EPSG:6676");
    ASSERT_TRUE(importGml(path("POINTS.ZIP"), allFiles(), 1, [&] { releaseOnly(); }));
    ASSERT_TRUE(importGml(path("a.Xml"), allFiles(), 1, [&] { releaseOnly(); }));
    ASSERT_EQ(items().size(), 4u);
    EXPECT_EQ(items()[1]->pointSet()->allPoints().size(), 6u);
    EXPECT_EQ(items()[0]->pointSet()->allPoints().size(), 3u);
    // The same cells read from the archive and from the single file.
    Coordinates fromZip = coordinatesOf(*items()[1]->pointSet());
    for (const auto& t : coordinatesOf(*items()[0]->pointSet())) {
        EXPECT_EQ(fromZip.count(t), 1u);
    }
}

TEST_F(CoordinatePointsGroupItemTest, PaletteOrderAndPointFilesFollowTheImportsThroughReopen)
{
    for (int k = 0; k < 13; ++k) {
        importFile(writeTpo(QStringLiteral("p%1.tpo").arg(k), {{double(k), double(k), 0.5 * k}}),
                   tpoFiles());
        ASSERT_EQ(items().size(), static_cast<std::size_t>(k + 1));
        if (k == 6) {
            EXPECT_EQ(items()[0]->view()->viewSetting().color(), QColor(Qt::darkRed));
            // The newest import is saved first; each save numbers the files anew.
            ASSERT_TRUE(project().save());
            EXPECT_EQ(pointFile(1), Coordinates({{6.0, 6.0, 3.0}}));
            EXPECT_EQ(pointFile(2), Coordinates({{5.0, 5.0, 2.5}}));
        }
    }
    EXPECT_EQ(items()[0]->view()->viewSetting().color(), QColor(Qt::cyan));
    EXPECT_EQ(items()[0]->caption(), "p12.tpo");
    EXPECT_TRUE(items()[0]->view()->viewSetting().useColorByValue());
    EXPECT_EQ(items()[0]->view()->viewSetting().radius(), 3);
    EXPECT_EQ(undoStack()->count(), 13);

    // Make the colours differ from what a fresh item would get.
    for (CoordinatePointsItem* item : items()) {
        CoordinatePointsBaseItemViewSetting setting = item->view()->viewSetting();
        setting.setUseColorByValue(false);
        item->view()->setViewSetting(setting);
    }
    std::vector<std::tuple<QString, QColor, Coordinates>> before;
    for (CoordinatePointsItem* item : items()) {
        before.emplace_back(item->caption(), item->view()->viewSetting().color(),
                            coordinatesOf(*item->pointSet()));
    }
    const QString archive = path("points.cmvn");
    saveTo(archive);
    EXPECT_EQ(pointFile(1), Coordinates({{12.0, 12.0, 6.0}}));
    EXPECT_EQ(pointFile(7), Coordinates({{6.0, 6.0, 3.0}}));
    const XmlElement xml = readXmlFile(session().projectXmlPath());
    const XmlElement& dataModel =
        xml.child("Windows").child("Window").child("DataModel").child("CoordinatePoints");
    ASSERT_EQ(dataModel.children.size(), 13u);
    EXPECT_EQ(dataModel.children[0].name, "CoordinatePoints");
    EXPECT_EQ(dataModel.children[0].attributes.value("caption"), "p12.tpo");
    QStringList members = archiveMembers(archive);
    for (int k = 1; k <= 13; ++k) {
        EXPECT_TRUE(members.contains(QStringLiteral("coordinatePointsGroup/coordinatePoints%1.tpobin").arg(k)))
            << k;
    }

    CreateModeMainWindowModelRootItem* reopened = openCreateProject(session(), archive);
    ASSERT_NE(reopened, nullptr);
    const std::vector<CoordinatePointsItem*> loaded = items(reopened->coordinatePointsGroupItem());
    ASSERT_EQ(loaded.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        CoordinatePointsItem* item = loaded[i];
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->caption(), std::get<0>(before[i]));
        EXPECT_EQ(item->browserItem()->text(), std::get<0>(before[i]));
        EXPECT_EQ(item->view()->viewSetting().color(), std::get<1>(before[i])) << i;
        EXPECT_FALSE(item->view()->viewSetting().useColorByValue());
        EXPECT_EQ(coordinatesOf(*item->pointSet()), std::get<2>(before[i])) << i;
    }
}

TEST_F(CoordinatePointsGroupItemTest, OnlyAPathWithOtherCharactersIsReadThroughACopy)
{
    setCoordinateSystem("EPSG:6676");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("測量")));
    const QString ascii = path("grid.xml");
    const QString other = path(QStringLiteral("測量/格子.xml"));
    calvextest::writeFile(ascii, calvextest::DemFixture().xml());
    calvextest::writeFile(other, calvextest::DemFixture().xml());

    const QDir workFolder(project().workFolder());
    QStringList copies[2];
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(importGml(i == 0 ? ascii : other, xmlFiles(), 1, [&] {
            copies[i] = workFolder.entryList({QStringLiteral("*.xml")}, QDir::Files);
            releaseOnly();
        }));
    }
    EXPECT_TRUE(copies[0].isEmpty()) << copies[0].join(' ').toStdString();
    EXPECT_EQ(copies[1].size(), 1);
    EXPECT_TRUE(workFolder.entryList({QStringLiteral("*.xml")}, QDir::Files).isEmpty());
    ASSERT_EQ(items().size(), 2u);
    EXPECT_EQ(items()[0]->caption(), QStringLiteral("格子.xml"));
    EXPECT_EQ(coordinatesOf(*items()[0]->pointSet()), coordinatesOf(*items()[1]->pointSet()));

    importFile(writeTpo(QStringLiteral("測量/点.tpo"), {{1.0, 2.0, 3.0}}), tpoFiles());
    ASSERT_EQ(items().size(), 3u);
    EXPECT_EQ(coordinatesOf(*items()[0]->pointSet()), Coordinates({{1.0, 2.0, 3.0}}));
}

} // namespace
} // namespace varnel::test
