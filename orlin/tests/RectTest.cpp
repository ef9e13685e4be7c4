#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Rect.h"
#include "orlin/core/RectRef.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace tin::core;

TEST(RectTest, CornersInAnyOrderAreSortedAndPointsGiveTheirBox)
{
    const Rect r(3, 5, 1, 2);
    EXPECT_EQ(r.xMin(), 1);
    EXPECT_EQ(r.yMax(), 5);
    EXPECT_EQ(r.area(), 6);
    const Rect box(std::vector<Point2D>{Point2D(1, 5), Point2D(-2, 3), Point2D(4, 4)});
    EXPECT_EQ(box.xMin(), -2);
    EXPECT_EQ(box.yMax(), 5);
    EXPECT_FALSE(Rect(std::vector<Point2D>()).isValid());
}

TEST(RectTest, InvalidRectContainsAndMeetsNothing)
{
    const Rect r;
    EXPECT_FALSE(r.contains(Point2D(0, 0)));
    EXPECT_FALSE(r.intersects(Rect(-1, -1, 1, 1)));
    EXPECT_FALSE(Rect(-1, -1, 1, 1).intersects(r));
    EXPECT_FALSE(r.isInside(Rect(-1, -1, 1, 1)));
    EXPECT_FALSE(Rect(-1, -1, 1, 1).isInside(r));
    EXPECT_EQ(r.area(), 0);
}

TEST(RectTest, BoundsAreClosed)
{
    const Rect r(0, 0, 2, 1);
    EXPECT_TRUE(r.contains(Point2D(2, 1)));
    EXPECT_FALSE(r.contains(Point2D(2.000001, 0.5)));
    EXPECT_FALSE(r.contains(Point2D(std::nan(""), 0.5)));
    EXPECT_TRUE(r.intersects(Rect(2, 1, 3, 3))); // corner only
    EXPECT_FALSE(r.intersects(Rect(2.1, 0, 3, 1)));
    EXPECT_TRUE(r.isInside(r));
    EXPECT_FALSE(r.isInside(Rect(0.5, 0.2, 1, 0.8)));
}

TEST(RectRefTest, FollowsTheReferencedValues)
{
    double x0 = 0, y0 = 1, x1 = 2, y1 = 4;
    const RectRef r(x0, y0, x1, y1); // xMin, yMin, xMax, yMax
    EXPECT_EQ(r.area(), 6);
    EXPECT_FALSE(r.contains(Point2D(3, 2)));
    x1 = 5;
    y0 = -1;
    EXPECT_EQ(r.area(), 25);
    EXPECT_TRUE(r.contains(Point2D(3, -1)));
    const RectRef copy = r;
    x0 = 1;
    EXPECT_EQ(copy.xMin(), 1);
}
