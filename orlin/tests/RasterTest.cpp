#include "orlin/core/Raster.h"

#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/Envelope.h>
#include <geos/geom/Polygon.h>

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using tin::core::Raster;

// Writing a distinct value to every node and reading all back shows that (i, j) -> storage is
// one-to-one: a transposed or overlapping layout overwrites some node.
TEST(RasterTest, EveryNodeHasItsOwnFlagAndElevation)
{
    Raster raster(0, 0, 1, 5, 3);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 5; ++i) {
            EXPECT_FALSE(raster.isValid(i, j));
            EXPECT_EQ(0.0, raster.elevation(i, j));
            raster.setData(i, j, (i + j) % 2 == 0, 10.0 * i + j);
        }
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 5; ++i) {
            bool valid = false;
            double z = 0.0;
            raster.data(i, j, &valid, &z);
            EXPECT_EQ((i + j) % 2 == 0, valid) << i << "," << j;
            EXPECT_EQ(10.0 * i + j, z) << i << "," << j;
        }
    // Clearing the flag keeps the elevation given with it.
    raster.setData(2, 2, false, -3.0);
    EXPECT_FALSE(raster.isValid(2, 2));
    EXPECT_EQ(-3.0, raster.elevation(2, 2));
}

TEST(RasterTest, NodeCoordinatesAndIndexBounds)
{
    const Raster raster(10, -5, 0.5, 4, 2);
    EXPECT_EQ(11.5, raster.x(3));
    EXPECT_EQ(9.5, raster.x(-1));
    EXPECT_EQ((std::vector<double>{10, 10.5, 11, 11.5}), raster.xValues());
    EXPECT_EQ((std::vector<double>{-5, -4.5}), raster.yValues());
    try {
        raster.x(4);
        ADD_FAILURE();
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ("i is must be smaller than xCount", e.what());
    }
    try {
        raster.y(2);
        ADD_FAILURE();
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ("j is must be smaller than yCount", e.what());
    }
    Raster grid(0, 0, 1, 3, 2);
    EXPECT_THROW(grid.setData(3, 0, true, 1), std::out_of_range);
    EXPECT_THROW(grid.isValid(0, 2), std::out_of_range);
    EXPECT_THROW(grid.elevation(-1, 0), std::out_of_range);
    EXPECT_THROW(Raster(0, 0, 1, -1, 3), std::invalid_argument);
}

TEST(RasterTest, GeosPolygonRunsThroughTheOutermostNodesAndCopiesAreDeep)
{
    Raster raster(0, 0, 1, 3, 2);
    const geos::geom::Polygon* polygon = raster.geosPolygon();
    EXPECT_EQ(polygon, raster.geosGeometry());
    const geos::geom::Envelope* envelope = polygon->getEnvelopeInternal();
    EXPECT_EQ(2.0, envelope->getMaxX());
    EXPECT_EQ(1.0, envelope->getMaxY());
    EXPECT_DOUBLE_EQ(2.0, polygon->getArea());
    EXPECT_TRUE(std::isnan(polygon->getCoordinates()->getAt(0).z));

    raster.setData(0, 0, true, 1.0);
    Raster copy(raster);
    copy.setData(0, 0, false, 2.0);
    EXPECT_TRUE(raster.isValid(0, 0));
    EXPECT_EQ(1.0, raster.elevation(0, 0));
    EXPECT_NE(polygon, copy.geosPolygon());
    EXPECT_TRUE(polygon->equalsExact(copy.geosPolygon()));
}
