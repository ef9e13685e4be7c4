// A mold swept along a path and merged into the edited TIN. Volumes by the TIN modifier's
// cut and fill (edited against base, plus the fill) on a flat terrain: the mold's cross
// section above ground times the path's length; the added and removed triangle objects
// against the edited TIN before and after; the extension of path and mold by its rules.
#include "SurfacesTestSupport.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "orlin/core/Edge.h"
#include "orlin/core/Polygon.h"
#include "orlin/util/PolygonToTin.h"
#include "orlin/util/TinModifier.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QFile>
#include <QStandardItem>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace varnel::test {
namespace {

using tin::core::Point;
using tin::util::TinModifier;

// Beyond a path's end the extended surface reaches the ground within d = 2 / tan 80 degrees
// (the default molds' heights span 2 m).
const double D = 2.0 / std::tan(80.0 * M_PI / 180.0);

// A flat square of 100 m at elevation 0 on a 2 m grid.
tin::core::Tin flatTerrain()
{
    std::vector<std::shared_ptr<Point>> nodes;
    for (int j = 0; j <= 50; ++j) {
        for (int i = 0; i <= 50; ++i) {
            nodes.push_back(std::make_shared<Point>(2.0 * i, 2.0 * j, 0.0));
        }
    }
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * 51 + i)]; };
    tin::core::Tin tin;
    for (int j = 0; j < 50; ++j) {
        for (int i = 0; i < 50; ++i) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

struct CutFill {
    double fill = 0.0;
    double cut = 0.0;
};

// Edited against base: the fill (edited above base) and the cut (zero or negative).
CutFill differences(const tin::core::Tin& base, const tin::core::Tin& edited)
{
    bool ok = false;
    CutFill v;
    TinModifier::calculateDifferences(base, edited, &ok, &v.fill, &v.cut);
    EXPECT_TRUE(ok);
    return v;
}

// The same inside the rectangle 12 m wide along the x axis from x0 to x1 about y = 50.
CutFill differencesAlong(const tin::core::Tin& base, const tin::core::Tin& edited, double x0, double x1)
{
    tin::core::Polygon rectangle;
    for (const auto& [x, y] : {std::pair{x0, 44.0}, {x1, 44.0}, {x1, 56.0}, {x0, 56.0}}) {
        rectangle.addPoint(tin::core::Point2D(x, y));
    }
    const tin::core::Tin region = tin::util::PolygonToTin::convert(rectangle);
    bool ok = false;
    const tin::core::Tin b = TinModifier::overwrite_deleteLonelyRegions(region, base, &ok, nullptr, nullptr, nullptr);
    EXPECT_TRUE(ok);
    const tin::core::Tin e = TinModifier::overwrite_deleteLonelyRegions(region, edited, &ok, nullptr, nullptr, nullptr);
    EXPECT_TRUE(ok);
    return differences(b, e);
}

std::vector<Point> levelPath(double x0, double x1)
{
    return {Point(x0, 50.0, 0.0), Point(x1, 50.0, 0.0)};
}

// Whether every edge of the TIN has one or two triangles.
bool edgesHaveOneOrTwoTriangles(const tin::core::Tin& tin)
{
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            const std::size_t n = tin.findTriangleFromEdge(t->edge(i)).size();
            if (n < 1 || n > 2) {
                return false;
            }
        }
    }
    return true;
}

// The least of edited less base (sign +1) or base less edited (sign -1) at random points.
double leastRise(const tin::core::Tin& base, const tin::core::Tin& edited, double sign)
{
    std::mt19937 random(41);
    std::uniform_real_distribution<double> coordinate(0.0, 100.0);
    double least = INFINITY;
    for (int k = 0; k < 10000; ++k) {
        const tin::core::Point2D p(coordinate(random), coordinate(random));
        double zb = 0.0;
        double ze = 0.0;
        EXPECT_TRUE(base.interpolatedElevation(p, &zb));
        EXPECT_TRUE(edited.interpolatedElevation(p, &ze));
        least = std::min(least, sign * (ze - zb));
    }
    return least;
}

bool allFinite(const tin::core::Tin* tin)
{
    if (!tin) {
        return true;
    }
    for (const auto& t : tin->allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            const Point& p = *t->point(i);
            if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || !std::isfinite(p.elevation())) {
                return false;
            }
        }
    }
    return true;
}

