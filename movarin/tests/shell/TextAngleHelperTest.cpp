// Labels, arcs and angles: where the text's base line lands for each alignment and
// rotation, which way an arc runs, and what an angle label reads.
#include "shell/HelperTestSupport.h"

#include "movarin/shell/AngleMainViewHelper.h"
#include "movarin/shell/ArcMainViewHelper.h"
#include "movarin/shell/TextMainViewHelper.h"

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace varnel::test {
namespace {

using tin::core::Point2D;

const QString degree = QString(QChar(0x00B0));

// Width and line height of `text` in the default font on the recording device.
QSize measured(const QString& text)
{
    RecordingPaintDevice device;
    QPainter painter(&device);
    const QFontMetrics metrics = painter.fontMetrics();
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

PaintRecord onlyText(const std::vector<PaintRecord>& records)
{
    std::vector<PaintRecord> texts;
    for (const PaintRecord& r : records) {
        if (r.kind == PaintRecord::Text) {
            texts.push_back(r);
        }
    }
    EXPECT_EQ(1u, texts.size());
    return texts.empty() ? PaintRecord() : texts.front();
}

TEST(TextHelpers, AlignmentPicksTheAnchoredPointOfTheText)
{
    auto view = makeMainView();
    const Point2D anchor(0.5, -0.5);
    const QString text = QStringLiteral("Abc 12");
    const QSize size = measured(text);
    ASSERT_GT(size.width(), 10);
    TextMainViewHelper helper(&anchor, &text, view.get(), QPen(Qt::darkGreen));

    // 65: the base line's left end at the anchor.
    PaintRecord r = onlyText(recordsOf(helper, *view));
    EXPECT_EQ(text, r.text);
    expectNear(px(0.5, -0.5), r.devicePosition());
    EXPECT_EQ(QColor(Qt::darkGreen), r.pen.color());

    // 36: centred, hanging one line below the anchor.
    helper.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    r = onlyText(recordsOf(helper, *view));
    expectNear(px(0.5, -0.5) + QPointF(-(size.width() / 2), size.height()), r.devicePosition());

    // 130: right end, half a line below.
    helper.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    r = onlyText(recordsOf(helper, *view));
    expectNear(px(0.5, -0.5) + QPointF(-size.width(), size.height() / 2), r.devicePosition());
}

TEST(TextHelpers, RotationTurnsTheTextAboutItsAnchor)
{
    auto view = makeMainView();
    const Point2D anchor(-1.0, 1.0);
    const QString text = QStringLiteral("turned");
    const QSize size = measured(text);
    TextMainViewHelper helper(&anchor, &text, view.get(), QPen());
    helper.setRotation(90.0);

    PaintRecord r = onlyText(recordsOf(helper, *view));
    expectNear(px(-1.0, 1.0), r.devicePosition());
    // The base line runs down the screen.
    expectNear(QPointF(0.0, 1.0), r.transform.map(QPointF(1.0, 0.0)) - r.transform.map(QPointF()));

    // The offset of an alignment turns with the text.
    helper.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    r = onlyText(recordsOf(helper, *view));
    expectNear(px(-1.0, 1.0) + QPointF(-size.height(), -(size.width() / 2)), r.devicePosition());
}

// The arc as drawn, in device pixels.
QPainterPath arcOf(const std::vector<PaintRecord>& records)
{
    for (const PaintRecord& r : records) {
        if (r.kind == PaintRecord::Path) {
            return r.transform.map(r.path);
        }
    }
    ADD_FAILURE() << "no arc drawn";
    return QPainterPath();
}

void expectArc(const QPainterPath& arc, const QPointF& from, const QPointF& middle,
               const QPointF& to)
{
    expectNear(from, arc.pointAtPercent(0.0), 0.5);
    expectNear(middle, arc.pointAtPercent(0.5), 0.5);
    expectNear(to, arc.pointAtPercent(1.0), 0.5);
}

TEST(AngleHelpers, RightAngleLabelSitsAtTheArcsMiddle)
{
    auto view = makeMainView();
    const Point2D vertex(0, 0), end1(1, 0), end2(0, 1);
    AngleMainViewHelper helper(&vertex, &end1, &end2, view.get(), QPen(Qt::blue));
    const auto records = recordsOf(helper, *view);
    const double h = std::sqrt(0.5);
    expectArc(arcOf(records), px(1, 0), px(h, h), px(0, 1));

    const PaintRecord label = onlyText(records);
    EXPECT_EQ(QStringLiteral("90.00") + degree, label.text);
    // Bisector up and right: alignment 65, the base line's left end at the anchor.
    expectNear(px(h, h), label.devicePosition());
    EXPECT_EQ(12, label.font.pointSize());
    EXPECT_EQ(QColor(Qt::blue), label.pen.color());

    helper.setFontSize(18);
    EXPECT_EQ(18, onlyText(recordsOf(helper, *view)).font.pointSize());
}

TEST(AngleHelpers, HalfTurnRunsClockwiseAndReads180)
{
    auto view = makeMainView();
    const Point2D vertex(0, 0), end1(1, 0), end2(-1, 0);
    AngleMainViewHelper helper(&vertex, &end1, &end2, view.get(), QPen());
    const auto records = recordsOf(helper, *view);
    expectArc(arcOf(records), px(1, 0), px(0, -1), px(-1, 0));
    const PaintRecord label = onlyText(records);
    EXPECT_EQ(QStringLiteral("180.00") + degree, label.text);
    // Bisector straight down: left end, one line below the anchor (33), in the 12-point
    // label font.
    RecordingPaintDevice device;
    QPainter painter(&device);
    QFont font = painter.font();
    font.setPointSize(12);
    painter.setFont(font);
    expectNear(px(0, -1) + QPointF(0, painter.fontMetrics().height()), label.devicePosition());
}

TEST(AngleHelpers, ReflexAngleIsMeasuredTheShorterWay)
{
    auto view = makeMainView();
    const Point2D vertex(0, 0), end1(1, 0), end2(0, -1);
    const double h = std::sqrt(0.5);

    // The arc helper alone sweeps as measured (270 degrees) in mode 0.
    ArcMainViewHelper arc(&vertex, &end1, &end2, view.get(), QPen(), QBrush());
    expectArc(arcOf(recordsOf(arc, *view)), px(1, 0), px(-h, h), px(0, -1));
    arc.setSweepMode(3);
    expectArc(arcOf(recordsOf(arc, *view)), px(1, 0), px(h, -h), px(0, -1));

    AngleMainViewHelper angle(&vertex, &end1, &end2, view.get(), QPen());
    const auto records = recordsOf(angle, *view);
    expectArc(arcOf(records), px(1, 0), px(h, -h), px(0, -1));
    EXPECT_EQ(QStringLiteral("90.00") + degree, onlyText(records).text);
}

TEST(AngleHelpers, DegenerateArmsDrawNoLabel)
{
    auto view = makeMainView();
    const Point2D vertex(0, 0), end1(1, 0), further(2, 0);
    AngleMainViewHelper sameDirection(&vertex, &end1, &further, view.get(), QPen());
    RecordingPaintDevice device;
    paintOn(&device, sameDirection, *view);
    EXPECT_TRUE(device.texts().isEmpty());

    // An arm of zero length has no direction: nothing at all.
    AngleMainViewHelper zeroArm(&vertex, &vertex, &end1, view.get(), QPen());
    EXPECT_TRUE(recordsOf(zeroArm, *view).empty());
    ArcMainViewHelper zeroArc(&vertex, &end1, &vertex, view.get(), QPen(), QBrush());
    EXPECT_TRUE(recordsOf(zeroArc, *view).empty());
}

} // namespace
} // namespace varnel::test
