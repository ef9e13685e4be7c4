#include "orlin/core/GeometryFunctions.h"

#include <geos/geom/Envelope.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

using namespace tin::core;

namespace {
const double PI = 3.141592653589793;
}

TEST(GeometryFunctionsTest, ComparisonIgnoresIdsAndOrdersByXThenY)
{
    EXPECT_TRUE(Point2D(1, 2, 5) == Point2D(1, 2, 8));
    EXPECT_FALSE(Point2D(1, 2) != Point2D(1, 2, 3));
    EXPECT_TRUE(Point2D(1, 2) < Point2D(1, 3));
    EXPECT_TRUE(Point2D(0, 9) < Point2D(1, 0));
    EXPECT_FALSE(Point2D(1, 2) < Point2D(1, 2));
    EXPECT_FALSE(Point2D(std::nan(""), 0) == Point2D(std::nan(""), 0));
}

TEST(GeometryFunctionsTest, AngleIsCounterClockwiseInZeroToTwoPi)
{
    EXPECT_DOUBLE_EQ(angleRadian(Point2D(1, 0), Point2D(0, 1)), PI / 2);
    EXPECT_DOUBLE_EQ(angleRadian(Point2D(0, 1), Point2D(1, 0)), 3 * PI / 2);
    EXPECT_NEAR(angleRadian(Point2D(2, 2), Point2D(-5, -5)), PI, 1e-7);
    EXPECT_DOUBLE_EQ(angle(Point2D(1, 0), Point2D(-1, 1)), 135.0);
    // Nearly parallel vectors whose cosine rounds beyond 1 must not give NaN.
    const double r = angleRadian(Point2D(0.1, 0.3), Point2D(0.2, 0.6000000000000001));
    EXPECT_FALSE(std::isnan(r));
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(-10, 10);
    for (int i = 0; i < 200; ++i) {
        const Point2D u(d(rng), d(rng)), v(d(rng), d(rng));
        const double a = angleRadian(u, v);
        ASSERT_GE(a, 0.0);
        ASSERT_LT(a, 2 * PI);
        // Turning u by the angle gives v's direction.
        const Point2D turned(u.x() * std::cos(a) - u.y() * std::sin(a), u.x() * std::sin(a) + u.y() * std::cos(a));
        ASSERT_NEAR(outerProd(turned, v), 0.0, 1e-9 * u.length() * v.length());
        ASSERT_GT(innerProd(turned, v), 0.0);
    }
}

TEST(GeometryFunctionsTest, IntersectionParametersMeetOnBothLines)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> d(-100, 100);
    for (int i = 0; i < 200; ++i) {
        const Point2D a(d(rng), d(rng)), b(d(rng), d(rng)), c(d(rng), d(rng)), e(d(rng), d(rng));
        const auto rs = intersectionRS(a, b, c, e);
        const Point2D onAB = innerPoint2D(rs.first, a, b);
        const Point2D onCD = innerPoint2D(rs.second, c, e);
        ASSERT_NEAR(onAB.x(), onCD.x(), 1e-6);
        ASSERT_NEAR(onAB.y(), onCD.y(), 1e-6);
        const Point2D m = intersection2D(a, b, c, e);
        ASSERT_NEAR(m.x(), onAB.x(), 1e-9);
        // A proper crossing is exactly both parameters strictly inside (0, 1).
        const bool inside = rs.first > 1e-9 && rs.first < 1 - 1e-9 && rs.second > 1e-9 && rs.second < 1 - 1e-9;
        const bool outside = rs.first < -1e-9 || rs.first > 1 + 1e-9 || rs.second < -1e-9 || rs.second > 1 + 1e-9;
        if (inside) {
            ASSERT_TRUE(intersects(a, b, c, e));
        }
        if (outside) {
            ASSERT_FALSE(intersects(a, b, c, e));
        }
    }
    // Unclamped: the lines meet beyond the segments.
    EXPECT_EQ(intersection2D(Point2D(0, 0), Point2D(1, 0), Point2D(5, -1), Point2D(5, 1)), Point2D(5, 0));
}

