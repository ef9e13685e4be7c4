// Slope figures on the profile and mold views, the multiple-slope helpers over profile rows
// and molds, and the mold overlay, checked against a recording paint engine.
#include "shell/HelperTestSupport.h"

#include "support/ScratchSettings.h"

#include "movarin/sections/CrossSectionLhTableRow.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/shell/MoldMoldDetailViewHelper.h"
#include "movarin/shell/MultipleSlopeCrossSectionLhViewHelper.h"
#include "movarin/shell/MultipleSlopeMoldDetailViewHelper.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/SlopeCrossSectionLhViewHelper.h"
#include "movarin/shell/SlopeMoldDetailViewHelper.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItem.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSettings>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class SlopeHelpers : public ScratchSettingsTest {
protected:
    void SetUp() override { QSettings().setValue(settings::fontGlobalSize, 18); }

    // Width and height of `text` in the 18-point label font on the recording device.
    static QSize measured(const QString& text)
    {
        RecordingPaintDevice device;
        QPainter painter(&device);
        QFont font = painter.font();
        font.setPointSize(18);
        painter.setFont(font);
        return QSize(painter.fontMetrics().horizontalAdvance(text), painter.fontMetrics().height());
    }

    std::unique_ptr<CrossSectionLhView> m_lh = makePrimitiveView<CrossSectionLhView>();
    std::unique_ptr<DetailView> m_detail = makePrimitiveView<DetailView>();
};

QPolygonF polylineOf(const std::vector<PaintRecord>& records, std::size_t index = 0)
{
    std::size_t seen = 0;
    for (const PaintRecord& r : records) {
        if (r.kind == PaintRecord::Polyline && seen++ == index) {
            return r.devicePoints();
        }
    }
    ADD_FAILURE() << "no polyline " << index;
    return QPolygonF();
}

// The widget pixel of world point (x, y) on `view`: the plot's margins move and shrink the
// L-H view's picture, the mold view draws where `px` says.
QPointF pxOn(const mvc::view::PrimitiveView& view, double x, double y)
{
    return view.transform().map(QPointF(x, y));
}

std::vector<PaintRecord> textsOf(const std::vector<PaintRecord>& records)
{
    std::vector<PaintRecord> texts;
    for (const PaintRecord& r : records) {
        if (r.kind == PaintRecord::Text) {
            texts.push_back(r);
        }
    }
    return texts;
}

TEST_F(SlopeHelpers, RisingSegmentShowsRunRiseAndRatioOutsideTheTriangle)
{
    const QPointF segment[] = {QPointF(0, 0), QPointF(4, 2)};
    SlopeCrossSectionLhViewHelper onProfile(segment, m_lh.get(), QPen(Qt::magenta), QBrush());
    SlopeMoldDetailViewHelper onMold(segment, m_detail.get(), QPen(Qt::magenta), QBrush());
    const std::pair<std::vector<PaintRecord>, const mvc::view::PrimitiveView*> painted[] = {
        {recordsOf(onProfile, *m_lh), m_lh.get()}, {recordsOf(onMold, *m_detail), m_detail.get()}};
    for (const auto& [records, view] : painted) {
        const auto px = [view = view](double x, double y) { return pxOn(*view, x, y); };
        expectPolygon(polygonOf({px(0, 0), px(4, 0), px(4, 2), px(0, 0)}), polylineOf(records));
        const auto texts = textsOf(records);
        ASSERT_EQ(3u, texts.size());
        EXPECT_EQ(QStringLiteral("4.00"), texts[0].text);
        EXPECT_EQ(QStringLiteral("2.00"), texts[1].text);
        EXPECT_EQ(QStringLiteral("1 : 2.00"), texts[2].text);
        for (const PaintRecord& t : texts) {
            EXPECT_EQ(18, t.font.pointSize());
            EXPECT_EQ(QColor(Qt::magenta), t.pen.color());
        }
        const QSize run = measured(texts[0].text);
        const QSize rise = measured(texts[1].text);
        const QSize ratio = measured(texts[2].text);
        // 36 under the horizontal leg, 129 right of the vertical leg, 66 at the hypotenuse.
        expectNear(px(2, 0) + QPointF(-(run.width() / 2), run.height()), texts[0].devicePosition());
        expectNear(px(4, 1) + QPointF(0, rise.height() / 2), texts[1].devicePosition());
        expectNear(px(2, 1) + QPointF(-ratio.width(), 0), texts[2].devicePosition());
    }
}

TEST_F(SlopeHelpers, LevelOrVerticalSegmentHasNoRatio)
{
    QPointF segment[] = {QPointF(1, 1), QPointF(-3, 1)};
    SlopeCrossSectionLhViewHelper helper(segment, m_lh.get(), QPen(), QBrush());
    const auto px = [this](double x, double y) { return pxOn(*m_lh, x, y); };
    auto texts = textsOf(recordsOf(helper, *m_lh));
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(QStringLiteral("4.00"), texts[0].text);
    EXPECT_EQ(QStringLiteral("0.00"), texts[1].text);
    // Level: the run label sits on the leg (68); leftwards the rise label goes left (130).
    const QSize run = measured(texts[0].text);
    const QSize rise = measured(texts[1].text);
    expectNear(px(-1, 1) - QPointF(run.width() / 2, 0), texts[0].devicePosition());
    expectNear(px(-3, 1) + QPointF(-rise.width(), rise.height() / 2), texts[1].devicePosition());

    // The segment is read at every paint.
    segment[1] = QPointF(1, -2);
    texts = textsOf(recordsOf(helper, *m_lh));
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(QStringLiteral("0.00"), texts[0].text);
    EXPECT_EQ(QStringLiteral("3.00"), texts[1].text);
}

