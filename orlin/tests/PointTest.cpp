#include "orlin/core/Point.h"
#include "orlin/core/PointFunctions.h"

#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>
#include <geos/geom/GeometryFactory.h>

#include <gtest/gtest.h>

#include <cmath>

using namespace tin::core;

TEST(PointTest, AnIntThirdArgumentIsAnIdADoubleAnElevation)
{
    EXPECT_EQ(Point(1, 2, 5).id(), 5);
    EXPECT_EQ(Point(1, 2, 5).elevation(), 0);
    EXPECT_EQ(Point(1, 2, 5.0).id(), Point::UNDEFINED_ID);
    EXPECT_EQ(Point(1, 2, 5.0).elevation(), 5.0);
    EXPECT_EQ(Point(Point2D(3, 4, 7)).id(), Point::UNDEFINED_ID);
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

TEST(PointTest, GeosPointFollowsEveryMoveAndCopiesNeverShareIt)
{
    Point p(1, 2, 3.0, 4);
    geos::geom::Point* g = p.geosPoint();
    EXPECT_TRUE(std::isnan(g->getCoordinate()->z));
    p.setElevation(9);
    EXPECT_EQ(p.geosPoint(), g);
    p.move(1, 1);
    EXPECT_EQ(p.geosPoint()->getY(), 3);
    p.setX(5);
    EXPECT_EQ(p.geosPoint()->getX(), 5);
    p.setY(6);
    EXPECT_EQ(p.geosPoint()->getY(), 6);
    p.setPosition(7, 8);
    EXPECT_EQ(p.geosPoint()->getX(), 7);

    g = p.geosPoint();
    Point copy(p);
    EXPECT_NE(copy.geosPoint(), g);
    Point other(9, 9);
    other.geosPoint();
    other = p;
    EXPECT_EQ(other.geosPoint()->getX(), 7);
    EXPECT_NE(other.geosPoint(), g);
    EXPECT_EQ(other.id(), 4);
    other = other;
    EXPECT_EQ(other.geosPoint()->getY(), 8);
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
    EXPECT_FALSE(Point(3, 1).isInPolygon(square));
    EXPECT_TRUE(Point(0, 0).isInGeometry(square.geosGeometry()));
    EXPECT_FALSE(Point(0, 0).isInGeometry(nullptr));
}

TEST(PointFunctionsTest, InterpolationIsUnclampedAndGivesNoId)
{
    const Point a(0, 0, 10.0), b(3, 4, 20.0);
    EXPECT_EQ(distance(a, b), 5);
    const Point m = innerPoint(0.25, a, b);
    EXPECT_EQ(m.x(), 0.75);
    EXPECT_EQ(m.elevation(), 12.5);
    EXPECT_EQ(innerPoint(2.0, a, b).elevation(), 30);
    const Point cut = intersection(Point(0, 0, 0.0, 3), Point(4, 0, 8.0), Point2D(1, -1), Point2D(1, 1));
    EXPECT_EQ(cut.x(), 1);
    EXPECT_EQ(cut.elevation(), 2);
    EXPECT_EQ(cut.id(), -1);
    EXPECT_FALSE(boundingRectOfPoints({}).isValid());
    EXPECT_TRUE(boundingRectOfPoints({std::make_shared<Point>(1, 2)}).isValid());
}
