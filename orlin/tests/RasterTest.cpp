#include "orlin/core/Raster.h"

#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/Envelope.h>
#include <geos/geom/Polygon.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>

using tin::core::Raster;

namespace {

std::string outOfRangeMessage(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::out_of_range& e) {
        return e.what();
    }
    return "no exception";
}

} // namespace

TEST(RasterTest, NewRasterHasEveryNodeInvalidAtZero)
{
    const Raster raster(100, 200, 2.5, 4, 3);
    EXPECT_EQ(4, raster.xCount());
    EXPECT_EQ(3, raster.yCount());
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 4; ++i) {
            bool valid = true;
            double z = 1.0;
            raster.data(i, j, &valid, &z);
            EXPECT_FALSE(valid);
            EXPECT_EQ(0.0, z);
            EXPECT_FALSE(raster.isValid(i, j));
        }
    }
}

// Writing a distinct value to every node and reading all back shows that (i, j) -> storage is
// one-to-one: a transposed or overlapping layout overwrites some node.
TEST(RasterTest, EveryNodeHasItsOwnStorage)
{
    Raster raster(0, 0, 1, 5, 3);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 5; ++i)
            raster.setData(i, j, (i + j) % 2 == 0, 10.0 * i + j);
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ((i + j) % 2 == 0, raster.isValid(i, j)) << i << "," << j;
            EXPECT_EQ(10.0 * i + j, raster.elevation(i, j)) << i << "," << j;
        }
    }

    Raster single(0, 0, 1, 3, 3);
    single.setData(1, 0, true, 7);
    EXPECT_FALSE(single.isValid(0, 1));
    EXPECT_EQ(0.0, single.elevation(0, 1));
}

TEST(RasterTest, ClearingTheFlagKeepsTheElevation)
{
    Raster raster(0, 0, 1, 2, 2);
    raster.setData(1, 1, true, 4.5);
    bool valid = false;
    double z = 0.0;
    raster.data(1, 1, &valid, &z);
    EXPECT_TRUE(valid);
    EXPECT_EQ(4.5, z);
    raster.setData(1, 1, false, -3.0);
    raster.data(1, 1, &valid, &z);
    EXPECT_FALSE(valid);
    EXPECT_EQ(-3.0, z);
    EXPECT_EQ(-3.0, raster.elevation(1, 1));
}

TEST(RasterTest, NodeCoordinatesAndTheirBounds)
{
    const Raster raster(10, -5, 0.5, 4, 2);
    EXPECT_EQ(11.5, raster.x(3));
    EXPECT_EQ(-4.5, raster.y(1));
    EXPECT_EQ(9.5, raster.x(-1));
    EXPECT_EQ("i is must be smaller than xCount", outOfRangeMessage([&] { raster.x(4); }));
    EXPECT_EQ("j is must be smaller than yCount", outOfRangeMessage([&] { raster.y(2); }));
    EXPECT_EQ((std::vector<double>{10, 10.5, 11, 11.5}), raster.xValues());
    EXPECT_EQ((std::vector<double>{-5, -4.5}), raster.yValues());
}

TEST(RasterTest, NodeAccessOutsideTheGridIsRefused)
{
    Raster raster(0, 0, 1, 3, 2);
    EXPECT_THROW(raster.setData(3, 0, true, 1), std::out_of_range);
    EXPECT_THROW(raster.setData(0, 2, true, 1), std::out_of_range);
    EXPECT_THROW(raster.isValid(-1, 0), std::out_of_range);
    EXPECT_THROW(raster.elevation(0, -1), std::out_of_range);
    bool valid = false;
    double z = 0;
    EXPECT_THROW(raster.data(5, 5, &valid, &z), std::out_of_range);
    EXPECT_THROW(Raster(0, 0, 1, -1, 3), std::invalid_argument);
}

TEST(RasterTest, GeosPolygonRunsThroughTheOutermostNodes)
{
    const Raster raster(0, 0, 1, 3, 2);
    const geos::geom::Polygon* polygon = raster.geosPolygon();
    EXPECT_EQ(polygon, raster.geosGeometry());
    const geos::geom::Envelope* envelope = polygon->getEnvelopeInternal();
    EXPECT_EQ(0.0, envelope->getMinX());
    EXPECT_EQ(2.0, envelope->getMaxX());
    EXPECT_EQ(0.0, envelope->getMinY());
    EXPECT_EQ(1.0, envelope->getMaxY());
    EXPECT_DOUBLE_EQ(2.0, polygon->getArea());
    const auto coordinates = polygon->getCoordinates();
    ASSERT_EQ(5u, coordinates->size());
    EXPECT_TRUE(std::isnan(coordinates->getAt(0).z));
}

TEST(RasterTest, CopyIsDeep)
{
    Raster original(0, 0, 1, 2, 2);
    original.setData(0, 0, true, 1.0);
    const geos::geom::Polygon* originalPolygon = original.geosPolygon();
    Raster copy(original);
    copy.setData(0, 0, false, 2.0);
    EXPECT_TRUE(original.isValid(0, 0));
    EXPECT_EQ(1.0, original.elevation(0, 0));
    EXPECT_NE(originalPolygon, copy.geosPolygon());
    EXPECT_TRUE(originalPolygon->equalsExact(copy.geosPolygon()));
}