class GeoEditSurfaceItemTest : public SurfacesTest {
protected:
    tin::core::Tin terrain() const override { return flatTerrain(); }

    const tin::core::Tin& base() const { return *root()->baseTinItem()->tin(); }

    GeoEditSurfaceItem* applied(const QString& moldName, const std::vector<Point>& path)
    {
        GeoEditSurfaceItem* surface = group()->createGeoEditSurfaceItem(moldName, path, *mold(moldName));
        if (!surface) {
            ADD_FAILURE() << "no surface";
            return nullptr;
        }
        EXPECT_TRUE(applyMold(surface));
        return surface;
    }
};

TEST_F(GeoEditSurfaceItemTest, AddFillsTheMoldsCrossSectionAboveGroundAlongThePath)
{
    GeoEditSurfaceItem* surface = applied(QStringLiteral("Convex (Add)"), levelPath(30.0, 70.0));
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->isValid());
    // Above ground the convex mold holds 1.5 + 3 m2: its flat top and two slopes.
    const CutFill inside = differencesAlong(base(), edited(), 30.0, 70.0);
    EXPECT_NEAR(inside.fill, 4.5 * 40.0, 4.5 * 40.0 * 1e-6);
    EXPECT_NEAR(inside.cut, 0.0, 1e-9);
    const CutFill whole = differences(base(), edited());
    EXPECT_GE(whole.fill, 4.5 * 40.0 * (1.0 - 1e-9));
    EXPECT_LE(whole.fill, 4.5 * (40.0 + 2.0 * D) * (1.0 + 1e-9));
    EXPECT_NEAR(whole.cut, 0.0, 1e-9);
    EXPECT_GE(leastRise(base(), edited(), +1.0), -1e-9) << "an Add lowered the terrain";
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(edited()));

    // Taken back through the browser, and applied again 20 m longer: 20 m of cross section more.
    guimisc::UserDialogScript script;
    script.answer(QMessageBox::Yes);
    root()->model()->select(surface);
    root()->model()->objectBrowserView()->deleteAction()->trigger();
    EXPECT_EQ(trianglesOf(edited()), trianglesOf(base()));
    ASSERT_NE(applied(QStringLiteral("Convex (Add)"), levelPath(20.0, 80.0)), nullptr);
    EXPECT_NEAR(differences(base(), edited()).fill - whole.fill, 90.0, 90.0 * 1e-6);
}

TEST_F(GeoEditSurfaceItemTest, SubCutsTheMoldsCrossSectionBelowGroundAlongThePath)
{
    ASSERT_NE(applied(QStringLiteral("Concave (Sub)"), levelPath(30.0, 70.0)), nullptr);
    // Below ground the concave mold's bottom holds 6 m2 and its walls 12/13 m2.
    const CutFill inside = differencesAlong(base(), edited(), 30.0, 70.0);
    EXPECT_NEAR(inside.cut, -90.0 / 13.0 * 40.0, 90.0 / 13.0 * 40.0 * 1e-6);
    EXPECT_NEAR(inside.fill, 0.0, 1e-9);
    EXPECT_NEAR(differences(base(), edited()).fill, 0.0, 1e-9);
    EXPECT_GE(leastRise(base(), edited(), -1.0), -1e-9) << "a Sub raised the terrain";
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(edited()));
}

TEST_F(GeoEditSurfaceItemTest, AppliedSurfaceIsTheTerrainLessItsRemovedPlusItsAddedTriangles)
{
    const auto before = identitiesOf(edited().allTriangles());
    GeoEditSurfaceItem* surface = applied(QStringLiteral("Slope 1 (Add)"),
                                          {Point(20.0, 20.0, 0.0), Point(50.0, 60.0, 0.0), Point(80.0, 30.0, 0.0)});
    ASSERT_NE(surface, nullptr);
    const auto added = identitiesOf(surface->addedTin().allTriangles());
    const auto removed = identitiesOf(surface->removedTin().allTriangles());
    ASSERT_FALSE(added.empty());
    ASSERT_FALSE(removed.empty());
    auto expected = before;
    for (const auto* t : removed) {
        EXPECT_EQ(expected.erase(t), 1u) << "a removed triangle was not in the terrain";
    }
    for (const auto* t : added) {
        EXPECT_TRUE(expected.insert(t).second) << "an added triangle was in the terrain";
    }
    const auto after = identitiesOf(edited().allTriangles());
    EXPECT_EQ(after, expected);
    for (int cycle = 0; cycle < 3; ++cycle) {
        surface->swapTriangles(surface->addedTin(), surface->removedTin());
        EXPECT_EQ(identitiesOf(edited().allTriangles()), before);
        surface->swapTriangles(surface->removedTin(), surface->addedTin());
        EXPECT_EQ(identitiesOf(edited().allTriangles()), after);
    }
}

