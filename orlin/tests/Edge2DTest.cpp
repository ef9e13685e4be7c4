#include "orlin/core/Edge2D.h"

#include "orlin/core/Point2D.h"

#include <gtest/gtest.h>

using tin::core::Edge2D;
using tin::core::Point2D;
using tin::core::Point2DI;

namespace {

std::shared_ptr<Point2DI> at(double x, double y) { return std::make_shared<Point2D>(x, y); }

} // namespace

TEST(Edge2DTest, OtherPointGoesByIdentityAndAssignmentKeepsTheId)
{
    const auto a = at(3, 1), b = at(1, 2);
    Edge2D edge(a, b);
    EXPECT_EQ(b, edge.otherPoint(a.get()));
    EXPECT_EQ(a, edge.otherPoint(b.get()));
    Point2D twinOfB(1, 2);
    EXPECT_EQ(a, edge.otherPoint(&twinOfB));
    edge.setId(4);
    Edge2D other(at(5, 5), at(6, 6));
    other = edge;
    EXPECT_EQ(b, other.point2());
    EXPECT_EQ(4, other.id());
}

TEST(Edge2DTest, BottomPointIsLowestThenLeftmostThenFirst)
{
    const auto high = at(0, 5), low = at(9, 1), left = at(3, 1), twin = at(3, 1);
    EXPECT_EQ(low, Edge2D(high, low).bottomPoint());
    EXPECT_EQ(low, Edge2D(low, high).bottomPoint());
    EXPECT_EQ(left, Edge2D(low, left).bottomPoint());
    EXPECT_EQ(left, Edge2D(left, low).bottomPoint());
    EXPECT_EQ(left, Edge2D(left, twin).bottomPoint());
    EXPECT_EQ(twin, Edge2D(twin, left).bottomPoint());
}