TEST(GeometryFunctionsTest, SegmentIntersectionIsAProperCrossing)
{
    EXPECT_FALSE(intersects(Point2D(0, 0), Point2D(2, 0), Point2D(1, 0), Point2D(1, 1)));
    EXPECT_TRUE(intersects(Point2D(0, 0), Point2D(2, 2), Point2D(0, 2), Point2D(2, 0)));
    EXPECT_FALSE(intersects(Point2D(0, 0), Point2D(2, 0), Point2D(1, 0), Point2D(3, 0)));
    EXPECT_FALSE(intersects(Point2D(0, 0), Point2D(2, 2), Point2D(2, 2), Point2D(3, 0)));
    EXPECT_FALSE(intersects(Point2D(0, 0), Point2D(1, 1), Point2D(3, 0), Point2D(0, 3)));
}

TEST(GeometryFunctionsTest, NearestPointReportsWhichCase)
{
    const Point2D a(0, 0, 11), b(10, 0, 22);
    int where = 0;
    Point2D n = nearestPoint(a, b, Point2D(-5, 3), &where);
    EXPECT_EQ(n, Point2D(0, 0));
    EXPECT_EQ(n.id(), 11);
    EXPECT_EQ(where, 1);
    n = nearestPoint(a, b, Point2D(4, 3), &where);
    EXPECT_EQ(n, Point2D(4, 0));
    EXPECT_EQ(n.id(), -1);
    EXPECT_EQ(where, 3);
    n = nearestPoint(a, b, Point2D(12, 1), &where);
    EXPECT_EQ(n.id(), 22);
    EXPECT_EQ(where, 2);
}

TEST(GeometryFunctionsTest, NearestPointOnAOnePointSegmentIsThatPoint)
{
    int where = 0;
    const Point2D n = nearestPoint(Point2D(2, 3, 4), Point2D(2, 3, 5), Point2D(7, 7), &where);
    EXPECT_EQ(n, Point2D(2, 3));
    EXPECT_EQ(n.id(), 4);
    EXPECT_EQ(where, 1);
}

TEST(GeometryFunctionsTest, IntersectRectsOfDisjointRectanglesIsTheGap)
{
    const Rect gap = intersectRects(Rect(0, 0, 1, 1), Rect(3, 3, 4, 4));
    EXPECT_TRUE(gap.isValid());
    EXPECT_EQ(gap.area(), 4.0);
    EXPECT_EQ(gap.xMin(), 1);
    EXPECT_EQ(intersectRects(Rect(0, 0, 2, 2), Rect(1, -1, 3, 1)).area(), 1.0);
}

TEST(GeometryFunctionsTest, EnvelopeWidensOnlyZeroExtents)
{
    std::unique_ptr<geos::geom::Envelope> e(toEnvelope(Rect(2, 5, 2, 7)));
    EXPECT_DOUBLE_EQ(e->getMinX(), 2 - 5e-07);
    EXPECT_DOUBLE_EQ(e->getMaxX(), 2 + 5e-07);
    EXPECT_EQ(e->getMinY(), 5);
    EXPECT_EQ(e->getMaxY(), 7);
}

TEST(GeometryFunctionsTest, NegativeZeroHashesLikePositiveZero)
{
    ASSERT_TRUE(Point2D(-0.0, 0.0) == Point2D(0.0, -0.0));
    EXPECT_EQ(hashPoint2DI(Point2D(-0.0, 0.0)), hashPoint2DI(Point2D(0.0, -0.0)));
    EXPECT_EQ(hashPoint2DI(Point2D(-0.0, -0.0)), hashPoint2DI(Point2D(0.0, 0.0)));
    EXPECT_EQ(hashPoint2DI(Point2D(1.5, -2.25, 99)), hashPoint2DI(Point2D(1.5, -2.25)));
}