TEST_F(GeoEditSurfaceItemTest, ReopenedMoldSurfaceKeepsItsSweepAndTakesItsEffectBack)
{
    GeoEditSurfaceItem* surface = applied(QStringLiteral("Concave (Sub)"), levelPath(30.0, 70.0));
    ASSERT_NE(surface, nullptr);
    applyBrush(QStringLiteral("brush"), raiseCell(edited(), 5, 5, 2.0));
    const QString archive = saveArchive();
    std::vector<QStringList> orders;
    QFile xml(m_session.projectXmlPath());
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("GeoEditSurface")) {
            QStringList names;
            for (const QXmlStreamAttribute& a : reader.attributes()) {
                names << a.name().toString();
            }
            orders.push_back(names);
        }
    }
    EXPECT_EQ(orders, std::vector<QStringList>{QStringList({"checkState", "isExpanded", "name", "closed", "moldName", "valid"})});

    ProjectSession second;
    EditModeMainWindowModelRootItem* root = reopen(second, archive);
    ASSERT_NE(root, nullptr);
    const std::vector<GeoEditSurfaceItemI*> surfaces = surfacesOf(*root->geoEditSurfaceGroupItem());
    ASSERT_EQ(surfaces.size(), 2u);
    auto reopened = qobject_cast<GeoEditSurfaceItem*>(surfaces[1]);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->filename(), "geoedit2.ges");
    EXPECT_EQ(reopened->moldName(), "Concave (Sub)");
    EXPECT_EQ(reopened->mold().h(), surface->mold().h());
    EXPECT_FALSE(reopened->closed());
    EXPECT_TRUE(reopened->isValid());
    ASSERT_EQ(reopened->path().size(), 2u);
    EXPECT_EQ(reopened->path()[1].x(), 70.0);
    ASSERT_NE(reopened->tin(), nullptr);
    EXPECT_EQ(trianglesOf(*reopened->tin()), trianglesOf(*surface->tin()));
    EXPECT_EQ(trianglesOf(*reopened->extendedTin()), trianglesOf(*surface->extendedTin()));
    EXPECT_EQ(reopened->myBoundingBox(), surface->myBoundingBox());

    guimisc::UserDialogScript script;
    for (GeoEditSurfaceItemI* s : surfaces) {
        script.answer(QMessageBox::Yes);
        root->model()->select(s);
        root->model()->objectBrowserView()->deleteAction()->trigger();
    }
    EXPECT_EQ(script.records().size(), 2u);
    EXPECT_EQ(trianglesOf(*root->tinItem()->tin()), trianglesOf(*root->baseTinItem()->tin()));
}

TEST_F(GeoEditSurfaceItemTest, DegeneratePathsAndMoldsGiveFiniteTinsOrNone)
{
    // Coinciding first points: the start is prolonged along the first segment that has a length.
    const std::vector<Point> doubled = {Point(30.0, 50.0, 0.0), Point(30.0, 50.0, 0.0), Point(70.0, 50.0, 0.0)};
    const MoldItem& convex = *mold(QStringLiteral("Convex (Add)"));
    const std::vector<Point> extended = GeoEditSurfaceItem::extendedPath(doubled, convex, false);
    ASSERT_EQ(extended.size(), 5u);
    EXPECT_NEAR(extended[0].x(), 30.0 - D, 1e-12);
    EXPECT_EQ(extended[0].y(), 50.0);
    EXPECT_EQ(extended[0].elevation(), -2.0);
    GeoEditSurfaceItem* surface = group()->createGeoEditSurfaceItem(QStringLiteral("doubled"), doubled, convex);
    if (surface) {
        EXPECT_TRUE(allFinite(surface->tin()));
        EXPECT_TRUE(allFinite(surface->extendedTin()));
        delete surface;
    }

    // One place only, or a one-point mold: nothing is swept and the group makes no surface.
    const std::vector<Point> still = {Point(30.0, 50.0, 0.0), Point(30.0, 50.0, 1.0)};
    EXPECT_EQ(GeoEditSurfaceItem::extendedPath(still, convex, false).size(), 2u);
    EXPECT_EQ(group()->createGeoEditSurfaceItem(QStringLiteral("still"), still, convex), nullptr);
    const MoldItem point(QStringLiteral("point"), mold::core::Mold(mold::core::Mold::Add, {0.0}, {1.0}, 0.0, 0.0), nullptr);
    EXPECT_EQ(group()->createGeoEditSurfaceItem(QStringLiteral("point"), levelPath(30.0, 70.0), point), nullptr);
    EXPECT_EQ(group()->browserItem()->rowCount(), 0);
    EXPECT_TRUE(group()->childItems().empty());
}

