#include "vec/Vector2D.h"

#include <gtest/gtest.h>

#include <cmath>

using vec::Vector2D;

TEST(Vector2D, QuarterTurnIsCounterClockwise)
{
    Vector2D v(1, 0);
    v.rotate(90);
    EXPECT_NEAR(v.x(), 0.0, 1e-12);
    EXPECT_NEAR(v.y(), 1.0, 1e-12);
    // Quarter turns are exact, also for large and negative angles.
    Vector2D w(3, -2);
    w.rotate(-270.0 + 360.0 * 1000);
    EXPECT_EQ(w.x(), 2.0);
    EXPECT_EQ(w.y(), 3.0);
}

TEST(Vector2D, RotationKeepsLengthAndReverses)
{
    const Vector2D start(3.25, -7.5);
    for (double a : {0.5, 30.0, 45.0, 123.456, -200.0, 1e6 + 0.3}) {
        SCOPED_TRACE(a);
        Vector2D v = start;
        v.rotate(a);
        EXPECT_NEAR(v.length(), start.length(), 1e-12 * start.length());
        // Against the plain formula.
        const double r = a * M_PI / 180.0;
        EXPECT_NEAR(v.x(), std::cos(r) * start.x() - std::sin(r) * start.y(), 1e-9);
        EXPECT_NEAR(v.y(), std::sin(r) * start.x() + std::cos(r) * start.y(), 1e-9);
        v.rotate(-a);
        EXPECT_NEAR(v.x(), start.x(), 1e-12);
        EXPECT_NEAR(v.y(), start.y(), 1e-12);
    }
}

TEST(Vector2D, ArithmeticAndLength)
{
    const Vector2D a(1, 2);
    const Vector2D b(4, -6);
    const Vector2D sum = a + b;
    const Vector2D diff = b - a;
    const Vector2D scaled = 2.5 * a;
    EXPECT_EQ(sum.x(), 5.0);
    EXPECT_EQ(sum.y(), -4.0);
    EXPECT_EQ(diff.x(), 3.0);
    EXPECT_EQ(diff.y(), -8.0);
    EXPECT_EQ(scaled.x(), (a * 2.5).x());
    EXPECT_EQ(scaled.y(), 5.0);
    EXPECT_EQ(diff.length(), std::sqrt(73.0));
    EXPECT_DOUBLE_EQ(Vector2D(3e200, 4e200).length(), 5e200); // no overflow
}

TEST(Vector2D, NonFiniteAngleGivesNaN)
{
    Vector2D v(1, 1);
    v.rotate(std::nan(""));
    EXPECT_TRUE(std::isnan(v.x()));
    Vector2D w(1, 1);
    w.rotate(INFINITY);
    EXPECT_TRUE(std::isnan(w.y()));
}
