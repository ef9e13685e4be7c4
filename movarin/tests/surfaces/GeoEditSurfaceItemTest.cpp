// A mold swept along a path and merged into the edited TIN. Volumes by the TIN modifier's
// cut and fill (base against edited; plus, the fill, is the edited TIN above the base) on the
// flat terrain: the mold's cross section above or below ground times the path's length; the
// triangle objects put in and taken out against the edited TIN before and after; the
// extension of path and mold by their rules.
#include "SurfacesTestSupport.h"


#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

namespace varnel::test {
namespace {

using tin::core::Point;

std::vector<std::tuple<double, double, double>> xyzOf(const std::vector<Point>& points)
{
    std::vector<std::tuple<double, double, double>> out;
    for (const Point& p : points) {
        out.emplace_back(p.x(), p.y(), p.elevation());
    }
    return out;
}

// The default molds' heights span 2 m: beyond a path's end the extended surface reaches the
// ground within d.
const double D = 2.0 / std::tan(80.0 * M_PI / 180.0);

// The same inside the rectangle 12 m wide about y = 50 from x = 30 to x = 70.
CutFill differencesAlongThePath(const tin::core::Tin& base, const tin::core::Tin& edited)
{
    return differencesInside(base, edited, QRectF(30.0, 44.0, 40.0, 12.0));
}

std::vector<Point> levelPath(double x0, double x1)
{
    return {Point(x0, 50.0, 0.0), Point(x1, 50.0, 0.0)};
}

// The least of (edited - base) * sign at random points, and whether every edge of the
// edited TIN has one or two triangles.
void expectOneSidedAndSound(const tin::core::Tin& base, const tin::core::Tin& edited, double sign)
{
    std::mt19937 random(41);
    std::uniform_real_distribution<double> coordinate(0.0, 100.0);
    double least = INFINITY;
    for (int k = 0; k < 10000; ++k) {
        const tin::core::Point2D p(coordinate(random), coordinate(random));
        double zb = 0.0;
        double ze = 0.0;
        ASSERT_TRUE(base.interpolatedElevation(p, &zb) && edited.interpolatedElevation(p, &ze));
        least = std::min(least, sign * (ze - zb));
    }
    EXPECT_GE(least, -1e-9) << "the terrain moved the wrong way";
    for (const auto& t : edited.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            const std::size_t n = edited.findTriangleFromEdge(t->edge(i)).size();
            ASSERT_TRUE(n == 1 || n == 2) << n << " triangles on an edge";
        }
    }
}

using GeoEditSurfaceItemTest = SurfacesTest;

TEST_F(GeoEditSurfaceItemTest, AddFillsTheMoldsCrossSectionAboveGroundAlongThePath)
{
    GeoEditSurfaceItem* surface = applyMold(QStringLiteral("Convex (Add)"), levelPath(30.0, 70.0));
    ASSERT_NE(surface, nullptr);
    // Above ground the convex mold holds 4.5 m2: its flat top (3 m2) and two slopes.
    const CutFill inside = differencesAlongThePath(base(), edited());
    EXPECT_NEAR(inside.fill, 4.5 * 40.0, 4.5 * 40.0 * 1e-6);
    EXPECT_NEAR(inside.cut, 0.0, 1e-9);
    const CutFill whole = differences(base(), edited());
    EXPECT_GE(whole.fill, 4.5 * 40.0 * (1.0 - 1e-9));
    EXPECT_LE(whole.fill, 4.5 * (40.0 + 2.0 * D) * (1.0 + 1e-9));
    EXPECT_NEAR(whole.cut, 0.0, 1e-9);
    expectOneSidedAndSound(base(), edited(), +1.0);

    // Taken back, then applied 20 m longer: 20 m of cross section more, the ends alike.
    guimisc::UserDialogScript script;
    deleteThroughBrowser(surface, script);
    EXPECT_EQ(trianglesOf(edited()), trianglesOf(base()));
    ASSERT_NE(applyMold(QStringLiteral("Convex (Add)"), levelPath(20.0, 80.0)), nullptr);
    EXPECT_NEAR(differences(base(), edited()).fill - whole.fill, 90.0, 90.0 * 1e-6);
}

TEST_F(GeoEditSurfaceItemTest, SubCutsTheMoldsCrossSectionBelowGroundAlongThePath)
{
    ASSERT_NE(applyMold(QStringLiteral("Concave (Sub)"), levelPath(30.0, 70.0)), nullptr);
    // Below ground the concave mold's bottom holds 6 m2 and its walls 12/13 m2.
    const CutFill inside = differencesAlongThePath(base(), edited());
    EXPECT_NEAR(inside.cut, -90.0 / 13.0 * 40.0, 90.0 / 13.0 * 40.0 * 1e-6);
    EXPECT_NEAR(differences(base(), edited()).fill, 0.0, 1e-9);
    expectOneSidedAndSound(base(), edited(), -1.0);
}

TEST_F(GeoEditSurfaceItemTest, SwapsPutTheVeryTrianglesOfTheMergeInAndOutAndAnnounceThemOnce)
{
    const Identities before = identities(edited());
    std::vector<Identities> announced;
    QObject context;
    QObject::connect(editedItem(), &TinItem::tinChanged, &context,
                     [&](const tin::core::Tin& partial) { announced.push_back(identities(partial)); });
    GeoEditSurfaceItem* surface = applyMold(QStringLiteral("Slope 1 (Add)"),
                                            {Point(20.0, 20.0, 0.0), Point(50.0, 60.0, 0.0), Point(80.0, 30.0, 0.0)});
    ASSERT_NE(surface, nullptr);
    const Identities added = identities(surface->addedTin());
    const Identities removed = identities(surface->removedTin());
    ASSERT_FALSE(added.empty());
    Identities expected = before;
    for (const auto* t : removed) {
        EXPECT_EQ(expected.erase(t), 1u) << "a removed triangle was not in the terrain";
    }
    for (const auto* t : added) {
        EXPECT_TRUE(expected.insert(t).second) << "an added triangle was in the terrain";
    }
    const Identities after = identities(edited());
    EXPECT_EQ(after, expected);
    for (int cycle = 0; cycle < 3; ++cycle) {
        surface->swapTriangles(surface->addedTin(), surface->removedTin());
        EXPECT_EQ(identities(edited()), before);
        surface->swapTriangles(surface->removedTin(), surface->addedTin());
        EXPECT_EQ(identities(edited()), after);
    }
    ASSERT_EQ(announced.size(), 6u);
    EXPECT_EQ(announced[4], removed);
    EXPECT_EQ(announced[5], added);

    // A destroyed surface relays nothing; the next one's swap is announced once.
    group()->deleteChild(surface);
    announced.clear();
    GeoEditSurfaceByBrushItem* brush = applyBrush(QStringLiteral("brush"), raiseCell(edited(), 40, 40, 1.0));
    EXPECT_EQ(announced, std::vector<Identities>{identities(brush->addedTin())});
}

TEST_F(GeoEditSurfaceItemTest, DegeneratePathsAndMoldsGiveFiniteTinsOrNone)
{
    const MoldItem convex(QStringLiteral("convex"), mold::core::Mold(mold::core::Mold::Add, {-4.5, -1.5, 1.5, 4.5}, {-1.0, 1.0, 1.0, -1.0}, 0.0, 0.0), nullptr);
    // Coinciding first points: the start is prolonged along the first segment with a length.
    const std::vector<Point> doubled = {Point(30.0, 50.0, 0.0), Point(30.0, 50.0, 0.0), Point(70.0, 50.0, 0.0)};
    const std::vector<Point> extended = GeoEditSurfaceItem::extendedPath(doubled, convex, false);
    ASSERT_EQ(extended.size(), 5u);
    EXPECT_NEAR(extended[0].x(), 30.0 - D, 1e-12);
    EXPECT_EQ(extended[0].y(), 50.0);
    if (std::unique_ptr<GeoEditSurfaceItem> surface{group()->createGeoEditSurfaceItem({}, doubled, convex)}) {
        for (const tin::core::Tin* tin : {surface->tin(), surface->extendedTin()}) {
            for (const tin::core::Point* p : verticesOf(*tin)) {
                EXPECT_TRUE(std::isfinite(p->x()) && std::isfinite(p->y()) && std::isfinite(p->elevation()));
            }
        }
    }
    // One place only, or a one-point mold: nothing is swept and the group makes no surface.
    const std::vector<Point> still = {Point(30.0, 50.0, 0.0), Point(30.0, 50.0, 1.0)};
    EXPECT_EQ(GeoEditSurfaceItem::extendedPath(still, convex, false).size(), 2u);
    EXPECT_EQ(group()->createGeoEditSurfaceItem({}, still, convex), nullptr);
    const MoldItem point({}, mold::core::Mold(mold::core::Mold::Add, {0.0}, {1.0}, 0.0, 0.0), nullptr);
    EXPECT_EQ(group()->createGeoEditSurfaceItem({}, levelPath(30.0, 70.0), point), nullptr);
    EXPECT_TRUE(group()->childItems().empty());
}

TEST(GeoEditSurfaceExtension, PathIsProlongedSteeplyAndTheMoldsOuterSegmentsDoubled)
{
    const std::vector<Point> path = {Point(0.0, 0.0, 5.0), Point(3.0, 4.0, 6.0), Point(3.0, 10.0, 7.0)};
    const auto moldOf = [](mold::core::Mold::EditType type, std::vector<double> l, std::vector<double> h) {
        return std::make_unique<MoldItem>(QString(), mold::core::Mold(type, l, h, 0.0, 0.0), nullptr);
    };
    const double d = 3.0 / std::tan(80.0 * M_PI / 180.0);
    std::vector<Point> e = GeoEditSurfaceItem::extendedPath(path, *moldOf(mold::core::Mold::Add, {-2, 0, 2}, {1, -1, 2}), false);
    ASSERT_EQ(e.size(), 5u);
    EXPECT_NEAR(e[0].x(), -0.6 * d, 1e-12);
    EXPECT_NEAR(e[0].y(), -0.8 * d, 1e-12);
    EXPECT_EQ(e[0].elevation(), 5.0 - 3.0);
    EXPECT_NEAR(e[4].y(), 10.0 + d, 1e-12);
    EXPECT_EQ(e[4].elevation(), 7.0 - 3.0);
    EXPECT_EQ(e[2].x(), path[1].x());
    e = GeoEditSurfaceItem::extendedPath(path, *moldOf(mold::core::Mold::Subtract, {-2, 0, 2}, {1, -1, 2}), false);
    EXPECT_EQ(e[0].elevation(), 5.0 + 3.0);
    EXPECT_EQ(GeoEditSurfaceItem::extendedPath(path, *moldOf(mold::core::Mold::Add, {-2, 0, 2}, {1, -1, 2}), true).size(), 3u);
    // A level mold prolongs by nothing: the path as it is (a repeated end would lose its run).
    e = GeoEditSurfaceItem::extendedPath({path[0], path[1]}, *moldOf(mold::core::Mold::Add, {-1, 1}, {0.5, 0.5}), false);
    EXPECT_EQ(xyzOf(e), xyzOf({path[0], path[1]}));

    const auto two = GeoEditSurfaceItem::extendedMold(*moldOf(mold::core::Mold::Add, {-1, 1}, {3, 5}));
    EXPECT_EQ(two->l(), (std::vector<double>{-2, 2}));
    EXPECT_EQ(two->h(), (std::vector<double>{2, 6}));
    const auto four = GeoEditSurfaceItem::extendedMold(*moldOf(mold::core::Mold::Subtract, {-4.5, -1.5, 1.5, 4.5}, {11, -2, -2, 11}));
    EXPECT_EQ(four->l(), (std::vector<double>{-7.5, -1.5, 1.5, 7.5}));
    EXPECT_EQ(four->h(), (std::vector<double>{24, -2, -2, 24}));
    EXPECT_EQ(four->editType(), mold::core::Mold::Subtract);
}

} // namespace
} // namespace varnel::test
