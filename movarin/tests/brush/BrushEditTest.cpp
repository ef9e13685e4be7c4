// A pending brush edit on its own: the elevation rules on real points, the subdivision that
// keeps the plane, the edited TIN left as it was, and the periphery split that makes the edit
// conforming.
#include "BrushTestSupport.h"

#include "movarin/surfaces/BrushEdit.h"
#include "movarin/surfaces/BrushFootprint.h"

#include "orlin/core/Polygon.h"
#include "orlin/core/PointFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
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

// One triangle whose corners have the given elevations, all under a brush too large to divide it;
// what an application made of them.
class ThreePoints {
public:
    ThreePoints(double z1, double z2, double z3)
    {
        m_edited.addTriangle(tin::core::Point(0, 0, z1), tin::core::Point(4, 0, z2), tin::core::Point(0, 4, z3));
    }

    std::vector<double> raised(bool raise, const BrushSettings& settings)
    {
        return after(m_edit.modifyElevation(m_edited, m_footprint, raise, settings));
    }
    std::vector<double> levelledOff(const BrushSettings& settings)
    {
        return after(m_edit.levelOffElevation(m_edited, m_footprint, settings));
    }

private:
    std::vector<double> after(BrushEdit::Outcome outcome)
    {
        EXPECT_EQ(outcome, BrushEdit::Outcome::Preview);
        std::vector<double> z;
        for (const Point2D corner : {Point2D(0, 0), Point2D(4, 0), Point2D(0, 4)}) {
            z.push_back(m_edit.addedTin().findPointsAt(corner).at(0)->elevation());
        }
        m_edit.clear();
        return z;
    }

    tin::core::Tin m_edited;
    BrushEdit m_edit;
    const tin::core::Polygon m_footprint = BrushFootprint::brushSquare(Point2D(1, 1), 10.0);
};

TEST(BrushEditTest, RaisingStopsAtTheLimitShiftLowersPastItAndANegativeUnitTurnsBothAround)
{
    BrushSettings settings = settingsWith(20.0, 0.5);
    settings.brushLimitEnabled = true;
    settings.brushLimit = 10.0;
    ThreePoints below(9.8, 10.0, 10.3);
    EXPECT_EQ(below.raised(true, settings), (std::vector<double>{10.0, 10.0, 10.3}));
    EXPECT_EQ(below.raised(false, settings), (std::vector<double>{9.3, 9.5, 9.8})) << "Shift ignores the limit";
    settings.brushEditUnit = -0.5;
    ThreePoints above(9.8, 10.2, 11.0);
    EXPECT_EQ(above.raised(true, settings), (std::vector<double>{9.8, 10.0, 10.5}));
    settings.brushLimitEnabled = false;
    EXPECT_EQ(above.raised(false, settings), (std::vector<double>{10.3, 10.7, 11.5})) << "Shift raises";
}

TEST(BrushEditTest, LevellingOffFillsUpToOrShavesDownToOneUnitFromTheExtreme)
{
    ThreePoints points(3.0, 3.1, 3.5);
    const std::vector<double> filled = points.levelledOff(settingsWith(20.0, 0.2));
    EXPECT_NEAR(filled[0], 3.2, 1e-12);
    EXPECT_NEAR(filled[1], 3.2, 1e-12);
    EXPECT_EQ(filled[2], 3.5);
    const std::vector<double> shaved = points.levelledOff(settingsWith(20.0, -0.2));
    EXPECT_EQ(shaved[0], 3.0);
    EXPECT_EQ(shaved[1], 3.1);
    EXPECT_NEAR(shaved[2], 3.3, 1e-12);

    // Nothing under the brush: raising still asks for a preview, levelling off does not.
    const tin::core::Tin edited = gridTin(2, 2, 1.0);
    const tin::core::Polygon elsewhere = BrushFootprint::brushSquare(Point2D(50, 50), 5.0);
    BrushEdit edit;
    EXPECT_EQ(edit.modifyElevation(edited, elsewhere, true, settingsWith(5.0, 0.2)), BrushEdit::Outcome::Preview);
    EXPECT_EQ(edit.levelOffElevation(edited, elsewhere, settingsWith(5.0, 0.2)), BrushEdit::Outcome::NoPreview);
    EXPECT_FALSE(edit.isPending());
}

