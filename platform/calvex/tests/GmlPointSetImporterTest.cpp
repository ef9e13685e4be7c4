#include "CalvexTestSupport.h"

#include "tingml/io/GmlPointSetImporter.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"
#include "orlin/core/Point.h"
#include "proj/ProjectionPairLonLatDegreeToPlane.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

using calvextest::DemFixture;
using common::exception::RuntimeException;
using tingml::io::GmlPointSetImporter;
using PointPtr = std::shared_ptr<tin::core::Point>;

namespace {

const std::string GEOGRAPHIC = "+proj=longlat +ellps=GRS80 +no_defs";
// The plane rectangular systems of the real files' areas (EPSG:6676, 6683 and 6684).
const std::string ZONE_VIII = "+proj=tmerc +lat_0=36 +lon_0=138.5 +k=0.9999 +x_0=0 +y_0=0 +ellps=GRS80 +units=m +no_defs";
const std::string ZONE_XV = "+proj=tmerc +lat_0=26 +lon_0=127.5 +k=0.9999 +x_0=0 +y_0=0 +ellps=GRS80 +units=m +no_defs";
const std::string ZONE_XVI = "+proj=tmerc +lat_0=26 +lon_0=124 +k=0.9999 +x_0=0 +y_0=0 +ellps=GRS80 +units=m +no_defs";

const std::string DEM5A = "FG-GML-5238-74-00-DEM5A-20161001.xml";
const std::string DEM10B = "FG-GML-3926-76-DEM10B-20161001.xml";
const std::string DEM5B_ZIP = "FG-GML-3624-30-DEM5B.zip";

std::string realGml(const std::string& name)
{
    return MOVARIN_SHARED_DATA_DIR "/real/gml/" + name;
}

// The set's points in id order; the ids must be exactly 0 to n-1.
std::vector<PointPtr> byId(const tin::core::PointSet& set)
{
    std::vector<PointPtr> points = set.allPoints();
    std::sort(points.begin(), points.end(), [](const PointPtr& a, const PointPtr& b) { return a->id() < b->id(); });
    EXPECT_TRUE(points.empty() || (points.front()->id() == 0 && points.back()->id() == static_cast<int>(points.size()) - 1))
        << "ids run from " << points.front()->id() << " to " << points.back()->id();
    return points;
}

double meanElevation(const std::vector<PointPtr>& points)
{
    double sum = 0;
    for (const PointPtr& p : points) {
        sum += p->elevation();
    }
    return sum / static_cast<double>(points.size());
}

void expectAt(const PointPtr& p, const std::array<double, 2>& plane, double z)
{
    EXPECT_NEAR(p->x(), plane[0], 1e-3);
    EXPECT_NEAR(p->y(), plane[1], 1e-3);
    EXPECT_DOUBLE_EQ(p->elevation(), z);
}

class GmlPointSetImporterTest : public ::testing::Test {
protected:
    // An importer converting to the definition, unpacking in the test's temporary folder.
    GmlPointSetImporter& importer(const std::string& definition, int step = 1)
    {
        m_pairs.push_back(std::make_unique<proj::ProjectionPairLonLatDegreeToPlane>(GEOGRAPHIC, definition));
        m_importers.push_back(std::make_unique<GmlPointSetImporter>());
        GmlPointSetImporter& made = *m_importers.back();
        made.setTempFolder(m_temp.path().toLocal8Bit().constData());
        made.setProjectionPair(m_pairs.back().get());
        made.setStep(step);
        return made;
    }

    std::vector<PointPtr> import(const std::string& definition, const std::string& path, int step = 1)
    {
        return byId(importer(definition, step).importPointSet(path.c_str()));
    }

    std::string input(const std::string& name) const { return m_inputs.filePath(QString::fromStdString(name)).toStdString(); }

