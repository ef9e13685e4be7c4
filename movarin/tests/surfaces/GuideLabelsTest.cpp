// The guide labels on a surface's pending path, as a recording paint device receives them:
// length labels turned along their segments and never upside down (the text's base line
// checked against the segment on the screen), the single elevation of a one-vertex path, the
// reference line drawn half a segment long with the angle it makes (worked out with atan2),
// and the font sizes of the settings store, missing keys included, without a Qt warning.
#include "shell/HelperTestSupport.h"

#include "movarin/shell/SettingsKeys.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerGuideMainViewHelper.h"

#include "support/ScratchSettings.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace varnel::test {
namespace {

using tin::core::Point;
using tin::core::Point2D;
using Guide = GeoEditSurfaceItemController::GuideMainViewHelper;
using Lines = GeoEditSurfaceItemController::ReferenceLines;
using Line = GeoEditSurfaceItemController::ReferenceLine;

std::vector<PaintRecord> ofKind(const std::vector<PaintRecord>& records, PaintRecord::Kind kind)
{
    std::vector<PaintRecord> found;
    for (const PaintRecord& r : records) {
        if (r.kind == kind) {
            found.push_back(r);
        }
    }
    return found;
}

// The turn of a text's base line on the device, degrees clockwise.
double turnOf(const PaintRecord& text)
{
    return std::atan2(text.transform.m12(), text.transform.m11()) * 180.0 / M_PI;
}

// Every length label along its segment and upright, over 360 directions: the base line is
// parallel to the segment on the screen and runs left to right (or straight down).
TEST(GuideLabels, LengthLabelsLieAlongTheirSegmentsAndNeverUpsideDown)
{
    auto view = makeMainView();
    const Lines none;
    for (int degrees = 0; degrees < 360; ++degrees) {
        SCOPED_TRACE(degrees);
        const double r = degrees * M_PI / 180.0;
        const std::vector<Point> path{Point(0.2, -0.1, 1.0), Point(0.2 + 1.5 * std::cos(r), -0.1 + 1.5 * std::sin(r), 2.0)};
        Guide guide(&path, &none, view.get());
        const std::vector<PaintRecord> texts = ofKind(recordsOf(guide, *view), PaintRecord::Text);
        ASSERT_EQ(texts.size(), 3u) << "one length, two elevations";
        EXPECT_EQ(texts[0].text, "1.50000");
        const double turn = turnOf(texts[0]);
        EXPECT_GT(turn, -90.0 + 1e-9);
        EXPECT_LE(turn, 90.0 + 1e-9);
        const QPointF s = px(path[1].x(), path[1].y()) - px(path[0].x(), path[0].y());
        const double cross = std::cos(turn * M_PI / 180.0) * s.y() - std::sin(turn * M_PI / 180.0) * s.x();
        EXPECT_NEAR(cross, 0.0, 1e-6 * std::hypot(s.x(), s.y())) << "along the segment";
    }
    // Down the screen: 90.
    const Point2D down(0.0, -3.0);
    EXPECT_DOUBLE_EQ(Guide::lengthLabelRotation(down, view.get()), 90.0);
    EXPECT_DOUBLE_EQ(Guide::lengthLabelRotation(Point2D(0.0, 3.0), view.get()), 90.0);
    EXPECT_DOUBLE_EQ(Guide::lengthLabelRotation(Point2D(2.0, 0.0), view.get()), 0.0);
    EXPECT_DOUBLE_EQ(Guide::lengthLabelRotation(Point2D(0.0, 0.0), view.get()), 0.0) << "no length";
}

TEST(GuideLabels, AOneVertexPathShowsItsElevationOnly)
{
    auto view = makeMainView();
    const std::vector<Point> path{Point(0.5, 0.5, 12.345678)};
    const Lines none;
    Guide guide(&path, &none, view.get());
    guide.setDecimals(2);
    const std::vector<PaintRecord> records = recordsOf(guide, *view);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, PaintRecord::Text);
    EXPECT_EQ(records[0].text, "12.35");
    EXPECT_EQ(guide.setDecimals(5).decimals(), 5);
}

