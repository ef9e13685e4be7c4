// The areas one mouse move brushes: for every direction, the square swept from the first
// position to the second (the convex hull of the two squares) less the square at the second,
// which the next move or the release brushes.
#include "movarin/surfaces/BrushFootprint.h"

#include "orlin/core/GeometryFunctions.h"

#include <geos/geom/Geometry.h>
#include <geos/geom/Polygon.h>

#include <gtest/gtest.h>

#include <memory>

namespace varnel::test {
namespace {

using tin::core::Point2D;

TEST(BrushFootprintTest, MoveBrushesTheSweptSquaresLessTheSquareItEndsOnInEveryDirection)
{
    for (double size : {2.0, 5.0}) {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (dx == 0 && dy == 0) {
                    continue;
                }
                // Moves shorter and longer than the size, off the axes by other amounts.
                for (double length : {0.7, 4.5}) {
                    const Point2D p1(10.0, 20.0);
                    const Point2D p2(10.0 + dx * length, 20.0 + dy * length * 1.3);
                    const tin::core::Polygon footprint = BrushFootprint::sweptBrushPolygon(p1, p2, size);
                    SCOPED_TRACE(testing::Message() << "size " << size << " direction " << dx << ", " << dy
                                                    << " length " << length);
                    ASSERT_EQ(footprint.pointsCount(), dx != 0 && dy != 0 ? 6 : 4);
                    const geos::geom::Geometry* swept = footprint.geosGeometry();
                    EXPECT_TRUE(swept->isValid());
                    const tin::core::Polygon first = BrushFootprint::brushSquare(p1, size);
                    const tin::core::Polygon last = BrushFootprint::brushSquare(p2, size);
                    const std::unique_ptr<geos::geom::Geometry> hull =
                        first.geosGeometry()->Union(last.geosGeometry())->convexHull();
                    EXPECT_NEAR(swept->Union(last.geosGeometry())->symDifference(hull.get())->getArea(), 0.0, 1e-9);
                    EXPECT_NEAR(swept->intersection(last.geosGeometry())->getArea(), 0.0, 1e-9);
                }
            }
        }
    }
}

TEST(BrushFootprintTest, MoveAlongAnAxisIsTheRectangleBehindTheSquare)
{
    const tin::core::Polygon footprint = BrushFootprint::sweptBrushPolygon(Point2D(0, 0), Point2D(4, 0), 2.0);
    EXPECT_EQ(footprint.points(),
              (std::vector<Point2D>{Point2D(-1, -1), Point2D(-1, 1), Point2D(3, 1), Point2D(3, -1)}));
    EXPECT_TRUE(BrushFootprint::sweptBrushPolygon(Point2D(3, 4), Point2D(3, 4), 2.0).empty());
}

} // namespace
} // namespace varnel::test
