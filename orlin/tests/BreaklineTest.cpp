#include "orlin/core/Breakline.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"

#include <geos/geom/LineString.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace tin::core;

namespace {
std::shared_ptr<Point> pt(double x, double y, double z = 0.0)
{
    return std::make_shared<Point>(x, y, z);
}
}

TEST(BreaklineTest, NullEndIsRefusedAndAStrangerIsNoEnd)
{
    auto p = pt(0, 0), q = pt(1, 1), r = pt(2, 2);
    EXPECT_EQ(Breakline(p, q).otherPoint(r.get()), p);
    EXPECT_THROW(Breakline(p, nullptr), std::invalid_argument);
}

TEST(BreaklineTest, BottomPointBreaksTiesByXThenFirst)
{
    auto a = pt(5, 1), b = pt(3, 1);
    EXPECT_EQ(Breakline(a, b).bottomPoint(), b);
    EXPECT_EQ(Breakline(b, a).bottomPoint(), b);
    auto c = pt(2, 0), d = pt(2, 0);
    EXPECT_EQ(Breakline(c, d).bottomPoint(), c);
    EXPECT_EQ(Breakline(d, c).bottomPoint(), d);
    auto low = pt(9, -1);
    EXPECT_EQ(Breakline(a, low).bottomPoint(), low);
}

TEST(BreaklineTest, CommonEndIsDecidedByIdentity)
{
    auto p = pt(0, 0), q = pt(1, 0), r = pt(1, 1);
    Breakline pq(p, q), qr(q, r);
    EXPECT_TRUE(pq.hasCommonPoint(qr));
    EXPECT_FALSE(pq.intersects(qr));
    // Same position, other object: no common point.
    Breakline other(pt(1, 0), r);
    EXPECT_FALSE(pq.hasCommonPoint(other));
}

TEST(BreaklineTest, OnlyProperCrossingsIntersect)
{
    Breakline a(pt(0, 0), pt(2, 2)), b(pt(0, 2), pt(2, 0));
    EXPECT_TRUE(a.intersects(b));
    EXPECT_TRUE(b.intersects(a));
    Breakline c(pt(0, 0), pt(2, 0)), d(pt(1, 0), pt(3, 0));
    EXPECT_FALSE(c.intersects(d)); // collinear overlap
    Breakline e(pt(1, 0), pt(1, 5));
    EXPECT_FALSE(c.intersects(e)); // touching
    Breakline f(pt(5, 5), pt(6, 7));
    EXPECT_FALSE(a.intersects(f)); // boxes apart
    // Crossing at a shared vertex: sharing wins even if the segments overlap.
    auto s = pt(0, 0);
    Breakline g(s, pt(2, 2)), h(s, pt(4, 4));
    EXPECT_FALSE(g.intersects(h));
}

TEST(BreaklineTest, HashAndSamenessDependOnOrder)
{
    auto p = pt(0, 0), q = pt(1, 0);
    Breakline pq(p, q), qp(q, p), pq2(p, q);
    EXPECT_TRUE(isSameBreakline(pq, pq2));
    EXPECT_EQ(hashBreakline(pq), hashBreakline(pq2));
    EXPECT_FALSE(isSameBreakline(pq, qp));
    EXPECT_NE(hashBreakline(pq), hashBreakline(qp));
}

TEST(BreaklineTest, CopyDoesNotShareTheLineString)
{
    Breakline b(pt(0, 0), pt(3, 4));
    geos::geom::LineString* ls = b.geosLineString();
    Breakline copy(b);
    EXPECT_NE(copy.geosLineString(), ls);
    EXPECT_DOUBLE_EQ(copy.geosLineString()->getLength(), 5.0);
}