// The default line of vertex 0 looks up the y axis; the segment leaves it down and to the
// right, so the line is drawn downwards, half the segment long, and the angle between them
// is that of (0, -1) and (4, -3).
TEST(GuideLabels, AReferenceLineIsDrawnHalfASegmentLongWithItsAngle)
{
    auto view = makeMainView();
    const std::vector<Point> path{Point(-1.0, 1.0, 0.0), Point(-0.6, 0.7, 0.0)};
    const Lines lines{Line{Point2D(0.0, 1.0), false}};
    Guide guide(&path, &lines, view.get());
    const std::vector<PaintRecord> records = recordsOf(guide, *view);
    const std::vector<PaintRecord> polylines = ofKind(records, PaintRecord::Polyline);
    ASSERT_EQ(polylines.size(), 1u);
    expectPolygon(polygonOf({px(-1.0, 1.0), px(-1.0, 0.75)}), polylines[0].devicePoints());
    EXPECT_EQ(polylines[0].pen.color(), QColor(Qt::magenta));
    EXPECT_EQ(polylines[0].pen.widthF(), 2.0);

    const double angle = std::atan2(4.0, 3.0) * 180.0 / M_PI;
    const QString expected = QString::number(angle, 'f', 2) + QChar(0x00B0);
    QStringList texts;
    for (const PaintRecord& t : ofKind(records, PaintRecord::Text)) {
        texts << t.text;
    }
    EXPECT_TRUE(texts.contains(expected)) << texts.join(" | ").toStdString();

    // A line of no direction is left out; the labels stay.
    const Lines nowhere{Line{Point2D(0.0, 0.0), true}};
    Guide without(&path, &nowhere, view.get());
    const std::vector<PaintRecord> bare = recordsOf(without, *view);
    EXPECT_TRUE(ofKind(bare, PaintRecord::Polyline).empty());
    EXPECT_EQ(ofKind(bare, PaintRecord::Text).size(), 3u);
}

class GuideFontsTest : public ScratchSettingsTest {
protected:
    static void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg) {
            s_warnings << message;
        }
    }
    void SetUp() override
    {
        s_warnings.clear();
        m_previous = qInstallMessageHandler(&GuideFontsTest::recordWarning);
    }
    void TearDown() override
    {
        qInstallMessageHandler(m_previous);
        EXPECT_TRUE(s_warnings.isEmpty()) << s_warnings.join("\n").toStdString();
    }

    static QStringList s_warnings;
    QtMessageHandler m_previous = nullptr;
};

QStringList GuideFontsTest::s_warnings;

// Lengths, elevations and angles in their own sizes; with the keys gone (or holding no
// number) each size reads 0 and the painter's font stays as it was, with no warning from
// Qt about a point size.
TEST_F(GuideFontsTest, SizesComeFromTheSettingsAndAMissingKeyKeepsThePaintersFont)
{
    auto view = makeMainView();
    const std::vector<Point> path{Point(-1.0, 0.0, 1.0), Point(1.0, 0.0, 2.0)};
    const Lines lines{Line{Point2D(1.0, 1.0), true}};
    Guide guide(&path, &lines, view.get());
    const int usual = [] {
        RecordingPaintDevice device;
        QPainter painter(&device);
        return painter.font().pointSize();
    }();
    ASSERT_GT(usual, 0);

    const auto sizes = [&] {
        std::vector<int> found;
        for (const PaintRecord& t : ofKind(recordsOf(guide, *view), PaintRecord::Text)) {
            found.push_back(t.font.pointSize());
        }
        return found;
    };
    {
        QSettings settings;
        settings.setValue(settings::fontDistanceSize, 11);
        settings.setValue(settings::fontElevationSize, 13);
        settings.setValue(settings::fontAngleSize, 15);
    }
    EXPECT_EQ(sizes(), (std::vector<int>{11, 13, 13, 15}));

    {
        QSettings settings;
        settings.remove(settings::fontDistanceSize);
        settings.remove(settings::fontElevationSize);
        settings.setValue(settings::fontAngleSize, QStringLiteral("large"));
    }
    EXPECT_EQ(sizes(), (std::vector<int>{usual, usual, usual, usual}));
    QSettings().remove(settings::fontAngleSize);
    EXPECT_EQ(sizes(), (std::vector<int>{usual, usual, usual, usual}));
}

} // namespace
} // namespace varnel::test
