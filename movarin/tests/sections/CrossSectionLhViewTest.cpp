// The L-H plot of a cross-section window: how it frames a profile, stacks crossing labels and
// picks the automatic grid, that a fine grid seen from far away draws a bounded number of
// lines, and what its picture shows: the end marks where the transform puts the first and
// last rows, the dotted base profile only while "Show base" is checked, and nothing of a
// profile in the margins.
#include "SectionsTestSupport.h"

#include "shell/RecordingPaintDevice.h"

#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionLhTableModel.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionLhViewLhTableItem.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemDrawer.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemView.h"

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace varnel::test {
namespace {

using Rows = CrossSectionLhView::Rows;
using Intervals = std::vector<CrossSectionLhView::LhTableItemView::Interval>;

/// Turns the wheel over the plot by `notches` (negative: away, zooming out).
void turnWheel(CrossSectionLhView* plot, int notches)
{
    for (int i = 0; i < std::abs(notches); ++i) {
        const QPointF at(plot->width() / 2.0, plot->height() / 2.0);
        QWheelEvent wheel(at, QPointF(plot->mapToGlobal(at.toPoint())), QPoint(),
                          QPoint(0, notches > 0 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &wheel);
    }
}

TEST(CrossSectionLhPlot, AProfileOfOneSpotIsFramedTenMetresEachWay)
{
    EXPECT_EQ(CrossSectionLhView::profileBox({{true, 3.0, 7.0}}), QRectF(-2.0, 2.0, 10.0, 10.0));
    EXPECT_EQ(CrossSectionLhView::profileBox({{true, 3.0, 7.0}, {false, 3.0, 9.0}}),
              QRectF(-2.0, 7.0, 10.0, 2.0));
    EXPECT_EQ(CrossSectionLhView::profileBox({}), QRectF(-5.0, -5.0, 10.0, 10.0));

    // On the plot the box fills the middle 90 % of the area inside the margins.
    Rows rows{{true, 3.0, 7.0}};
    CrossSectionLhTableModel model(&rows);
    CrossSectionLhView plot;
    const int left = plot.leftMargin();
    ASSERT_GE(left, CrossSectionLhView::LEFT_MARGIN);
    plot.resize(left + 600, 435);
    plot.setUpItem(nullptr, &model);
    const QRectF inside = plot.plotRect();
    ASSERT_EQ(inside, QRectF(left, 35.0, 600.0, 400.0));
    const QPointF low = plot.conv(QPointF(-2.0, 2.0));
    const QPointF high = plot.conv(QPointF(8.0, 12.0));
    EXPECT_NEAR(low.x(), left + 30.0, 1e-9);
    EXPECT_NEAR(high.x(), left + 600.0 - 30.0, 1e-9);
    EXPECT_NEAR(high.y(), 35.0 + 20.0, 1e-9);
    EXPECT_NEAR(low.y(), 435.0 - 20.0, 1e-9);

    // A widget no larger than its margins is left alone and paints no plot.
    const QTransform before = plot.transform();
    plot.resize(left, 200);
    EXPECT_EQ(plot.transform(), before);
    const QImage picture = plot.grab().toImage();
    EXPECT_EQ(picture.pixelColor(20, 100), QColor(Qt::darkGray));
}

TEST(CrossSectionLhPlot, CrossingLabelsStackOnlyWhereTheyWouldCrowd)
{
    using View = CrossSectionLhView::LhTableItemView;
    Intervals levels;
    EXPECT_EQ(View::labelLevel(&levels, 100.0, 140.0), 0u);
    EXPECT_EQ(View::labelLevel(&levels, 144.0, 180.0), 1u) << "4 pixels from the first";
    EXPECT_EQ(View::labelLevel(&levels, 200.0, 240.0), 0u);
    // Level 0 remembers its first label only: clear of it is enough, even across the third.
    EXPECT_EQ(View::labelLevel(&levels, 146.0, 210.0), 0u);
    EXPECT_EQ(View::labelLevel(&levels, 40.0, 145.0), 2u);
    EXPECT_EQ(View::labelLevel(&levels, 30.0, 94.9), 0u) << "left of the first, 5.1 pixels clear";
    EXPECT_EQ(levels, (Intervals{{100.0, 140.0}, {144.0, 180.0}, {40.0, 145.0}}));
}

TEST(CrossSectionLhPlot, AutomaticGridWidthFollowsTheDrawnSizeWithStrictSteps)
{
    EXPECT_EQ(CrossSectionDialog::gridPosition(95.0), 3);
    EXPECT_EQ(CrossSectionDialog::gridPosition(90.0), 2);
    EXPECT_EQ(CrossSectionDialog::gridPosition(9.01), 2);
    EXPECT_EQ(CrossSectionDialog::gridPosition(9.0), 1);
    EXPECT_EQ(CrossSectionDialog::gridPosition(0.91), 1);
    EXPECT_EQ(CrossSectionDialog::gridPosition(0.9), 0);
    EXPECT_EQ(CrossSectionDialog::gridPosition(std::nan("")), 0);
}

TEST(CrossSectionLhPlot, AFineGridFarAwayDrawsBoundedLines)
{
    Rows rows{{true, 0.0, 0.0}, {true, 80.0, 10.0}};
    CrossSectionLhTableModel model(&rows);
    CrossSectionLhView plot;
    plot.resize(655, 435);
    plot.setUpItem(nullptr, &model);
    plot.setGridWidthX(0.01);
    plot.setGridWidthY(0.01);
    CrossSectionLhView::LhTableItemView* view = plot.item()->view();

    const auto countLines = [&] {
        RecordingPaintDevice device;
        QPainter painter(&device);
        view->paint(&painter, plot.transform(), plot.drawnArea());
        painter.end();
        std::size_t lines = 0;
        for (const PaintRecord& r : device.recordsOf(PaintRecord::Lines)) {
            lines += static_cast<std::size_t>(r.points.size()) / 2;
        }
        return lines;
    };
    // Framed, 80 m take 540 pixels: 1 cm and its 5 cm lines lie under 2 pixels apart, and
    // only the zero lines and the two axes' edges are drawn.
    EXPECT_EQ(countLines(), 4u);
    // Ten notches closer the 1 cm grid, its 5 cm grid and their ticks show.
    turnWheel(&plot, 10);
    ASSERT_NEAR(plot.scale(), 1024.0, 1e-9);
    const std::size_t close = countLines();
    const auto fineAcross = static_cast<std::size_t>(plot.drawnArea().width() / 0.01);
    ASSERT_GT(fineAcross, 5u);
    EXPECT_GE(close, 4u + fineAcross - 1u);
    // At most one line per 2 pixels of each side on each level (fine, coarse, ticks).
    EXPECT_LE(close, 3u * (655u + 435u) / 2u);
    // Ten notches farther than framed: 80 m take half a pixel, and nothing more is drawn.
    turnWheel(&plot, -20);
    ASSERT_NEAR(plot.scale(), 1.0 / 1024.0, 1e-15);
    EXPECT_EQ(countLines(), 4u);
}

// The distance values stand above the plot, centred on their ticks; the plot reaches the
// widget's right edge, so a value at a tick near it would be cut there.
TEST(CrossSectionLhPlot, NoDistanceValueRunsPastTheWidgetsRightEdge)
{
    Rows rows{{true, 0.0, 85.0}, {true, 24.0, 86.0}};
    CrossSectionLhTableModel model(&rows);
    CrossSectionLhView plot;
    plot.setUpItem(nullptr, &model);
    plot.setGridWidthX(1.0);
    int values = 0;
    for (int width = 560; width <= 660; width += 4) {
        plot.resize(width, 270);
        plot.fit();
        RecordingPaintDevice device;
        QPainter painter(&device);
        plot.item()->view()->paint(&painter, plot.transform(), plot.drawnArea());
        painter.end();
        for (const PaintRecord& r : device.recordsOf(PaintRecord::Text)) {
            bool number = false;
            r.text.toDouble(&number);
            if (!number || r.transform.isRotating() || r.devicePosition().y() >= plot.plotRect().top()) {
                continue; // not a distance value
            }
            const double left = r.devicePosition().x();
            EXPECT_LE(left + QFontMetricsF(r.font).horizontalAdvance(r.text), width)
                << r.text.toStdString() << " at width " << width;
            ++values;
        }
    }
    EXPECT_GE(values, 5 * 26) << "0 to 20 m at every width";
}

TEST(CrossSectionLhPlot, ElevationValuesOfTheSurveyRangeAreNeverCutAtTheLeftEdge)
{
    // Elevations of four digits and below sea level, in the default font and in larger ones:
    // every value drawn starts right of the upright title, and most are drawn (only those
    // beside the title are left out).
    for (Rows rows : {Rows{{true, 0.0, 626.0}, {true, 30.0, 631.0}},
                      Rows{{true, 0.0, 3996.0}, {true, 30.0, 4001.0}},
                      Rows{{true, 0.0, -104.0}, {true, 30.0, -99.0}}}) {
        for (const int points : {0, 12, 16}) {
            SCOPED_TRACE(std::to_string(rows.front().H) + " m, " + std::to_string(points) + " pt");
            CrossSectionLhTableModel model(&rows);
            CrossSectionLhView plot;
            if (points > 0) {
                QFont font = plot.font();
                font.setPointSize(points);
                plot.setFont(font);
            }
            plot.resize(700, 500);
            plot.setUpItem(nullptr, &model);
            plot.setGridWidthY(0.1);
            RecordingPaintDevice device;
            QPainter painter(&device);
            painter.setFont(plot.font());
            plot.item()->view()->paint(&painter, plot.transform(), plot.drawnArea());
            painter.end();
            const QFontMetricsF metrics(plot.font());
            int values = 0;
            for (const PaintRecord& r : device.recordsOf(PaintRecord::Text)) {
                bool number = false;
                r.text.toDouble(&number);
                if (!number || r.transform.isRotating() || r.devicePosition().y() < plot.plotRect().top()) {
                    continue; // not an elevation value
                }
                EXPECT_GE(r.devicePosition().x(), metrics.ascent()) << r.text.toStdString();
                EXPECT_LE(r.devicePosition().x() + QFontMetricsF(r.font).horizontalAdvance(r.text),
                          plot.plotRect().left() - CrossSectionLhView::TICK + 0.5)
                    << r.text.toStdString();
                ++values;
            }
            EXPECT_GE(values, 6) << "a label every half metre over about five metres";
        }
    }
}

using CrossSectionPlotPicture = SectionWindowTest;

bool isColour(const QImage& picture, const QPoint& p, Qt::GlobalColor colour)
{
    return picture.pixelColor(p) == QColor(colour);
}

TEST_F(CrossSectionPlotPicture, EndMarksSitOnTheFirstAndLastRows)
{
    const Rows& rows = dialog()->currentRows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_DOUBLE_EQ(rows.front().L, 0.0);
    EXPECT_NEAR(rows.back().L, 76.0, 1e-9);
    const QImage picture = grabPlot();
    EXPECT_TRUE(isColour(picture, rowPixel(0), Qt::magenta));
    EXPECT_TRUE(isColour(picture, rowPixel(rows.size() - 1), Qt::green));
    // Both inside the plot, 5 % of its size in from its corners.
    const QRectF inside = plot()->plotRect();
    EXPECT_NEAR(rowPixel(0).x(), inside.left() + 0.05 * inside.width(), 1.0);
    EXPECT_NEAR(rowPixel(rows.size() - 1).y(), inside.top() + 0.05 * inside.height(), 1.0);
}

TEST_F(CrossSectionPlotPicture, TheBaseProfileIsDottedAndOnlyWhileShown)
{
    // The base TIN lies flat at 0, the edited one reaches it at x = 20 (L = 8) only.
    const int y = plotPixel(0.0, 0.0).y();
    const int from = plotPixel(20.0, 0.0).x();
    const int to = static_cast<int>(plot()->plotRect().right()) - 2;
    ASSERT_LT(from + 50, to);
    const auto grayAlongBase = [&](int* gaps) {
        const QImage picture = grabPlot();
        int gray = 0;
        *gaps = 0;
        for (int x = from; x < to; ++x) {
            const bool dot = isColour(picture, QPoint(x, y), Qt::darkGray)
                             || isColour(picture, QPoint(x, y + 1), Qt::darkGray);
            gray += dot ? 1 : 0;
            *gaps += dot ? 0 : 1;
        }
        return gray;
    };
    int gaps = 0;
    EXPECT_GT(grayAlongBase(&gaps), (to - from) / 4);
    EXPECT_GT(gaps, (to - from) / 4) << "a dotted line";

    auto showBase = dialog()->findChild<QCheckBox*>(QStringLiteral("showBaseCheckBox"));
    ASSERT_TRUE(showBase && showBase->isChecked());
    showBase->click();
    EXPECT_EQ(grayAlongBase(&gaps), 0);
    showBase->click();
    EXPECT_GT(grayAlongBase(&gaps), 0);
}

TEST_F(CrossSectionPlotPicture, NothingOfAProfileShowsInTheMargins)
{
    // Zoomed in twice about the middle: the profiles run far beyond the plot on every side.
    turnWheel(plot(), 2);
    ASSERT_LT(plotPixel(0.0, -1.0).x(), 0);
    ASSERT_LT(plotPixel(76.0, 7.0).y(), 0);
    const QImage picture = grabPlot();
    const QRectF inside = plot()->plotRect();
    int strays = 0;
    int margin = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            // The frame's 2-pixel line straddles the plot's edge.
            if (x >= inside.left() - 2 && y >= inside.top() - 2) {
                continue;
            }
            ++margin;
            for (const Qt::GlobalColor profile :
                 {Qt::black, Qt::darkGray, Qt::magenta, Qt::green}) {
                strays += isColour(picture, QPoint(x, y), profile) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(margin, 0);
    EXPECT_EQ(strays, 0);
    // The plot itself does show the profile.
    EXPECT_TRUE(isColour(picture, plotPixel(38.0, 0.1 * 50.0 - 2.0), Qt::black));
}

} // namespace
} // namespace varnel::test
