// A pending brush edit on its own: the elevation rules on real points, what the strokes leave
// untouched (the edited TIN, the points an undone surface still holds), the refusal of a
// brush too small for its triangles, and the periphery split that makes the edit conforming.
#include "BrushTestSupport.h"

#include "movarin/surfaces/BrushEdit.h"
#include "movarin/surfaces/BrushFootprint.h"

#include "orlin/core/Polygon.h"
#include "orlin/util/TinModifier.h"

#include <gtest/gtest.h>

#include <random>

namespace varnel::test {
namespace {

using tin::core::Point2D;

BrushSettings settingsWith(double size, double unit)
{
    BrushSettings settings;
    settings.brushSize = size;
    settings.brushEditUnit = unit;
    return settings;
}

// The elevation of the one vertex of `tin` at (x, y).
double elevationAt(const tin::core::Tin& tin, double x, double y)
{
    const std::vector<PointPtr> found = tin.findPointsAt(Point2D(x, y));
    EXPECT_EQ(found.size(), 1u) << "at " << x << ", " << y;
    return found.empty() ? NAN : found.front()->elevation();
}

// Three points at the given elevations on one triangle, under a footprint that holds them all
// and a brush too large to divide anything.
struct ThreePoints {
    explicit ThreePoints(double z1, double z2, double z3)
    {
        edited.addTriangle(tin::core::Point(0, 0, z1), tin::core::Point(4, 0, z2), tin::core::Point(0, 4, z3));
    }

    std::vector<double> elevations(const BrushEdit& edit) const
    {
        return {elevationAt(edit.addedTin(), 0, 0), elevationAt(edit.addedTin(), 4, 0),
                elevationAt(edit.addedTin(), 0, 4)};
    }

    tin::core::Tin edited;
    const tin::core::Polygon footprint = BrushFootprint::brushSquare(Point2D(1, 1), 10.0);
};

TEST(BrushEditTest, RaisingStopsAtTheLimitShiftLowersPastItAndANegativeUnitTurnsBothAround)
{
    BrushSettings settings = settingsWith(20.0, 0.5);
    settings.brushLimitEnabled = true;
    settings.brushLimit = 10.0;
    {
        ThreePoints points(9.8, 10.0, 10.3);
        BrushEdit edit;
        EXPECT_EQ(edit.modifyElevation(points.edited, points.footprint, true, settings), BrushEdit::Outcome::Preview);
        EXPECT_EQ(points.elevations(edit), (std::vector<double>{10.0, 10.0, 10.3}));
        edit.clear();
        edit.modifyElevation(points.edited, points.footprint, false, settings);
        EXPECT_EQ(points.elevations(edit), (std::vector<double>{9.3, 9.5, 9.8})) << "Shift ignores the limit";
    }
    {
        // A negative unit lowers towards the limit from above and leaves what lies below it.
        settings.brushEditUnit = -0.5;
        ThreePoints points(9.8, 10.2, 11.0);
        BrushEdit edit;
        edit.modifyElevation(points.edited, points.footprint, true, settings);
        EXPECT_EQ(points.elevations(edit), (std::vector<double>{9.8, 10.0, 10.5}));
        settings.brushLimitEnabled = false;
        edit.clear();
        edit.modifyElevation(points.edited, points.footprint, false, settings);
        EXPECT_EQ(points.elevations(edit), (std::vector<double>{10.3, 10.7, 11.5})) << "Shift raises";
    }
}

TEST(BrushEditTest, LevellingOffFillsUpToOrShavesDownToOneUnitFromTheExtreme)
{
    const BrushSettings up = settingsWith(20.0, 0.2);
    const BrushSettings down = settingsWith(20.0, -0.2);
    ThreePoints points(3.0, 3.1, 3.5);
    BrushEdit edit;
    EXPECT_EQ(edit.levelOffElevation(points.edited, points.footprint, up), BrushEdit::Outcome::Preview);
    const std::vector<double> filled = points.elevations(edit);
    EXPECT_NEAR(filled[0], 3.2, 1e-12);
    EXPECT_NEAR(filled[1], 3.2, 1e-12);
    EXPECT_EQ(filled[2], 3.5);
    edit.clear();
    edit.levelOffElevation(points.edited, points.footprint, down);
    const std::vector<double> shaved = points.elevations(edit);
    EXPECT_EQ(shaved[0], 3.0);
    EXPECT_EQ(shaved[1], 3.1);
    EXPECT_NEAR(shaved[2], 3.3, 1e-12);

    // Nothing under the brush: raising still asks for a preview, levelling off does not.
    const tin::core::Polygon elsewhere = BrushFootprint::brushSquare(Point2D(50, 50), 5.0);
    edit.clear();
    EXPECT_EQ(edit.modifyElevation(points.edited, elsewhere, true, up), BrushEdit::Outcome::Preview);
    EXPECT_EQ(edit.levelOffElevation(points.edited, elsewhere, up), BrushEdit::Outcome::NoPreview);
    EXPECT_EQ(edit.modifyElevation(points.edited, tin::core::Polygon(), true, up), BrushEdit::Outcome::Preview);
    EXPECT_FALSE(edit.isPending());
}

TEST(BrushEditTest, OneClickOnAFlatGridRaisesTheTwentyFiveVerticesWithinTwoMetresByTheirVolume)
{
    // 1 m grid, "/" diagonals, z = 0; size 5 centred on the vertex (10, 10).
    const tin::core::Tin edited = flatGrid(20, 20, 1.0);
    BrushEdit edit;
    edit.apply(edited, BrushFootprint::brushSquare(Point2D(10, 10), 5.0), true, settingsWith(5.0, 0.1));
    int raised = 0;
    for (const PointPtr& p : vertexPointsOf(edit.addedTin())) {
        if (p->elevation() != 0.0) {
            EXPECT_NEAR(p->elevation(), 0.1, 1e-15);
            EXPECT_LE(std::abs(p->x() - 10.0), 2.0);
            EXPECT_LE(std::abs(p->y() - 10.0), 2.0);
            ++raised;
        }
    }
    EXPECT_EQ(raised, 25);
    EXPECT_EQ(edit.addedTin().allTriangles().size(), edit.removedTin().allTriangles().size()) << "a 1 m edge was divided";
    edit.subdividePeriphery(edited, settingsWith(5.0, 0.1));
    bool ok = false;
    double fill = NAN;
    double cut = NAN;
    tin::util::TinModifier::calculateDifferences(edited, swapped(edited, edit.removedTin(), edit.addedTin()), &ok,
                                                 &fill, &cut);
    ASSERT_TRUE(ok);
    EXPECT_NEAR(fill, 2.5, 1e-9);
    EXPECT_EQ(cut, 0.0);
}

// A sloped 10 m grid brushed with size 3, so that every edge is divided: several strokes of
// each kind, then the periphery split.
class BrushedSlopeTest : public ::testing::Test {
protected:
    void brush(BrushEdit& edit)
    {
        BrushSettings settings = settingsWith(3.0, 0.4);
        edit.apply(edited, BrushFootprint::sweptBrushPolygon(Point2D(12, 12), Point2D(31, 17), 3.0), true, settings);
        edit.apply(edited, BrushFootprint::brushSquare(Point2D(31, 17), 3.0), false, settings);
        edit.apply(edited, BrushFootprint::sweptBrushPolygon(Point2D(20, 40), Point2D(20, 22), 3.0), true, settings);
        settings.brushLevelOff = true;
        edit.apply(edited, BrushFootprint::brushSquare(Point2D(25, 15), 3.0), true, settings);
    }

