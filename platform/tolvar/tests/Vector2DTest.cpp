#include "vec/Vector2D.h"

#include <gtest/gtest.h>

#include <cmath>

using vec::Vector2D;

TEST(Vector2D, QuarterTurnIsCounterClockwiseAndExact)
{
    Vector2D v(1, 0);
    v.rotate(90);
    EXPECT_NEAR(v.x(), 0.0, 1e-12);
    EXPECT_NEAR(v.y(), 1.0, 1e-12);
    Vector2D w(3, -2);
    w.rotate(-270.0 + 360.0 * 1000);
    EXPECT_EQ(w.x(), 2.0);
    EXPECT_EQ(w.y(), 3.0);
}

TEST(Vector2D, RotationKeepsLengthAndReverses)
{
    const Vector2D start(3.25, -7.5);
    for (double a : {0.5, 123.456, -200.0, 1e6 + 0.3}) {
        SCOPED_TRACE(a);
        Vector2D v = start;
        v.rotate(a);
        EXPECT_NEAR(v.length(), start.length(), 1e-12 * start.length());
        v.rotate(-a);
        EXPECT_NEAR(v.x(), start.x(), 1e-12);
        EXPECT_NEAR(v.y(), start.y(), 1e-12);
    }
    EXPECT_DOUBLE_EQ(Vector2D(3e200, 4e200).length(), 5e200); // no overflow
    Vector2D n(1, 1);
    n.rotate(INFINITY);
    EXPECT_TRUE(std::isnan(n.y()));
}
