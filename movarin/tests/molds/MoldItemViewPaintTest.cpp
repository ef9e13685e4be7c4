// What the mold view paints, read back from the detail view's picture and from a recording
// paint device: the grid's spacing and weights, the cross through (0, 0) or the base point,
// and the bound on grid lines when zoomed far out.
#include "shell/RecordingPaintDevice.h"

#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace varnel::test {
namespace {

// A run of pixels of one colour along a scan line: first index and length.
struct PixelRun {
    int first;
    int length;
    double centre() const { return first + (length - 1) / 2.0; }
};

std::vector<PixelRun> runsOf(const QImage& image, const QColor& colour, bool alongRow, int line)
{
    std::vector<PixelRun> runs;
    const int count = alongRow ? image.width() : image.height();
    // The frame of the drawn area takes the outer two pixels.
    for (int i = 3; i < count - 3; ++i) {
        const QPoint p = alongRow ? QPoint(i, line) : QPoint(line, i);
        if (image.pixelColor(p) != colour) {
            continue;
        }
        if (!runs.empty() && runs.back().first + runs.back().length == i) {
            ++runs.back().length;
        } else {
            runs.push_back({i, 1});
        }
    }
    return runs;
}

// Whether a scan line is dashed in black: between a fifth and four fifths of it.
bool dashed(const QImage& image, bool alongRow, int line)
{
    int n = 0;
    for (const PixelRun& run : runsOf(image, Qt::black, alongRow, line)) {
        n += run.length;
    }
    const int length = (alongRow ? image.width() : image.height()) - 6;
    return n > length / 5 && n < 4 * length / 5;
}

class MoldViewPaint : public ::testing::Test {
protected:
    MoldViewPaint()
    {
        m_view.resize(300, 300);
        m_view.setMoldItem(&m_item);
        // The first resize reaches a hidden widget with its first picture, and fits it.
        m_view.grab();
    }
    void aim(const QPointF& centre, double scale)
    {
        m_view.setCenterPoint(centre);
        m_view.setScale(scale);
        m_view.updateView();
    }
    /// The item painted straight onto an image of the view's size, grid on or off.
    QImage paintedItem(bool grid)
    {
        QImage image(m_view.size(), QImage::Format_RGB32);
        image.fill(Qt::darkGray);
        QPainter painter(&image);
        m_item.view()->setGridVisible(grid);
        m_item.view()->paint(&painter, m_view.transform(), m_view.drawnArea());
        return image;
    }
    QPoint pixel(double l, double h) const { return m_view.conv(QPointF(l, h)).toPoint(); }

    MoldItem m_item;
    DetailView m_view;
};

TEST_F(MoldViewPaint, GridOfTenCentimetresThickensEveryHalfMetre)
{
    // A mold and its base far outside the picture: only the grid is drawn.
    m_item.mold() = mold::core::Mold(mold::core::Mold::Add, {100.0, 101.0}, {100.0, 100.0},
                                     100.0, 100.0);
    m_item.view()->setGridWidth(0.1, 0.1);
    aim(QPointF(0.27, 0.33), 100.0);
    const QImage image = m_view.grab().toImage();

    // Along a row between two horizontal lines, and along a column between two vertical ones.
    for (const bool alongRow : {true, false}) {
        const int line = alongRow ? pixel(0.0, 0.38).y() : pixel(0.38, 0.0).x();
        const std::vector<PixelRun> runs = runsOf(image, Qt::lightGray, alongRow, line);
        ASSERT_GE(runs.size(), 25u);
        long long previous = 0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const QPointF at = alongRow ? QPointF(runs[i].centre(), line)
                                        : QPointF(line, runs[i].centre());
            const QPointF world = m_view.rconv(at);
            const double metres = alongRow ? world.x() : world.y();
            const long long k = std::llround(metres / 0.1);
            EXPECT_NEAR(k * 0.1, metres, 0.015) << "a line off the 10 cm grid (1.5 pixels)";
            EXPECT_EQ(k % 5 == 0 ? 2 : 1, runs[i].length) << "line at " << k * 0.1;
            if (i > 0) {
                EXPECT_EQ(1, std::llabs(k - previous)) << "a missing line after " << previous * 0.1;
            }
            previous = k;
        }
    }
}

TEST_F(MoldViewPaint, CrossThroughTheOriginOnlyWithTheGridOrThroughTheBasePoint)
{
    aim(QPointF(0.3, 0.2), 50.0);
    const QPoint origin = pixel(0.0, 0.0);
    QImage image = paintedItem(true);
    EXPECT_TRUE(dashed(image, true, origin.y()) && dashed(image, false, origin.x()));
    image = paintedItem(false);
    EXPECT_TRUE(runsOf(image, Qt::black, true, origin.y()).empty());
    EXPECT_TRUE(runsOf(image, Qt::black, false, origin.x()).empty());

    m_item.mold() = mold::core::Mold(mold::core::Mold::Add, {-1.0, 1.0}, {1.0, 1.0}, 0.5, -0.5);
    for (const bool grid : {true, false}) {
        image = paintedItem(grid);
        const QPoint base = pixel(0.5, -0.5);
        EXPECT_TRUE(dashed(image, true, base.y()) && dashed(image, false, base.x()));
        // The row through (0, 0) meets only the base point's vertical line.
        for (const PixelRun& run : runsOf(image, Qt::black, true, origin.y())) {
            EXPECT_NEAR(base.x(), run.centre(), 1.0) << "a line through (0, 0)";
        }
    }
}

TEST_F(MoldViewPaint, ZoomingFarOutDrawsNoMoreThanTenThousandGridLinesPerDirection)
{
    m_item.view()->setGridWidth(0.01, 0.01);
    aim(QPointF(0.0, 0.0), 75.0);
    for (int notch = 0; notch <= 10; ++notch) {
        RecordingPaintDevice device;
        {
            QPainter painter(&device);
            m_item.view()->paint(&painter, m_view.transform(), m_view.drawnArea());
        }
        std::map<bool, std::size_t> lines; // vertical?
        for (const PaintRecord& r : device.recordsOf(PaintRecord::Lines)) {
            if (r.pen.color() != QColor(Qt::lightGray)) {
                continue;
            }
            for (int i = 0; i + 1 < r.points.size(); i += 2) {
                ++lines[r.points[i].x() == r.points[i + 1].x()];
            }
        }
        EXPECT_LE(lines[true], 10000u) << "notch " << notch;
        EXPECT_LE(lines[false], 10000u) << "notch " << notch;
        if (notch == 0) {
            EXPECT_GE(lines[true], 400u) << "4 m of 1 cm lines";
        }
        const QPointF centre(m_view.width() / 2.0, m_view.height() / 2.0);
        if (notch == 10) {
            break;
        }
        QWheelEvent wheel(centre, QPointF(m_view.mapToGlobal(centre.toPoint())), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&m_view, &wheel);
    }
    EXPECT_DOUBLE_EQ(75.0 / 1024.0, m_view.scale());
}

} // namespace
} // namespace varnel::test