    const tin::core::Tin edited = gridTin(6, 6, 10.0, [](double x, double y) { return 0.05 * x - 0.02 * y + 3.0; });
};

TEST_F(BrushedSlopeTest, SubdivisionKeepsThePlaneAndStrokesLeaveTheEditedTinAsItWas)
{
    std::set<const tin::core::Triangle*> identities;
    for (const TrianglePtr& t : edited.allTriangles()) {
        identities.insert(t.get());
    }
    const auto elevations = elevationsOf(edited);

    BrushEdit edit;
    const tin::core::Polygon stroke = BrushFootprint::sweptBrushPolygon(Point2D(12, 12), Point2D(31, 17), 3.0);
    ASSERT_TRUE(edit.subdivide(edited, stroke, 3.0, 1.5));
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coordinate(0.0, 60.0);
    int inside = 0;
    while (inside < 1000) {
        const Point2D p(coordinate(random), coordinate(random));
        double before = NAN;
        if (!edit.removedTin().interpolatedElevation(p, &before)) {
            continue;
        }
        double after = NAN;
        ASSERT_TRUE(edit.addedTin().interpolatedElevation(p, &after));
        EXPECT_NEAR(after, before, 1e-9);
        ++inside;
    }

    brush(edit);
    std::set<const tin::core::Triangle*> identitiesAfter;
    for (const TrianglePtr& t : edited.allTriangles()) {
        identitiesAfter.insert(t.get());
    }
    EXPECT_EQ(identitiesAfter, identities);
    EXPECT_EQ(elevationsOf(edited), elevations);
    EXPECT_TRUE(edit.isPartOf(edited));
    EXPECT_TRUE(edit.isBasedOn(edited));
    EXPECT_NEAR(planArea(edit.addedTin()), planArea(edit.removedTin()), 1e-9);
    EXPECT_NEAR(outlineLength(edit.addedTin()), outlineLength(edit.removedTin()), 1e-9);
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(edit.addedTin()));
}

TEST_F(BrushedSlopeTest, PeripherySplitMakesTheSwappedTinConforming)
{
    const auto elevations = elevationsOf(edited);
    BrushEdit edit;
    brush(edit);
    const std::size_t removedBefore = edit.removedTin().allTriangles().size();
    edit.subdividePeriphery(edited, settingsWith(3.0, 0.4));
    EXPECT_GT(edit.removedTin().allTriangles().size(), removedBefore);

    const tin::core::Tin result = swapped(edited, edit.removedTin(), edit.addedTin());
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(result));
    EXPECT_NEAR(outlineLength(result), outlineLength(edited), 1e-9) << "a hanging vertex on the periphery";
    EXPECT_NEAR(planArea(result), planArea(edited), 1e-9);
    EXPECT_NEAR(planArea(edit.addedTin()), planArea(edit.removedTin()), 1e-9);
    EXPECT_EQ(elevationsOf(edited), elevations);
    for (const auto& [point, z] : elevations) {
        EXPECT_EQ(point->elevation(), z);
    }
}