// The plane one unit from the extreme is cut back to an enabled limit that lies nearer: no
// point is filled above it, none shaved below it, and points beyond it stay.
TEST(BrushEditTest, LevellingOffStopsAtAnEnabledLimit)
{
    BrushSettings settings = settingsWith(20.0, 0.2);
    settings.brushLimitEnabled = true;
    settings.brushLimit = 3.15;
    ThreePoints low(3.0, 3.1, 3.5);
    EXPECT_EQ(low.levelledOff(settings), (std::vector<double>{3.15, 3.15, 3.5}));

    // Shaving 0.2 off the highest, 3.5, would reach 3.3; the limit stops it at 3.35.
    settings.brushEditUnit = -0.2;
    settings.brushLimit = 3.35;
    ThreePoints high(3.5, 3.4, 3.0);
    EXPECT_EQ(high.levelledOff(settings), (std::vector<double>{3.35, 3.35, 3.0}));

    // A limit beyond the plane changes nothing.
    settings.brushLimit = 3.2;
    const std::vector<double> shaved = high.levelledOff(settings);
    EXPECT_NEAR(shaved[0], 3.3, 1e-12);
    EXPECT_NEAR(shaved[1], 3.3, 1e-12);
    EXPECT_EQ(shaved[2], 3.0);
}

// A sloped 10 m grid brushed with size 3, so that every edge under the brush is divided:
// strokes of each kind, overlapping and side by side, so that neighbours are divided in
// different applications.
class BrushedSlopeTest : public ::testing::Test {
protected:
    void brush(BrushEdit& edit) const
    {
        BrushSettings settings = settingsWith(3.0, 0.4);
        edit.apply(edited, BrushFootprint::sweptBrushPolygon(Point2D(12, 12), Point2D(31, 17), 3.0), true, settings);
        edit.apply(edited, BrushFootprint::brushSquare(Point2D(30, 20), 3.0), false, settings);
        edit.apply(edited, BrushFootprint::sweptBrushPolygon(Point2D(20, 40), Point2D(20, 22), 3.0), true, settings);
        settings.brushLevelOff = true;
        edit.apply(edited, BrushFootprint::brushSquare(Point2D(25, 15), 3.0), true, settings);
    }

    const tin::core::Tin edited = gridTin(6, 6, 10.0, [](double x, double y) { return 0.05 * x - 0.02 * y + 3.0; });
    const std::map<const tin::core::Point*, double> elevations = elevationsOf(edited);
};

TEST_F(BrushedSlopeTest, SubdivisionKeepsThePlaneAndStrokesLeaveTheEditedTinsPointsAsTheyWere)
{
    BrushEdit edit;
    ASSERT_TRUE(edit.subdivide(edited, BrushFootprint::sweptBrushPolygon(Point2D(12, 12), Point2D(31, 17), 3.0), 3.0, 1.5));
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coordinate(0.0, 60.0);
    for (int inside = 0; inside < 1000;) {
        const Point2D p(coordinate(random), coordinate(random));
        double before = NAN;
        double after = NAN;
        if (edit.removedTin().interpolatedElevation(p, &before)) {
            ASSERT_TRUE(edit.addedTin().interpolatedElevation(p, &after));
            EXPECT_NEAR(after, before, 1e-9);
            ++inside;
        }
    }
    brush(edit);
    EXPECT_TRUE(elevationsKept(elevations));
    EXPECT_TRUE(edit.isPartOf(edited));
    EXPECT_NEAR(planArea(edit.addedTin()), planArea(edit.removedTin()), 1e-9);
    EXPECT_NEAR(outlineLength(edit.addedTin()), outlineLength(edit.removedTin()), 1e-9);
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(edit.addedTin()));
}

TEST_F(BrushedSlopeTest, PeripherySplitMakesTheSwappedTinConforming)
{
    BrushEdit edit;
    brush(edit);
    edit.subdividePeriphery(edited, settingsWith(3.0, 0.4));
    const tin::core::Tin result = swapped(edited, edit.removedTin(), edit.addedTin());
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(result));
    EXPECT_NEAR(outlineLength(result), outlineLength(edited), 1e-9) << "a hanging vertex on the periphery";
    EXPECT_NEAR(planArea(edit.addedTin()), planArea(edit.removedTin()), 1e-9);
    EXPECT_TRUE(elevationsKept(elevations));
}

