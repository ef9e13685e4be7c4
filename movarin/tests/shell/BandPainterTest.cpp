// Painting an image in bands on several threads: each band paints only its own rows, every
// slice of the shared input is prepared before any band paints, and a band that fails does not
// stop the others.
#include "movarin/shell/BandPainter.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace varnel::test {
namespace {

QColor colorOf(int band)
{
    return QColor(60 * band, 255 - 60 * band, 128);
}

TEST(BandPainterTest, EachBandPaintsOnlyItsRows)
{
    QImage image(50, 130, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const int bands = 4;
    BandPainter::paint(&image, bands, QPainter::RenderHints(), [](QPainter* painter, int band) {
        painter->fillRect(QRect(0, 0, 50, 130), colorOf(band));
    });
    for (int band = 0; band < bands; ++band) {
        const int top = BandPainter::bandTop(130, bands, band);
        const int bottom = BandPainter::bandTop(130, bands, band + 1);
        EXPECT_EQ(colorOf(band).rgba(), image.pixel(25, top));
        EXPECT_EQ(colorOf(band).rgba(), image.pixel(0, bottom - 1));
    }
    EXPECT_EQ(130, BandPainter::bandTop(130, bands, bands));
}

TEST(BandPainterTest, AFailingBandIsReportedAfterTheOthersAreDone)
{
    QImage image(10, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    std::atomic<int> painted{0};
    EXPECT_THROW(BandPainter::paint(&image, 3, QPainter::RenderHints(),
                                    [&](QPainter* painter, int band) {
                                        if (band == 1) {
                                            throw std::runtime_error("band 1");
                                        }
                                        painter->fillRect(image.rect(), Qt::red);
                                        ++painted;
                                    }),
                 std::runtime_error);
    EXPECT_EQ(2, painted.load());
    EXPECT_EQ(QColor(Qt::red), image.pixelColor(5, 99));
}

TEST(BandPainterTest, EverySliceIsPreparedBeforeAnyBandPaints)
{
    QImage image(10, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const int bands = 4;
    // Each band paints with the colour that the slice after it prepared.
    std::vector<QRgb> prepared(bands, 0);
    BandPainter::paint(
        &image, bands, QPainter::RenderHints(),
        [&](int slice) { prepared[static_cast<std::size_t>(slice)] = colorOf(slice).rgba(); },
        [&](QPainter* painter, int band) {
            const QRgb next = prepared[static_cast<std::size_t>((band + 1) % bands)];
            painter->fillRect(image.rect(), QColor::fromRgba(next));
        });
    for (int band = 0; band < bands; ++band) {
        const int top = BandPainter::bandTop(200, bands, band);
        EXPECT_EQ(colorOf((band + 1) % bands).rgba(), image.pixel(5, top));
    }

    // A slice that fails is reported and nothing is painted.
    image.fill(Qt::transparent);
    std::atomic<int> painted{0};
    EXPECT_THROW(BandPainter::paint(
                     &image, bands, QPainter::RenderHints(),
                     [](int slice) {
                         if (slice == 2) {
                             throw std::runtime_error("slice 2");
                         }
                     },
                     [&](QPainter*, int) { ++painted; }),
                 std::runtime_error);
    EXPECT_EQ(0, painted.load());
}

TEST(BandPainterTest, ForEachBandRunsEveryIndexOnceTheFirstOnTheCallersThread)
{
    for (int bands : {0, 1, 3, BandPainter::MAX_BANDS}) {
        std::vector<std::atomic<int>> runs(static_cast<std::size_t>(std::max(bands, 1)));
        std::thread::id first;
        BandPainter::forEachBand(bands, [&](int index) {
            runs[static_cast<std::size_t>(index)]++;
            if (index == 0) {
                first = std::this_thread::get_id();
            }
        });
        for (const std::atomic<int>& r : runs) {
            EXPECT_EQ(1, r.load()) << bands;
        }
        EXPECT_EQ(std::this_thread::get_id(), first) << bands;
    }
    EXPECT_THROW(BandPainter::forEachBand(3,
                                          [](int index) {
                                              if (index == 2) {
                                                  throw std::runtime_error("band 2");
                                              }
                                          }),
                 std::runtime_error);
    EXPECT_EQ(1, BandPainter::threadsFor(10));
    EXPECT_GE(BandPainter::threadsFor(1000000), 1);
    EXPECT_LE(BandPainter::threadsFor(1000000), BandPainter::MAX_BANDS);
}

} // namespace
} // namespace varnel::test
