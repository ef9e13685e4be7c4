// The elevation colour scale at its anchors, between them and on degenerate ranges.
#include "guimisc/colormapper/ElevationColorMapper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using guimisc::colormapper::ElevationColorMapper;

namespace {

const QColor blue(0, 0, 255), cyan(0, 255, 255), green(0, 255, 0), yellow(255, 255, 0),
    red(255, 0, 0);

ElevationColorMapper mapper(double min, double max, double water)
{
    ElevationColorMapper m;
    m.setRange(min, max);
    m.setWaterSurfaceValue(water);
    return m;
}

} // namespace

TEST(ElevationColorMapper, AnchorsLinearRunsAndAClampedWaterSurface)
{
    const ElevationColorMapper m = mapper(-10, 30, 2);
    EXPECT_EQ(m.color(-10), blue);
    EXPECT_EQ(m.color(2), green);
    EXPECT_EQ(m.color(30), red);
    EXPECT_EQ(m.color(16), yellow); // halfway above the water surface
    EXPECT_EQ(m.color(-1e9), blue);
    EXPECT_EQ(m.color(1e9), red);
    EXPECT_EQ(m.color(-4), QColor(0, 128, 255)); // halfway below: between blue and cyan
    EXPECT_EQ(m.color(23), QColor(255, 128, 0));
    EXPECT_EQ(m.color(std::nextafter(2.0, -1.0)), cyan);

    EXPECT_EQ(mapper(0, 10, -50).color(0), green);
    EXPECT_EQ(mapper(0, 10, 50).color(5), QColor(0, 128, 255));
}

TEST(ElevationColorMapper, DegenerateRangesGiveGreenNeverNaN)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const ElevationColorMapper& m : {mapper(5, 5, 5), mapper(10, -10, 0), mapper(nan, 10, 0),
                                          mapper(0, 10, nan), mapper(-inf, inf, 0)}) {
        for (double e : {-1e300, 0.0, 7.0, nan, inf}) {
            const QColor c = m.color(e);
            ASSERT_TRUE(c.isValid());
            EXPECT_TRUE(c.red() >= 0 && c.red() <= 255 && c.green() >= 0 && c.green() <= 255);
        }
    }
    EXPECT_EQ(mapper(5, 5, 5).color(5), green);
    EXPECT_EQ(mapper(10, -10, 0).color(-20), green);
    EXPECT_EQ(mapper(0, 10, 5).color(nan), green);
}

TEST(ElevationColorMapper, RgbIsTheOpaqueColourOfEveryElevation)
{
    const ElevationColorMapper m = mapper(-10, 30, 2);
    EXPECT_EQ(m.rgb(-10), qRgb(0, 0, 255));
    EXPECT_EQ(m.rgb(2), qRgb(0, 255, 0));
    EXPECT_EQ(m.rgb(16), qRgb(255, 255, 0));
    EXPECT_EQ(m.rgb(-4), qRgb(0, 128, 255));
    EXPECT_EQ(m.rgb(std::numeric_limits<double>::quiet_NaN()), qRgb(0, 255, 0));
    for (double e = -12.0; e <= 32.0; e += 0.0137) {
        ASSERT_EQ(m.rgb(e), m.color(e).rgba()) << e;
        ASSERT_EQ(qAlpha(m.rgb(e)), 255);
    }
}
