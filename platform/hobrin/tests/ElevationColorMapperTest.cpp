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

TEST(ElevationColorMapper, AnchorsAndLinearRuns)
{
    const ElevationColorMapper m = mapper(-10, 30, 2);
    EXPECT_EQ(m.color(-10), blue);
    EXPECT_EQ(m.color(2), green);
    EXPECT_EQ(m.color(30), red);
    EXPECT_EQ(m.color(16), yellow); // halfway above the water surface
    EXPECT_EQ(m.color(-1e9), blue);
    EXPECT_EQ(m.color(1e9), red);
    EXPECT_EQ(m.color(-4), QColor(0, 128, 255)); // halfway below: between blue and cyan
    EXPECT_EQ(m.color(9), QColor(128, 255, 0));
    EXPECT_EQ(m.color(23), QColor(255, 128, 0));
    // Just below the water surface is (nearly) cyan, the surface itself green.
    EXPECT_EQ(m.color(std::nextafter(2.0, -1.0)), cyan);

    // Along each run one channel moves one way only.
    int lastGreen = -1;
    for (double e = -10; e < 2; e += 0.25) {
        const QColor c = m.color(e);
        EXPECT_EQ(c.red(), 0);
        EXPECT_EQ(c.blue(), 255);
        EXPECT_GE(c.green(), lastGreen);
        lastGreen = c.green();
    }
    int lastRed = -1;
    for (double e = 2; e <= 16; e += 0.25) {
        EXPECT_GE(m.color(e).red(), lastRed);
        lastRed = m.color(e).red();
    }
}

TEST(ElevationColorMapper, WaterSurfaceIsClampedIntoTheRange)
{
    const ElevationColorMapper low = mapper(0, 10, -50);
    EXPECT_EQ(low.color(0), green);
    EXPECT_EQ(low.color(-1), blue);
    EXPECT_EQ(low.color(10), red);
    const ElevationColorMapper high = mapper(0, 10, 50);
    EXPECT_EQ(high.color(0), blue);
    EXPECT_EQ(high.color(10), red);
    EXPECT_EQ(high.color(5), QColor(0, 128, 255));
    // Clamped only for the colours: the value reads back as it was set.
    EXPECT_EQ(50.0, high.waterSurfaceValue());
    EXPECT_EQ(0.0, high.minimum());
    EXPECT_EQ(10.0, high.maximum());
}

TEST(ElevationColorMapper, DegenerateRangesGiveGreenNeverNaN)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const ElevationColorMapper cases[] = {mapper(5, 5, 5), mapper(5, 5, 0), mapper(10, -10, 0),
                                          mapper(nan, 10, 0), mapper(0, 10, nan),
                                          mapper(-inf, inf, 0)};
    for (const ElevationColorMapper& m : cases) {
        for (double e : {-1e300, -5.0, 0.0, 5.0, 7.0, 1e300, nan, inf, -inf}) {
            const QColor c = m.color(e);
            ASSERT_TRUE(c.isValid());
            EXPECT_GE(c.red(), 0);
            EXPECT_LE(c.red(), 255);
            EXPECT_GE(c.green(), 0);
            EXPECT_LE(c.green(), 255);
        }
    }
    EXPECT_EQ(mapper(5, 5, 5).color(5), green);
    EXPECT_EQ(mapper(10, -10, 0).color(-20), green);
    EXPECT_EQ(mapper(0, 10, nan).color(0), green); // NaN surface sits at min
    EXPECT_EQ(mapper(0, 10, 5).color(nan), green);
    // The default scale is the preferences' default: -100 to 100 with the surface at 0.
    const ElevationColorMapper d;
    EXPECT_EQ(d.color(-100), blue);
    EXPECT_EQ(d.color(0), green);
    EXPECT_EQ(d.color(100), red);
}