TEST_F(SlopeHelpers, CoincidentPointsDrawNothing)
{
    const QPointF segment[] = {QPointF(2, 1), QPointF(2 + 1e-13, 1 - 1e-13)};
    SlopeMoldDetailViewHelper helper(segment, m_detail.get(), QPen(), QBrush());
    EXPECT_TRUE(recordsOf(helper, *m_detail).empty());
}

TEST_F(SlopeHelpers, MissingFontSettingKeepsThePaintersFont)
{
    QSettings().remove(settings::fontGlobalSize);
    const QPointF segment[] = {QPointF(0, 0), QPointF(1, 1)};
    SlopeCrossSectionLhViewHelper helper(segment, m_lh.get(), QPen(), QBrush());
    EXPECT_EQ(QFont().pointSize(), textsOf(recordsOf(helper, *m_lh)).front().font.pointSize());
}

TEST_F(SlopeHelpers, ProfileSlopesSpanDisabledRows)
{
    std::vector<CrossSectionLhTableRow> rows{{true, 0, 0}, {false, 1, 5}, {true, 3, 1}};
    MultipleSlopeCrossSectionLhViewHelper helper(&rows, m_lh.get(), QPen(Qt::green));
    const auto px = [this](double x, double y) { return pxOn(*m_lh, x, y); };
    const auto records = recordsOf(helper, *m_lh);
    expectPolygon(polygonOf({px(0, 0), px(3, 0), px(3, 1), px(0, 0)}), polylineOf(records));
    QStringList texts;
    for (const PaintRecord& t : textsOf(records)) {
        texts << t.text;
    }
    EXPECT_EQ(QStringList({"3.00", "1.00", "1 : 3.00"}), texts);

    rows[2].enabled = false;
    EXPECT_TRUE(recordsOf(helper, *m_lh).empty());
    rows.clear();
    EXPECT_TRUE(recordsOf(helper, *m_lh).empty());
}

TEST_F(SlopeHelpers, MoldSlopesJoinConsecutiveMoldPoints)
{
    MoldItem item;
    item.mold().setLH({-2.0, 0.0, 2.0}, {0.0, 1.0, 0.0});
    MultipleSlopeMoldDetailViewHelper helper(&item, m_detail.get(), QPen());
    const auto records = recordsOf(helper, *m_detail);
    expectPolygon(polygonOf({px(-2, 0), px(0, 0), px(0, 1), px(-2, 0)}), polylineOf(records, 0));
    expectPolygon(polygonOf({px(0, 1), px(2, 1), px(2, 0), px(0, 1)}), polylineOf(records, 1));
    EXPECT_EQ(6u, textsOf(records).size());

    item.mold().setLH({1.0}, {1.0});
    EXPECT_TRUE(recordsOf(helper, *m_detail).empty());
    MultipleSlopeMoldDetailViewHelper noItem(nullptr, m_detail.get(), QPen());
    EXPECT_TRUE(recordsOf(noItem, *m_detail).empty());
}

TEST_F(SlopeHelpers, MoldOverlayDrawsBaseCrossAndOutlineWithoutGrid)
{
    MoldItem item;
    MoldMoldDetailViewHelper helper(&item, m_detail.get());
    EXPECT_TRUE(recordsOf(helper, *m_detail).empty()) << "an empty mold";
    MoldMoldDetailViewHelper noItem(nullptr, m_detail.get());
    EXPECT_TRUE(recordsOf(noItem, *m_detail).empty());

    item.mold().setLH({-1.0, 0.0, 1.0}, {1.0, 0.0, 1.0});
    item.mold().setBaseL(0.5);
    item.mold().setBaseH(-0.5);
    const auto records = recordsOf(helper, *m_detail);
    std::vector<QLineF> dashed;
    for (const PaintRecord& r : records) {
        EXPECT_NE(QColor(Qt::lightGray), r.pen.color()) << "no grid line";
        if (r.kind == PaintRecord::Lines) {
            EXPECT_EQ(Qt::DashLine, r.pen.style());
            const QPolygonF ends = r.devicePoints();
            for (int i = 0; i + 1 < ends.size(); i += 2) {
                dashed.emplace_back(ends[i], ends[i + 1]);
            }
        }
    }
    ASSERT_EQ(2u, dashed.size());
    EXPECT_NEAR(px(0, -0.5).y(), dashed[0].y1(), 1e-9);
    EXPECT_NEAR(px(0, -0.5).y(), dashed[0].y2(), 1e-9);
    EXPECT_NEAR(px(0.5, 0).x(), dashed[1].x1(), 1e-9);
    EXPECT_NEAR(px(0.5, 0).x(), dashed[1].x2(), 1e-9);

    std::vector<PaintRecord> outlines;
    for (const PaintRecord& r : records) {
        if (r.kind == PaintRecord::Polyline) {
            outlines.push_back(r);
        }
    }
    ASSERT_EQ(1u, outlines.size());
    EXPECT_EQ(2.0, outlines[0].pen.widthF());
    EXPECT_EQ(QColor(Qt::black), outlines[0].pen.color());
    expectPolygon(polygonOf({px(-1, 1), px(0, 0), px(1, 1)}), outlines[0].devicePoints());
}

} // namespace
} // namespace varnel::test
