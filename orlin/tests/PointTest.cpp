#include "orlin/core/Point.h"
#include "orlin/core/PointFunctions.h"

#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>
#include <geos/geom/GeometryFactory.h>

#include <gtest/gtest.h>

#include <cmath>

using namespace tin::core;

TEST(PointTest, ConstructorsFollowTheArgumentTypes)
{
    const Point a(1, 2);
    EXPECT_EQ(a.id(), Point::UNDEFINED_ID);
    EXPECT_EQ(a.elevation(), 0);
    const Point b(1, 2, 5); // an int is an id
    EXPECT_EQ(b.id(), 5);
    EXPECT_EQ(b.elevation(), 0);
    const Point c(1, 2, 5.0); // a double is an elevation
    EXPECT_EQ(c.id(), -1);
    EXPECT_EQ(c.elevation(), 5.0);
    const Point d(1, 2, 5.5, 8);
    EXPECT_EQ(d.id(), 8);
    EXPECT_EQ(d.elevation(), 5.5);
    const Point e(Point2D(3, 4, 7));
    EXPECT_EQ(e.id(), -1);
    EXPECT_EQ(e.elevation(), 0);
    EXPECT_EQ(e.x(), 3);
    EXPECT_EQ(Point(3, 4).id(), e.id());
    EXPECT_EQ(d.point2d().id(), -1);
    EXPECT_EQ(d.point3d().z(), 5.5);
}

TEST(PointTest, BoundingRectIsWidenedByTheTolerance)
{
    const Rect r = Point(10, 20).boundingRect();
    EXPECT_TRUE(r.isValid());
    EXPECT_DOUBLE_EQ(r.xMin(), 10 - 1e-8);
    EXPECT_DOUBLE_EQ(r.xMax(), 10 + 1e-8);
    EXPECT_DOUBLE_EQ(r.yMin(), 20 - 1e-8);
    EXPECT_DOUBLE_EQ(r.yMax(), 20 + 1e-8);
}

TEST(PointTest, PositionToleranceIsInclusiveElevationToleranceStrict)
{
    EXPECT_TRUE(Point(0, 5).isCloseTo(Point(1e-8, 5)));
    EXPECT_TRUE(Point(1e-8, 5).isCloseTo(Point(0, 5)));
    EXPECT_FALSE(Point(0, 5).isCloseTo(Point(1.5e-8, 5)));
    EXPECT_FALSE(Point(0, 5).isCloseTo(Point(0, 5 + 2e-8)));
    EXPECT_FALSE(Point(0, 0, 0.0).isElevationCloseTo(Point(0, 0, 1e-8)));
    EXPECT_TRUE(Point(0, 0, 0.0).isElevationCloseTo(Point(0, 0, 0.9e-8)));
    EXPECT_FALSE(Point(0, 0, 1.0).isElevationCloseTo(Point(0, 0, std::nan(""))));
}

TEST(PointTest, GeosPointIsCachedUntilThePositionChanges)
{
    Point p(1, 2, 3.0);
    geos::geom::Point* g = p.geosPoint();
    EXPECT_EQ(p.geosGeometry(), g);
    EXPECT_EQ(g->getX(), 1);
    EXPECT_TRUE(std::isnan(g->getCoordinate()->z));
    p.setElevation(9);
    EXPECT_EQ(p.geosPoint(), g);
    p.move(1, 1);
    EXPECT_EQ(p.geosPoint()->getX(), 2);
    EXPECT_EQ(p.geosPoint()->getY(), 3);
    p.setX(5);
    EXPECT_EQ(p.geosPoint()->getX(), 5);
    p.setY(6);
    EXPECT_EQ(p.geosPoint()->getY(), 6);
    p.setPosition(7, 8);
    EXPECT_EQ(p.geosPoint()->getX(), 7);
}

TEST(PointTest, CopiesNeverShareTheGeosPoint)
{
    Point p(1, 2, 3.0, 4);
    geos::geom::Point* g = p.geosPoint();
    Point copy(p);
    EXPECT_NE(copy.geosPoint(), g);
    EXPECT_EQ(copy.id(), 4);
    EXPECT_EQ(copy.elevation(), 3);
    Point other(9, 9);
    other.geosPoint();
    other = p;
    EXPECT_EQ(other.geosPoint()->getX(), 1);
    EXPECT_NE(other.geosPoint(), g);
    EXPECT_EQ(other.id(), 4);
    other = other;
    EXPECT_EQ(other.geosPoint()->getY(), 2);
}

namespace {
// Stands for any polygon class that hands out its GEOS geometry.
struct SquareShape {
    std::unique_ptr<geos::geom::Polygon> polygon;
    SquareShape()
    {
        std::vector<geos::geom::Coordinate> c{{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}};
        polygon = defaultGeometryFactory()->createPolygon(std::move(c));
    }
    geos::geom::Geometry* geosGeometry() const { return polygon.get(); }
};
}

TEST(PointTest, BorderCountsAsInside)
{
    SquareShape square;
    EXPECT_TRUE(Point(2, 1).isInPolygon(square));
    EXPECT_TRUE(Point(1, 1).isInPolygon(square));
    EXPECT_FALSE(Point(3, 1).isInPolygon(square));
    EXPECT_TRUE(Point(0, 0).isInGeometry(square.geosGeometry()));
    EXPECT_FALSE(Point(0, 0).isInGeometry(nullptr));
}

TEST(PointFunctionsTest, PlanarDistanceAndInterpolation)
{
    const Point a(0, 0, 10.0), b(3, 4, 20.0);
    EXPECT_EQ(distanceSqr(a, b), 25);
    EXPECT_EQ(distance(a, b), 5);
    const Point m = innerPoint(0.25, a, b);
    EXPECT_EQ(m.x(), 0.75);
    EXPECT_EQ(m.y(), 1.0);
    EXPECT_EQ(m.elevation(), 12.5);
    EXPECT_EQ(m.id(), -1);
    const Point beyond = innerPoint(2.0, a, b);
    EXPECT_EQ(beyond.elevation(), 30);
    const Point cut = intersection(Point(0, 0, 0.0, 3), Point(4, 0, 8.0), Point2D(1, -1), Point2D(1, 1));
    EXPECT_EQ(cut.x(), 1);
    EXPECT_EQ(cut.y(), 0);
    EXPECT_EQ(cut.elevation(), 2);
    EXPECT_EQ(cut.id(), -1);
}

TEST(PointFunctionsTest, BoundingRectOfPoints)
{
    EXPECT_FALSE(boundingRectOfPoints({}).isValid());
    const Rect one = boundingRectOfPoints({std::make_shared<Point>(1, 2)});
    EXPECT_TRUE(one.isValid());
    EXPECT_EQ(one.area(), 0);
    const Rect r = boundingRectOfPoints({std::make_shared<Point>(1, 2), std::make_shared<Point>(-1, 5),
                                         std::make_shared<Point>(3, 0)});
    EXPECT_EQ(r.xMin(), -1);
    EXPECT_EQ(r.xMax(), 3);
    EXPECT_EQ(r.yMin(), 0);
    EXPECT_EQ(r.yMax(), 5);
}