    void expectTempFolderEmpty() const
    {
        EXPECT_TRUE(QDir(m_temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }

    QTemporaryDir m_inputs;
    QTemporaryDir m_temp;
    std::vector<std::unique_ptr<proj::ProjectionPair>> m_pairs;
    std::vector<std::unique_ptr<GmlPointSetImporter>> m_importers;
};

TEST_F(GmlPointSetImporterTest, Dem5aTileGivesEveryCellWithDataAtItsPlaneCentre)
{
    const std::vector<PointPtr> points = import(ZONE_VIII, realGml(DEM5A));
    ASSERT_EQ(points.size(), 33448u);
    const auto [lowest, highest] = std::minmax_element(points.begin(), points.end(), [](const PointPtr& a, const PointPtr& b) {
        return a->elevation() < b->elevation();
    });
    EXPECT_DOUBLE_EQ((*lowest)->elevation(), 120.00);
    EXPECT_DOUBLE_EQ((*highest)->elevation(), 608.39);
    EXPECT_NEAR(meanElevation(points), 280.3350, 5e-5);

    // The north-west cell comes first: half a cell (0.0125 / 225 by 0.008333333 / 150 degrees)
    // in from the envelope's corner.
    const auto plane = calvextest::cs2cs(ZONE_VIII, {{138.5 + 0.5 * 0.0125 / 225, 35.258333333 - 0.5 * 0.008333333 / 150}});
    expectAt(points[0], plane[0], 145.30);

    EXPECT_EQ(import(ZONE_VIII, realGml(DEM5A), 5).size(), 1336u);
    EXPECT_EQ(import(ZONE_VIII, realGml(DEM5A), 10).size(), 340u);
}

TEST_F(GmlPointSetImporterTest, Dem10bTileStartsAtItsStartPointAndEndsWithItsShortList)
{
    const std::vector<PointPtr> points = import(ZONE_XV, realGml(DEM10B));
    ASSERT_EQ(points.size(), 297u);
    // The 37,074 tuples run from cell column 743, row 639 of the 1125 x 750 grid to column 691,
    // row 672; the cells after them have no data.
    const double lonStep = 0.125 / 1125, latStep = (26.666666667 - 26.583333333) / 750;
    const auto plane = calvextest::cs2cs(ZONE_XV, {{126.832611111, 26.595611111},
                                                   {126.75 + 691.5 * lonStep, 26.666666667 - 672.5 * latStep}});
    expectAt(points[0], plane[0], 1.20);
    expectAt(points.back(), plane[1], 0.10);
    EXPECT_NEAR(meanElevation(points), 3.7391, 5e-5);
}

TEST_F(GmlPointSetImporterTest, Dem5bZipGivesEachTilesPointsOnce)
{
    const std::vector<PointPtr> points = import(ZONE_XVI, realGml(DEM5B_ZIP));
    // The sum of the tiles' own counts: 11,836 + 9,355 + 28,449 + 31,961 + 1,656 + 22,655 + 28,717 + 1.
    EXPECT_EQ(points.size(), 134630u);
    expectTempFolderEmpty();

    // No cell lands twice on the tiles' shared edges; the last tile's single tuple comes last.
    std::set<std::pair<double, double>> positions;
    for (const PointPtr& p : points) {
        positions.emplace(p->x(), p->y());
    }
    EXPECT_EQ(positions.size(), points.size());
    EXPECT_DOUBLE_EQ(points.back()->elevation(), 0.0);
}

TEST_F(GmlPointSetImporterTest, RegionHoldsExactlyThePointsOfTheFullImportInsideIt)
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_TRUE(importer(ZONE_VIII).boundingBox(realGml(DEM5A).c_str(), &x1, &y1, &x2, &y2));
    const double xmin = x1 + 0.3 * (x2 - x1), xmax = x1 + 0.6 * (x2 - x1);
    const double ymin = y1 + 0.25 * (y2 - y1), ymax = y1 + 0.7 * (y2 - y1);
    for (const int step : {1, 4}) {
        SCOPED_TRACE("step " + std::to_string(step));
        const std::vector<PointPtr> all = import(ZONE_VIII, realGml(DEM5A), step);
        std::vector<PointPtr> inside;
        std::copy_if(all.begin(), all.end(), std::back_inserter(inside), [&](const PointPtr& p) {
            return p->x() >= xmin && p->x() <= xmax && p->y() >= ymin && p->y() <= ymax;
        });
        ASSERT_GT(inside.size(), 0u);
        ASSERT_LT(inside.size(), all.size());
        EXPECT_EQ(byId(importer(ZONE_VIII, step).importPointSet(realGml(DEM5A).c_str(), xmin, ymin, xmax, ymax)), inside);
    }

    // Bounds are inclusive: a region shrunk to one point's position holds that point.
    const std::vector<PointPtr> all = import(ZONE_VIII, realGml(DEM5A));
    const PointPtr& p = all[1234];
    const std::vector<PointPtr> one = byId(importer(ZONE_VIII).importPointSet(realGml(DEM5A).c_str(), p->x(), p->y(), p->x(), p->y()));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], p);
    EXPECT_TRUE(importer(ZONE_VIII).importPointSet(realGml(DEM5A).c_str(), xmax, ymin, xmin, ymax).empty());
}

TEST_F(GmlPointSetImporterTest, BoundingBoxIsTheBoxOfTheConvertedEnvelopeCorners)
{
    const auto corners = calvextest::cs2cs(ZONE_VIII, {{138.5, 35.25}, {138.5125, 35.25}, {138.5, 35.258333333}, {138.5125, 35.258333333}});
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_TRUE(importer(ZONE_VIII, 10).boundingBox(realGml(DEM5A).c_str(), &x1, &y1, &x2, &y2));
    EXPECT_NEAR(x1, std::min({corners[0][0], corners[1][0], corners[2][0], corners[3][0]}), 1e-3);
    EXPECT_NEAR(y1, std::min({corners[0][1], corners[1][1], corners[2][1], corners[3][1]}), 1e-3);
    EXPECT_NEAR(x2, std::max({corners[0][0], corners[1][0], corners[2][0], corners[3][0]}), 1e-3);
    EXPECT_NEAR(y2, std::max({corners[0][1], corners[1][1], corners[2][1], corners[3][1]}), 1e-3);
}

