// Markers stamped in bands on several threads against the same markers stamped one after
// another on one thread: the same pixels, overlaps and band edges included.
#include "movarin/survey/MarkerBands.h"

#include <QPen>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace varnel::test {
namespace {

struct Marker {
    QPointF centre;
    QRgb colour;
};

/// The oracle: every marker stamped whole, in order, on this thread.
QImage oneByOne(const PointMarkerStamp& stamp, const std::vector<Marker>& markers, int width,
                int height)
{
    QImage layer = PointMarkerStamp::makeLayer(width, height);
    for (const Marker& m : markers) {
        stamp.stamp(layer, m.centre, m.colour);
    }
    return layer;
}

QImage inBands(const PointMarkerStamp& stamp, const std::vector<Marker>& markers, int width,
               int height, int bands)
{
    QImage layer = PointMarkerStamp::makeLayer(width, height);
    MarkerBands::stamp(
        layer, stamp, markers.size(), bands, [&](std::size_t k) { return markers[k].centre; },
        [&](std::size_t k) { return markers[k].colour; });
    return layer;
}

/// Random markers over the layer and a little beyond it (some cut by its edges, some off it),
/// a fifth of them on the rows where bands meet, in a few colours so that overlaps show
/// which came last; one not finite.
std::vector<Marker> randomMarkers(std::size_t count, int width, int height, int bands,
                                  unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> x(-12.0, width + 12.0);
    std::uniform_real_distribution<double> y(-12.0, height + 12.0);
    std::uniform_real_distribution<double> nudge(-4.0, 4.0);
    std::uniform_int_distribution<int> colour(0, 5);
    std::uniform_int_distribution<int> band(1, std::max(1, bands - 1));
    const QRgb colours[] = {qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(0, 0, 255),
                            qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(90, 40, 200)};
    std::vector<Marker> markers;
    for (std::size_t k = 0; k < count; ++k) {
        QPointF centre(x(random), y(random));
        if (k % 5 == 0) {
            centre.setY(BandPainter::bandTop(height, bands, band(random)) + nudge(random));
        }
        markers.push_back(Marker{centre, colours[colour(random)]});
    }
    markers[count / 2].centre = QPointF(std::nan(""), 10.0);
    return markers;
}

TEST(MarkerBands, EveryBandCountGivesThePixelsOfStampingOneByOne)
{
    // Heights that split evenly and unevenly; discs and rings wider than the gap between
    // neighbouring markers, so that most pixels are written several times.
    for (const int height : {128, 203}) {
        for (const bool filled : {true, false}) {
            const PointMarkerStamp stamp(filled ? 3.0 : 4.0,
                                         filled ? QPen() : QPen(Qt::black, 5), filled);
            for (int bands = 2; bands <= BandPainter::MAX_BANDS; ++bands) {
                const std::vector<Marker> markers =
                    randomMarkers(6000, 157, height, bands, static_cast<unsigned>(height + bands));
                const QImage oracle = oneByOne(stamp, markers, 157, height);
                EXPECT_EQ(inBands(stamp, markers, 157, height, bands), oracle)
                    << height << " rows, " << bands << " bands, filled " << filled;
            }
        }
    }
}

TEST(MarkerBands, TheLaterOfTwoMarkersAcrossABandEdgeIsOnTopInBothBands)
{
    const PointMarkerStamp stamp(4.0, QPen(), true);
    const int edge = BandPainter::bandTop(100, 2, 1);
    for (const double offset : {-3.75, -0.5, 0.0, 0.25, 2.5}) {
        const std::vector<Marker> markers = {{QPointF(30.0, edge + offset), qRgb(255, 0, 0)},
                                             {QPointF(31.0, edge + offset), qRgb(0, 0, 255)}};
        const QImage banded = inBands(stamp, markers, 60, 100, 2);
        EXPECT_EQ(banded, oneByOne(stamp, markers, 60, 100)) << offset;
        // Rows of both bands show the second marker at its centre's column.
        EXPECT_EQ(banded.pixel(31, edge - 1), qRgb(0, 0, 255)) << offset;
        EXPECT_EQ(banded.pixel(31, edge), qRgb(0, 0, 255)) << offset;
    }
}

TEST(MarkerBands, AStampClippedToEachBandInTurnEqualsTheWholeStamp)
{
    const PointMarkerStamp stamp(3.0, QPen(Qt::black, 5), false);
    for (double y = 20.0; y < 44.0; y += 0.25) {
        QImage whole = PointMarkerStamp::makeLayer(50, 64);
        stamp.stamp(whole, QPointF(25.3, y), qRgb(10, 20, 30));
        QImage parts = PointMarkerStamp::makeLayer(50, 64);
        for (const auto& [top, bottom] : {std::pair{-5, 31}, std::pair{31, 32}, std::pair{32, 70}}) {
            stamp.stamp(parts, QPointF(25.3, y), qRgb(10, 20, 30), top, bottom);
        }
        ASSERT_EQ(parts, whole) << y;
        int first = 0;
        int last = 0;
        ASSERT_TRUE(stamp.rowsOf(whole, QPointF(25.3, y), first, last));
        for (int row = 0; row < 64; ++row) {
            if (row < first || row > last) {
                for (int x = 0; x < 50; ++x) {
                    ASSERT_EQ(whole.pixel(x, row), 0u) << "row " << row << " outside the rows said";
                }
            }
        }
    }
}

TEST(MarkerBands, OneBandAndAnEmptyListNeedNoThreads)
{
    const PointMarkerStamp stamp(2.0, QPen(), true);
    const std::vector<Marker> markers = randomMarkers(300, 40, 40, 1, 7);
    EXPECT_EQ(inBands(stamp, markers, 40, 40, 1), oneByOne(stamp, markers, 40, 40));
    EXPECT_EQ(inBands(stamp, {}, 40, 40, 4), PointMarkerStamp::makeLayer(40, 40));
}

} // namespace
} // namespace varnel::test