TEST(BrushEditTest, PeripheryTriangleWithTwoOuterEdgesGetsOneCentrePoint)
{
    // The upper triangle T of the cell at (5, 5) stays, its neighbours across the top and the
    // left edge are brushed (small footprints inside them), the one across its diagonal not.
    const tin::core::Tin edited = flatGrid(10, 10, 1.0);
    const BrushSettings settings = settingsWith(5.0, 0.1);
    BrushEdit edit;
    edit.apply(edited, BrushFootprint::brushSquare(Point2D(5 + 2.0 / 3, 6 + 1.0 / 3), 0.1), true, settings);
    edit.apply(edited, BrushFootprint::brushSquare(Point2D(5 - 1.0 / 3, 5 + 1.0 / 3), 0.1), true, settings);
    ASSERT_EQ(edit.removedTin().allTriangles().size(), 2u);
    edit.subdividePeriphery(edited, settings);

    const Point2D centroid(5 + 1.0 / 3, 5 + 2.0 / 3);
    const std::vector<PointPtr> centre = edit.addedTin().findPointsAt(centroid);
    ASSERT_EQ(centre.size(), 1u);
    const std::vector<TrianglePtr> aroundCentre = edit.addedTin().findTriangleFromPoint(centre.front());
    EXPECT_EQ(aroundCentre.size(), 3u) << "one on the inner edge and one fan triangle per outer edge";
    double area = 0.0;
    for (const TrianglePtr& t : aroundCentre) {
        area += t->area();
    }
    EXPECT_NEAR(area, 0.5, 1e-12);
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(swapped(edited, edit.removedTin(), edit.addedTin())));
}

TEST(BrushEditTest, PointsAnUndoneSurfaceHoldsKeepTheirElevationsWhileTheSameAreaIsBrushedAgain)
{
    // The square holds the grid vertex (20, 20) and divided edges around it.
    const tin::core::Tin edited = gridTin(4, 4, 10.0, [](double x, double y) { return 0.1 * x + 0.1 * y; });
    const BrushSettings settings = settingsWith(3.0, 0.5);
    const tin::core::Polygon square = BrushFootprint::brushSquare(Point2D(20, 20), 3.0);
    const tin::core::Polygon stroke = BrushFootprint::sweptBrushPolygon(Point2D(15, 15), Point2D(25, 15), 3.0);

    // Surface A, as the undo history keeps it after an undo of its commit.
    BrushEdit a;
    a.apply(edited, square, true, settings);
    a.apply(edited, stroke, true, settings);
    a.subdividePeriphery(edited, settings);
    const tin::core::Tin keptAdded = a.addedTin();
    const tin::core::Tin keptRemoved = a.removedTin();
    a.clear();
    const auto elevationsOfA = elevationsOf(keptAdded);

    // B meets A's raised points in the point factory and must not move them.
    BrushEdit b;
    for (int k = 0; k < 3; ++k) {
        b.apply(edited, square, true, settings);
        b.apply(edited, stroke, k != 1, settings);
    }
    EXPECT_EQ(elevationsOf(keptAdded), elevationsOfA);
    for (const auto& [point, z] : elevationsOfA) {
        EXPECT_EQ(point->elevation(), z);
    }
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(swapped(edited, keptRemoved, keptAdded)));
}

TEST(BrushEditTest, BrushTooSmallForTheTrianglesUnderItIsRefusedAndTheEditKeepsWhatItHad)
{
    // A 1 m grid and, far from it, a triangle of 1 km sides.
    tin::core::Tin edited = flatGrid(4, 4, 1.0);
    edited.addTriangle(tin::core::Point(100, 0, 0), tin::core::Point(1100, 0, 0), tin::core::Point(100, 1000, 0));
    const BrushSettings settings = settingsWith(0.5, 0.1);
    BrushEdit edit;
    ASSERT_EQ(edit.apply(edited, BrushFootprint::brushSquare(Point2D(2, 2), 0.5), true, settings),
              BrushEdit::Outcome::Preview);
    const auto added = elevationsOf(edit.addedTin());
    const std::size_t addedCount = edit.addedTin().allTriangles().size();
    const std::size_t removedCount = edit.removedTin().allTriangles().size();

    EXPECT_EQ(edit.apply(edited, BrushFootprint::brushSquare(Point2D(200, 100), 0.5), true, settings),
              BrushEdit::Outcome::TooManyTriangles);
    EXPECT_EQ(edit.addedTin().allTriangles().size(), addedCount);
    EXPECT_EQ(edit.removedTin().allTriangles().size(), removedCount);
    EXPECT_EQ(elevationsOf(edit.addedTin()), added);
}

} // namespace
} // namespace varnel::test
