#include "orlin/core/GeometryFunctions.h"

#include <geos/geom/Envelope.h>
#include <geos/geom/GeometryFactory.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

using namespace tin::core;

namespace {
const double PI = 3.141592653589793;
}

TEST(Point2DTest, FromGeosPointTakesPositionOnly)
{
    std::unique_ptr<geos::geom::Point> g(defaultGeometryFactory()->createPoint(geos::geom::Coordinate(3, 4)));
    Point2D p(*g);
    EXPECT_EQ(p.x(), 3);
    EXPECT_EQ(p.y(), 4);
    EXPECT_EQ(p.id(), -1);
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

TEST(GeometryFunctionsTest, ArithmeticResultsHaveUndefinedId)
{
    const Point2D a(1, 2, 4), b(3, 5, 6);
    EXPECT_EQ(a + b, Point2D(4, 7));
    EXPECT_EQ((a + b).id(), -1);
    EXPECT_EQ(b - a, Point2D(2, 3));
    EXPECT_EQ(-a, Point2D(-1, -2));
    EXPECT_EQ(2.0 * a, Point2D(2, 4));
    EXPECT_EQ(b / 2.0, Point2D(1.5, 2.5));
    EXPECT_TRUE(std::isinf((a / 0.0).x()));
    EXPECT_DOUBLE_EQ(Point2D(3, 4).length(), 5.0);
    EXPECT_EQ(Point2D(3, 4).lengthSqr(), 25.0);
    EXPECT_EQ(innerProd(a, b), 13.0);
    EXPECT_EQ(outerProd(Point2D(1, 0), Point2D(0, 1)), 1.0);
    EXPECT_EQ(innerPoint2D(0.25, Point2D(0, 0), Point2D(4, 8)), Point2D(1, 2));
}

TEST(GeometryFunctionsTest, AngleIsCounterClockwiseInZeroToTwoPi)
{
    EXPECT_DOUBLE_EQ(angleRadian(Point2D(1, 0), Point2D(0, 1)), PI / 2);
    EXPECT_DOUBLE_EQ(angleRadian(Point2D(0, 1), Point2D(1, 0)), 3 * PI / 2);
    EXPECT_EQ(angleRadian(Point2D(2, 0), Point2D(5, 0)), 0.0);
    EXPECT_EQ(angleRadian(Point2D(0, 2), Point2D(0, -5)), PI);
    EXPECT_NEAR(angleRadian(Point2D(2, 2), Point2D(5, 5)), 0.0, 1e-7);
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
    EXPECT_EQ(n, b);
    EXPECT_EQ(n.id(), 22);
    EXPECT_EQ(where, 2);
    EXPECT_EQ(nearestPoint(a, b, Point2D(7, -2), nullptr), Point2D(7, 0));
}

TEST(GeometryFunctionsTest, NearestPointOnAOnePointSegmentIsThatPoint)
{
    int where = 0;
    const Point2D n = nearestPoint(Point2D(2, 3, 4), Point2D(2, 3, 5), Point2D(7, 7), &where);
    EXPECT_EQ(n, Point2D(2, 3));
    EXPECT_EQ(n.id(), 4);
    EXPECT_EQ(where, 1);
}

TEST(GeometryFunctionsTest, VectorOperationsIn3D)
{
    const Point3D a(1, 2, 3), b(-2, 0.5, 4);
    const Point3D n = outerProd3D(a, b);
    EXPECT_NEAR(innerProd3D(n, a), 0.0, 1e-12);
    EXPECT_NEAR(innerProd3D(n, b), 0.0, 1e-12);
    const Point3D z = outerProd3D(Point3D(1, 0, 0), Point3D(0, 1, 0));
    EXPECT_EQ(z.z(), 1.0);
    const Point3D u = normalize3D(Point3D(3, 0, 4));
    EXPECT_DOUBLE_EQ(u.x(), 0.6);
    EXPECT_DOUBLE_EQ(u.z(), 0.8);
    EXPECT_EQ(innerProd3D(a, b), -2 + 1 + 12);
    Point3D copy(static_cast<const Point3DI&>(a));
    EXPECT_EQ(copy.y(), 2);
    EXPECT_EQ(Point3D().x(), 0);
}

TEST(GeometryFunctionsTest, IntersectRectsOfDisjointRectanglesIsTheGap)
{
    const Rect gap = intersectRects(Rect(0, 0, 1, 1), Rect(3, 3, 4, 4));
    EXPECT_TRUE(gap.isValid());
    EXPECT_EQ(gap.xMin(), 1);
    EXPECT_EQ(gap.xMax(), 3);
    EXPECT_EQ(gap.yMin(), 1);
    EXPECT_EQ(gap.yMax(), 3);
    const Rect overlap = intersectRects(Rect(0, 0, 2, 2), Rect(1, -1, 3, 1));
    EXPECT_EQ(overlap.xMin(), 1);
    EXPECT_EQ(overlap.xMax(), 2);
    EXPECT_EQ(overlap.yMin(), 0);
    EXPECT_EQ(overlap.yMax(), 1);
}

TEST(GeometryFunctionsTest, EnvelopeWidensOnlyZeroExtents)
{
    std::unique_ptr<geos::geom::Envelope> e(toEnvelope(Rect(2, 5, 2, 7)));
    EXPECT_DOUBLE_EQ(e->getMinX(), 2 - 5e-07);
    EXPECT_DOUBLE_EQ(e->getMaxX(), 2 + 5e-07);
    EXPECT_EQ(e->getMinY(), 5);
    EXPECT_EQ(e->getMaxY(), 7);
    std::unique_ptr<geos::geom::Envelope> origin(toEnvelope(Rect()));
    EXPECT_DOUBLE_EQ(origin->getMinX(), -5e-07);
    EXPECT_DOUBLE_EQ(origin->getMaxY(), 5e-07);
    const double xs[] = {1, 3}, ys[] = {4, 4};
    std::unique_ptr<geos::geom::Envelope> viaRef(toEnvelope(RectRef(xs[0], ys[0], xs[1], ys[1])));
    EXPECT_EQ(viaRef->getMinX(), 1);
    EXPECT_EQ(viaRef->getMaxX(), 3);
    EXPECT_DOUBLE_EQ(viaRef->getMaxY(), 4 + 5e-07);
}

TEST(GeometryFunctionsTest, DefaultFactoryIsGeosDefault)
{
    EXPECT_EQ(defaultGeometryFactory(), geos::geom::GeometryFactory::getDefaultInstance());
}

TEST(GeometryFunctionsTest, PositionHashIsFoldedFnv1aOfLittleEndianDoubles)
{
    // Expected values computed independently over struct.pack('<dd', x, y).
    EXPECT_EQ(hashPoint2DI(Point2D(1.5, -2.25)), std::size_t(0x58b4b38fc9c73f1dull));
    EXPECT_EQ(hashPoint2DI(Point2D(0.0, 0.0)), std::size_t(0x88201fb9e8df7bdcull));
    EXPECT_EQ(hashPoint2DI(Point2D(1.5, -2.25, 99)), hashPoint2DI(Point2D(1.5, -2.25)));
    EXPECT_EQ(hashAddressPair(reinterpret_cast<const void*>(0x1000), reinterpret_cast<const void*>(0x2000)),
              std::size_t(0xbf7d0b9c94604ec9ull));
}

TEST(GeometryFunctionsTest, NegativeZeroHashesLikePositiveZero)
{
    ASSERT_TRUE(Point2D(-0.0, 0.0) == Point2D(0.0, -0.0));
    EXPECT_EQ(hashPoint2DI(Point2D(-0.0, 0.0)), hashPoint2DI(Point2D(0.0, -0.0)));
    EXPECT_EQ(hashPoint2DI(Point2D(-0.0, -0.0)), std::size_t(0x88201fb9e8df7bdcull));
}
