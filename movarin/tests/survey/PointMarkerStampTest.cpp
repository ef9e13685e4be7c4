// The marker stamp's placement: centres rounded to the nearest quarter pixel, halves away
// from zero as std::llround does, with and without clipping at the layer's edges.
#include "movarin/survey/PointMarkerStamp.h"

#include <QPen>

#include <gtest/gtest.h>

#include <cmath>

namespace varnel::test {
namespace {

QImage stamped(const PointMarkerStamp& stamp, const QPointF& centre)
{
    QImage layer = PointMarkerStamp::makeLayer(40, 30);
    stamp.stamp(layer, centre, qRgb(200, 10, 10));
    return layer;
}

/// The centre a quarter-pixel stamp stands for, rounded by the library.
QPointF quarterOf(const QPointF& centre)
{
    return QPointF(std::llround(centre.x() * 4) / 4.0, std::llround(centre.y() * 4) / 4.0);
}

TEST(PointMarkerStamp, CentresRoundToQuarterPixelsAsLlroundDoesInsideAndAtTheEdges)
{
    for (const bool filled : {true, false}) {
        const PointMarkerStamp stamp(2.0, QPen(Qt::black, filled ? 1 : 4), filled);
        // Exact halves of a quarter (x * 4 = k + 0.5), either sign, near and far from the edges,
        // and values just beside them.
        for (const double x : {20.125, 20.375, 20.12499, 20.37501, 0.125, -0.125, -0.375, -1.625,
                               39.875, 41.125, 7.0, -3.875}) {
            for (const double y : {15.125, -0.125, 0.625, 29.875, 12.0}) {
                const QPointF centre(x, y);
                EXPECT_EQ(stamped(stamp, centre), stamped(stamp, quarterOf(centre)))
                    << filled << " " << x << " " << y;
            }
        }
        // A stamp wholly inside and one cut by the edge agree on the pixels they share.
        const QImage inside = stamped(stamp, QPointF(20.25, 15.5));
        const QImage shifted = stamped(stamp, QPointF(1.25, 15.5));
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x + 19 < 40; ++x) {
                ASSERT_EQ(shifted.pixel(x, y), inside.pixel(x + 19, y)) << x << "," << y;
            }
        }
    }
}

TEST(PointMarkerStamp, MarkersOffTheLayerOrNotFiniteLeaveItUntouched)
{
    const PointMarkerStamp stamp(3.0, QPen(), true);
    const QImage blank = PointMarkerStamp::makeLayer(40, 30);
    for (const QPointF& centre : {QPointF(-20.0, 10.0), QPointF(10.0, 80.0),
                                  QPointF(std::nan(""), 5.0), QPointF(5.0, INFINITY)}) {
        EXPECT_EQ(stamped(stamp, centre), blank) << centre.x() << " " << centre.y();
    }
}

} // namespace
} // namespace varnel::test