TEST(GeoEditSurfaceExtension, PathIsProlongedSteeplyAndMoldsOuterSegmentsDoubled)
{
    const std::vector<Point> path = {Point(0.0, 0.0, 5.0), Point(3.0, 4.0, 6.0), Point(3.0, 10.0, 7.0)};
    const MoldItem add(QStringLiteral("a"), mold::core::Mold(mold::core::Mold::Add, {-2.0, 0.0, 2.0}, {1.0, -1.0, 2.0}, 0.0, 0.0), nullptr);
    const double d = 3.0 / std::tan(80.0 * M_PI / 180.0);
    std::vector<Point> e = GeoEditSurfaceItem::extendedPath(path, add, false);
    ASSERT_EQ(e.size(), 5u);
    EXPECT_NEAR(e[0].x(), -0.6 * d, 1e-12);
    EXPECT_NEAR(e[0].y(), -0.8 * d, 1e-12);
    EXPECT_EQ(e[0].elevation(), 5.0 - 3.0);
    EXPECT_NEAR(e[4].x(), 3.0, 1e-12);
    EXPECT_NEAR(e[4].y(), 10.0 + d, 1e-12);
    EXPECT_EQ(e[4].elevation(), 7.0 - 3.0);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(e[i + 1].x(), path[i].x());
        EXPECT_EQ(e[i + 1].elevation(), path[i].elevation());
    }
    const MoldItem sub(QStringLiteral("s"), mold::core::Mold(mold::core::Mold::Subtract, {-2.0, 0.0, 2.0}, {1.0, -1.0, 2.0}, 0.0, 0.0), nullptr);
    e = GeoEditSurfaceItem::extendedPath(path, sub, false);
    EXPECT_EQ(e[0].elevation(), 5.0 + 3.0);
    EXPECT_EQ(e[4].elevation(), 7.0 + 3.0);
    // Closed: unchanged. Level mold: each end repeated where it is.
    EXPECT_EQ(GeoEditSurfaceItem::extendedPath(path, add, true).size(), 3u);
    const MoldItem level(QStringLiteral("l"), mold::core::Mold(mold::core::Mold::Add, {-1.0, 1.0}, {0.5, 0.5}, 0.0, 0.0), nullptr);
    e = GeoEditSurfaceItem::extendedPath({path[0], path[1]}, level, false);
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].x(), 0.0);
    EXPECT_EQ(e[0].y(), 0.0);
    EXPECT_EQ(e[0].elevation(), 5.0);
    EXPECT_EQ(e[3].x(), 3.0);
    EXPECT_EQ(e[3].elevation(), 6.0);

    const std::unique_ptr<MoldItem> two = GeoEditSurfaceItem::extendedMold(
        MoldItem(QStringLiteral("two"), mold::core::Mold(mold::core::Mold::Add, {-1.0, 1.0}, {3.0, 5.0}, 0.0, 0.0), nullptr));
    EXPECT_EQ(two->l(), (std::vector<double>{-2.0, 2.0}));
    EXPECT_EQ(two->h(), (std::vector<double>{2.0, 6.0}));
    const std::unique_ptr<MoldItem> four = GeoEditSurfaceItem::extendedMold(*std::make_unique<MoldItem>(
        QStringLiteral("four"), mold::core::Mold(mold::core::Mold::Subtract, {-4.5, -1.5, 1.5, 4.5}, {11.0, -2.0, -2.0, 11.0}, 0.0, 0.0), nullptr));
    EXPECT_EQ(four->l(), (std::vector<double>{-7.5, -1.5, 1.5, 7.5}));
    EXPECT_EQ(four->h(), (std::vector<double>{24.0, -2.0, -2.0, 24.0}));
    EXPECT_EQ(four->editType(), mold::core::Mold::Subtract);
}

} // namespace
} // namespace varnel::test