TEST_F(GmlPointSetImporterTest, ZipMembersAreReadInNameOrderAndStayInsideTheFolder)
{
    // With a geographic target the plane coordinates are the cell centres in degrees.
    DemFixture east;
    east.lower = "35.0 140.0";
    east.upper = "35.2 140.3";
    const std::string other = "<?xml version=\"1.0\"?><Dataset xmlns=\"x\"><WL/></Dataset>";
    const std::string zip = input("points.ZIP");
    calvextest::writeZip(QString::fromStdString(zip), {{"b.xml", DemFixture().xml()},
                                                       {"notes.txt", "地表面,1.0\n"},
                                                       {"other.xml", other},
                                                       {"a/c.XML", east.xml()}});
    const std::vector<PointPtr> points = import(GEOGRAPHIC, zip);
    ASSERT_EQ(points.size(), 6u);
    EXPECT_NEAR(points[0]->x(), 140.15, 1e-9);
    EXPECT_NEAR(points[3]->x(), 139.15, 1e-9);
    EXPECT_NEAR(points[3]->y(), 35.15, 1e-9);
    EXPECT_DOUBLE_EQ(points[5]->elevation(), -1.5);
    expectTempFolderEmpty();

    // Info-ZIP drops the "../": the member lands inside, nothing beside the folder.
    const std::string escaping = input("escaping.zip");
    calvextest::writeZip(QString::fromStdString(escaping), {{"../outside.xml", east.xml()}, {"inside.xml", DemFixture().xml()}});
    EXPECT_EQ(import(GEOGRAPHIC, escaping).size(), 6u);
    QDir beside(m_temp.path());
    beside.cdUp();
    EXPECT_FALSE(beside.exists("outside.xml"));
    expectTempFolderEmpty();

    // One tile twice gives its points once, numbered without gaps.
    const std::string twice = input("twice.zip");
    calvextest::writeZip(QString::fromStdString(twice), {{"a.xml", DemFixture().xml()}, {"copy/a.xml", DemFixture().xml()}});
    EXPECT_EQ(import(GEOGRAPHIC, twice).size(), 3u);

    const std::string noGrid = input("nogrid.zip");
    calvextest::writeZip(QString::fromStdString(noGrid), {{"other.xml", other}, {"notes.txt", "x"}});
    try {
        importer(GEOGRAPHIC).importPointSet(noGrid.c_str());
        ADD_FAILURE() << "an archive without a grid was read";
    } catch (const common::exception::InvalidFileFormatException& e) {
        EXPECT_EQ(e.fileName(), noGrid);
    }
}

TEST_F(GmlPointSetImporterTest, FailuresThrowNamingTheFile)
{
    const auto expectFailure = [](const char* what, const std::string& named, const auto& call) {
        try {
            call();
            ADD_FAILURE() << what << ": no exception";
        } catch (const RuntimeException& e) {
            EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << what << ": " << e.what();
        }
    };
    const std::string xml = input("grid.xml");
    calvextest::writeFile(QString::fromStdString(xml), DemFixture().xml());
    const std::string zip = input("grid.zip");
    calvextest::writeZip(QString::fromStdString(zip), {{"grid.xml", DemFixture().xml()}});
    const std::string broken = input("broken.zip");
    calvextest::writeFile(QString::fromStdString(broken), std::string("PK\x03\x04", 4) + std::string(200, 'x'));
    const std::string plain = input("line.xml");
    calvextest::writeFile(QString::fromStdString(plain), "<?xml version=\"1.0\"?><Dataset/>");

    expectFailure("no grid in an XML file", plain, [&] { importer(GEOGRAPHIC).importPointSet(plain.c_str()); });
    expectFailure("a broken archive", broken, [&] { importer(GEOGRAPHIC).importPointSet(broken.c_str()); });
    expectTempFolderEmpty();
    expectFailure("a missing file", "absent.xml", [&] { importer(GEOGRAPHIC).importPointSet(input("absent.xml").c_str()); });
    expectFailure("no coordinate system", xml, [&] {
        GmlPointSetImporter bare;
        bare.importPointSet(xml.c_str());
    });
    expectFailure("no temporary folder", zip, [&] {
        GmlPointSetImporter bare;
        proj::ProjectionPairLonLatDegreeToPlane pair(GEOGRAPHIC, GEOGRAPHIC);
        bare.setProjectionPair(&pair);
        bare.importPointSet(zip.c_str());
    });
    // A definition PROJ rejects fails every conversion, in the box as in the points.
    expectFailure("a failing conversion", xml, [&] { importer("+proj=nonsense").importPointSet(xml.c_str()); });
    expectFailure("a step of 0", "0", [&] { importer(GEOGRAPHIC, 0); });

    // Without unzip on PATH the process does not start.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", m_inputs.path().toLocal8Bit());
    expectFailure("no unzip", zip, [&] { importer(GEOGRAPHIC).importPointSet(zip.c_str()); });
    qputenv("PATH", path);
    expectTempFolderEmpty();
}

} // namespace
