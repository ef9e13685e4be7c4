#include "orlin/core/Edge2D.h"

#include "orlin/core/Point2D.h"

#include <gtest/gtest.h>

using tin::core::Edge2D;
using tin::core::Point2D;
using tin::core::Point2DI;

namespace {

std::shared_ptr<Point2DI> at(double x, double y) { return std::make_shared<Point2D>(x, y); }

} // namespace

TEST(Edge2DTest, EndPointsKeepTheirOrderAndWrapModuloTwo)
{
    const auto a = at(3, 1);
    const auto b = at(1, 2);
    Edge2D edge(a, b);
    EXPECT_EQ(a, edge.point1());
    EXPECT_EQ(b, edge.point2());
    EXPECT_EQ(a, edge.point(0));
    EXPECT_EQ(b, edge.point(1));
    EXPECT_EQ(a, edge.point(2));
    EXPECT_EQ(b, edge.point(3));
    EXPECT_EQ(0, edge.id());
    edge.setId(17);
    EXPECT_EQ(17, edge.id());
    EXPECT_EQ(5.0, edge.lengthSqr());
}

TEST(Edge2DTest, OtherPointGoesByObjectNotPosition)
{
    const auto a = at(0, 0);
    const auto b = at(1, 1);
    const Edge2D edge(a, b);
    EXPECT_EQ(b, edge.otherPoint(a.get()));
    EXPECT_EQ(a, edge.otherPoint(b.get()));
    Point2D twinOfB(1, 1);
    EXPECT_EQ(a, edge.otherPoint(&twinOfB));
    Point2D stranger(7, 7);
    EXPECT_EQ(a, edge.otherPoint(&stranger));
}

TEST(Edge2DTest, BottomPointIsLowestThenLeftmostThenFirst)
{
    const auto high = at(0, 5);
    const auto low = at(9, 1);
    EXPECT_EQ(low, Edge2D(high, low).bottomPoint());
    EXPECT_EQ(low, Edge2D(low, high).bottomPoint());

    const auto right = at(5, 1);
    const auto left = at(3, 1);
    EXPECT_EQ(left, Edge2D(right, left).bottomPoint());
    EXPECT_EQ(left, Edge2D(left, right).bottomPoint());

    const auto one = at(2, 2);
    const auto twin = at(2, 2);
    EXPECT_EQ(one, Edge2D(one, twin).bottomPoint());
    EXPECT_EQ(twin, Edge2D(twin, one).bottomPoint());
}

TEST(Edge2DTest, AssignmentCopiesPointsAndId)
{
    Edge2D source(at(0, 0), at(1, 0));
    source.setId(4);
    Edge2D target(at(5, 5), at(6, 6));
    target = source;
    EXPECT_EQ(source.point1(), target.point1());
    EXPECT_EQ(source.point2(), target.point2());
    EXPECT_EQ(4, target.id());
}