TEST(BrushEditTest, PeripheryTriangleWithTwoOuterEdgesGetsOneCentrePoint)
{
    // The upper triangle T of the cell at (5, 5) stays; its neighbours across the top and the
    // left edge are brushed (small footprints inside them), the one across its diagonal not.
    const tin::core::Tin edited = gridTin(10, 10, 1.0);
    const BrushSettings settings = settingsWith(5.0, 0.1);
    BrushEdit edit;
    edit.apply(edited, BrushFootprint::brushSquare(Point2D(5 + 2.0 / 3, 6 + 1.0 / 3), 0.1), true, settings);
    edit.apply(edited, BrushFootprint::brushSquare(Point2D(5 - 1.0 / 3, 5 + 1.0 / 3), 0.1), true, settings);
    edit.subdividePeriphery(edited, settings);
    const std::vector<std::shared_ptr<tin::core::Point>> centre = edit.addedTin().findPointsAt(Point2D(5 + 1.0 / 3, 5 + 2.0 / 3));
    ASSERT_EQ(centre.size(), 1u);
    const tin::core::Tin aroundCentre(edit.addedTin().findTriangleFromPoint(centre.front()));
    EXPECT_EQ(aroundCentre.allTriangles().size(), 3u) << "one on the inner edge, one fan triangle per outer edge";
    EXPECT_NEAR(planArea(aroundCentre), 0.5, 1e-12);
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(swapped(edited, edit.removedTin(), edit.addedTin())));
}

/// The sides of a TIN by the plan positions of their ends, with the number of triangles at each.
std::map<std::pair<std::pair<double, double>, std::pair<double, double>>, int> planSides(const tin::core::Tin& tin)
{
    std::map<std::pair<std::pair<double, double>, std::pair<double, double>>, int> sides;
    for (const TrianglePtr& t : tin.allTriangles()) {
        for (int k = 0; k < 3; ++k) {
            const auto a = std::make_pair(t->point(k)->x(), t->point(k)->y());
            const auto b = std::make_pair(t->point(k + 1)->x(), t->point(k + 1)->y());
            ++sides[std::minmax(a, b)];
        }
    }
    return sides;
}

TEST(BrushEditTest, StrokeBesideAVerticalStepDividesTheStepsOtherSideAlike)
{
    // A grid of 4 m, a little skewed so that its positions are no round numbers, whose right
    // half stands 5 m higher on corners of its own along the sixth column: a
    // vertical step, the triangles on either side sharing no edge, only plan positions. A stroke
    // just left of it divides the wall's edges on the low side; the high side's triangles along
    // it must be divided at the very same plan points, or the TIN cracks open along the step.
    std::vector<std::shared_ptr<tin::core::Point>> low, high;
    auto& factory = tin::core::PointFactory::instance();
    for (int j = 0; j <= 10; ++j) {
        for (int i = 0; i <= 10; ++i) {
            const double x = 0.13 + 4.0 * i + 0.37 * j, y = 0.29 + 4.0 * j;
            low.push_back(factory.factory(tin::core::Point(x, y, 0.0)));
            high.push_back(factory.factory(tin::core::Point(x, y, 5.0)));
        }
    }
    auto at = [&](int i, int j, bool up) { return (up ? high : low)[static_cast<std::size_t>(j * 11 + i)]; };
    tin::core::Tin edited;
    for (int j = 0; j < 10; ++j) {
        for (int i = 0; i < 10; ++i) {
            const bool up = i >= 5;
            edited.addTriangle(at(i, j, up), at(i + 1, j, up), at(i + 1, j + 1, up));
            edited.addTriangle(at(i, j, up), at(i + 1, j + 1, up), at(i, j + 1, up));
        }
    }
    // Sides with one triangle, by plan position: the outline (the step's sides have two).
    const auto outline = [](const tin::core::Tin& tin) {
        double length = 0.0;
        for (const auto& [side, count] : planSides(tin)) {
            EXPECT_LE(count, 2);
            if (count == 1) {
                length += std::hypot(side.second.first - side.first.first, side.second.second - side.first.second);
            }
        }
        return length;
    };
    const double before = outline(edited);

    const BrushSettings settings = settingsWith(3.0, 0.5);
    BrushEdit edit;
    edit.apply(edited, BrushFootprint::sweptBrushPolygon(Point2D(19.2, 9.0), Point2D(25.6, 27.0), 3.0), true, settings);
    edit.subdividePeriphery(edited, settings);
    const tin::core::Tin result = swapped(edited, edit.removedTin(), edit.addedTin());
    EXPECT_NEAR(outline(result), before, 1e-9) << "sides with one triangle inside the outline: a crack";
    EXPECT_NEAR(planArea(result), planArea(edited), 1e-9);
    EXPECT_GT(edit.addedTin().allTriangles().size(), edit.removedTin().allTriangles().size());
}

} // namespace
} // namespace varnel::test
