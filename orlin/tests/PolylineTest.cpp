#include "orlin/core/Polyline.h"

#include "common/exception/RuntimeException.h"

#include <geos/geom/LineString.h>
#include <geos/io/WKTReader.h>

#include <gtest/gtest.h>

using tin::core::Point2D;
using tin::core::Polyline;

TEST(PolylineTest, LineStringAndRectangleFollowEveryEdit)
{
    Polyline line{Point2D(0, 0), Point2D(3, 0), Point2D(3, 4)};
    EXPECT_EQ(line.geosLineString(), line.geosGeometry());
    EXPECT_DOUBLE_EQ(7.0, line.geosLineString()->getLength());
    line.addPoint(Point2D(3, 10));
    EXPECT_DOUBLE_EQ(13.0, line.geosLineString()->getLength());
    EXPECT_EQ(10.0, line.boundingRect().yMax());
    line.setPoint(0, Point2D(-3, 0));
    EXPECT_DOUBLE_EQ(16.0, line.geosLineString()->getLength());
    EXPECT_EQ(-3.0, line.boundingRect().xMin());
    EXPECT_THROW(line.removePoint(Point2D(2, 0)), common::exception::RuntimeException);
    line.removePoint(Point2D(3, 10));
    EXPECT_DOUBLE_EQ(10.0, line.geosLineString()->getLength());
    line.clear();
    EXPECT_FALSE(line.boundingRect().isValid());
    EXPECT_TRUE(line.geosLineString()->isEmpty());
}

TEST(PolylineTest, IntersectionPointsSkipOverlaps)
{
    const Polyline line{Point2D(0, 0), Point2D(10, 0)};
    const auto crossing = geos::io::WKTReader().read("LINESTRING (4 -1, 4 1)");
    const auto points = line.intersectionPoints(crossing.get());
    ASSERT_EQ(1u, points.size());
    EXPECT_EQ(4.0, points[0].x());
    EXPECT_EQ(-1, points[0].id());

    // One crossing and one shared piece: only the crossing is a point.
    const auto mixed = geos::io::WKTReader().read("LINESTRING (2 -1, 2 1, 5 0, 8 0, 8 3)");
    const auto onlyCrossing = line.intersectionPoints(mixed.get());
    ASSERT_EQ(1u, onlyCrossing.size());
    EXPECT_EQ(2.0, onlyCrossing[0].x());
}
