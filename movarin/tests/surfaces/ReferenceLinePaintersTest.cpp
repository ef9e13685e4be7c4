// The painters of the reference-line tools: the endless line through a vertex, checked
// against the points where it crosses the border of the visible rectangle (found side by
// side, independently of the painter's parameter sort), and the grid turned to a direction,
// whose lines are counted and checked for direction and spacing on a recording device.
#include "shell/HelperTestSupport.h"

#include "movarin/surfaces/GridMainViewHelperT.h"
#include "movarin/surfaces/LineMainViewHelperT.h"

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace varnel::test {
namespace {

using tin::core::Point;
using tin::core::Point2D;
using Line = LineMainViewHelperT<Point, Point2D>;
using Grid = GridMainViewHelperT<Point, Point2D>;

std::vector<PaintRecord> linesOf(const std::vector<PaintRecord>& records)
{
    std::vector<PaintRecord> lines;
    for (const PaintRecord& r : records) {
        EXPECT_EQ(r.kind, PaintRecord::Lines);
        if (r.kind == PaintRecord::Lines) {
            lines.push_back(r);
        }
    }
    return lines;
}

// The points where the line through p along d meets the border of the square [-2, 2]^2 (the
// test view's visible rectangle), side by side; corners once.
std::vector<QPointF> borderCrossings(const QPointF& p, const QPointF& d)
{
    std::vector<QPointF> found;
    const auto add = [&found](const QPointF& q) {
        for (const QPointF& f : found) {
            if (std::hypot(f.x() - q.x(), f.y() - q.y()) < 1e-9) {
                return;
            }
        }
        found.push_back(q);
    };
    for (const double side : {-2.0, 2.0}) {
        if (d.x() != 0.0) {
            const double y = p.y() + (side - p.x()) / d.x() * d.y();
            if (y >= -2.0 - 1e-12 && y <= 2.0 + 1e-12) {
                add(QPointF(side, y));
            }
        }
        if (d.y() != 0.0) {
            const double x = p.x() + (side - p.y()) / d.y() * d.x();
            if (x >= -2.0 - 1e-12 && x <= 2.0 + 1e-12) {
                add(QPointF(x, side));
            }
        }
    }
    return found;
}

void expectEnds(const PaintRecord& line, const QPointF& a, const QPointF& b)
{
    const QPolygonF ends = line.devicePoints();
    ASSERT_EQ(ends.size(), 2);
    const bool straight = std::hypot(ends[0].x() - a.x(), ends[0].y() - a.y()) < 1e-6;
    expectNear(straight ? a : b, ends[0]);
    expectNear(straight ? b : a, ends[1]);
}

TEST(ReferenceLinePainters, AnAxisParallelLineSpansTheVisibleRectangle)
{
    auto view = makeMainView();
    const Point vertex(0.5, 0.25, 7.0);
    Point2D direction(-3.0, 0.0);
    Line line(&vertex, &direction, view.get(), QPen(Qt::magenta, 2));
    std::vector<PaintRecord> lines = linesOf(recordsOf(line, *view));
    ASSERT_EQ(lines.size(), 1u);
    expectEnds(lines[0], px(-2.0, 0.25), px(2.0, 0.25));
    EXPECT_EQ(lines[0].pen.color(), QColor(Qt::magenta));
    EXPECT_EQ(lines[0].pen.widthF(), 2.0);

    direction = Point2D(0.0, 0.5);
    lines = linesOf(recordsOf(line, *view));
    ASSERT_EQ(lines.size(), 1u);
    expectEnds(lines[0], px(0.5, -2.0), px(0.5, 2.0));

    // A vertex outside the view still gives the line where it crosses the view.
    const Point outside(-9.0, 1.5, 0.0);
    Line far(&outside, &direction, view.get(), QPen());
    direction = Point2D(1.0, 0.0);
    lines = linesOf(recordsOf(far, *view));
    ASSERT_EQ(lines.size(), 1u);
    expectEnds(lines[0], px(-2.0, 1.5), px(2.0, 1.5));
}

TEST(ReferenceLinePainters, ASlantingLineEndsWhereItCrossesTheBorder)
{
    auto view = makeMainView();
    for (const QPointF& at : {QPointF(0.5, 0.25), QPointF(-1.7, 1.2), QPointF(0.0, 0.0)}) {
        for (int degrees = 1; degrees < 360; degrees += 7) {
            if (degrees % 90 == 0) {
                continue;
            }
            const double r = degrees * M_PI / 180.0;
            // Any length: the line does not depend on it.
            const QPointF d(0.3 * std::cos(r), 0.3 * std::sin(r));
            const Point vertex(at.x(), at.y(), 0.0);
            const Point2D direction(d.x(), d.y());
            Line line(&vertex, &direction, view.get(), QPen());
            const std::vector<PaintRecord> lines = linesOf(recordsOf(line, *view));
            ASSERT_EQ(lines.size(), 1u);
            const std::vector<QPointF> ends = borderCrossings(at, d);
            ASSERT_EQ(ends.size(), 2u) << degrees;
            SCOPED_TRACE(testing::Message() << "through " << at.x() << ", " << at.y() << " at "
                                            << degrees << " degrees");
            expectEnds(lines[0], px(ends[0].x(), ends[0].y()), px(ends[1].x(), ends[1].y()));
        }
    }
}

TEST(ReferenceLinePainters, NoDirectionOrNothingFiniteDrawsNoLine)
{
    auto view = makeMainView();
    Point vertex(0.5, 0.25, 0.0);
    Point2D direction(0.0, 0.0);
    Line line(&vertex, &direction, view.get(), QPen());
    Grid grid(&vertex, &direction, view.get(), QPen());
    EXPECT_TRUE(recordsOf(line, *view).empty());
    EXPECT_TRUE(recordsOf(grid, *view).empty());
    direction = Point2D(NAN, 1.0);
    EXPECT_TRUE(recordsOf(line, *view).empty());
    EXPECT_TRUE(recordsOf(grid, *view).empty());
    direction = Point2D(1.0, 1.0);
    vertex.setPosition(INFINITY, 0.0);
    EXPECT_TRUE(recordsOf(line, *view).empty());
    EXPECT_TRUE(recordsOf(grid, *view).empty());
    Line nothing(nullptr, &direction, view.get(), QPen());
    EXPECT_TRUE(recordsOf(nothing, *view).empty());
}

// The grid's lines: (2 k1 + 1) across the direction and (2 k2 + 1) along it, k = ceil(R / s)
// with R the vertex's farthest screen distance from a corner of the view; the lines across
// are s1 apart along the direction and long enough to reach k2 s2 either side, and the other
// way round.
TEST(ReferenceLinePainters, TheGridCoversTheViewWithLinesAlongAndAcrossTheDirection)
{
    auto view = makeMainView();
    const Point vertex(0.5, 0.25, 3.0);
    for (const QPointF& d : {QPointF(1.0, 0.0), QPointF(0.0, -2.0), QPointF(3.0, 4.0), QPointF(-1.0, 0.2)}) {
        for (const auto& [s1, s2] : {std::pair<double, double>(25.0, 25.0), {10.0, 40.0}}) {
            SCOPED_TRACE(testing::Message() << "direction " << d.x() << ", " << d.y() << ", spacings "
                                            << s1 << ", " << s2);
            const Point2D direction(d.x(), d.y());
            Grid grid(&vertex, &direction, view.get(), QPen(Qt::magenta, 2));
            if (s1 != 25.0) {
                grid.setSpacings(s1, s2);
            }
            const std::vector<PaintRecord> lines = linesOf(recordsOf(grid, *view));

            const QPointF v = px(0.5, 0.25);
            double reach = 0.0;
            for (const QPointF& corner : {QPointF(0, 0), QPointF(200, 0), QPointF(0, 200), QPointF(200, 200)}) {
                reach = std::max(reach, std::hypot(corner.x() - v.x(), corner.y() - v.y()));
            }
            const int k1 = static_cast<int>(std::ceil(reach / s1));
            const int k2 = static_cast<int>(std::ceil(reach / s2));
            ASSERT_EQ(static_cast<int>(lines.size()), (2 * k1 + 1) + (2 * k2 + 1));

            // On the screen y grows downwards.
            const QPointF a = QPointF(d.x(), -d.y()) / std::hypot(d.x(), d.y());
            const QPointF b(-a.y(), a.x());
            const auto dot = [](const QPointF& p, const QPointF& q) { return p.x() * q.x() + p.y() * q.y(); };
            std::vector<double> acrossOffsets;
            std::vector<double> alongOffsets;
            for (const PaintRecord& r : lines) {
                const QPolygonF ends = r.devicePoints();
                const QPointF e = ends[1] - ends[0];
                const QPointF middle = (ends[0] + ends[1]) / 2.0;
                const double length = std::hypot(e.x(), e.y());
                if (std::abs(dot(e, a)) < 1e-6 * length) {
                    EXPECT_NEAR(length, 2 * k2 * s2, 1e-6);
                    EXPECT_NEAR(dot(middle - v, b), 0.0, 1e-6);
                    acrossOffsets.push_back(dot(middle - v, a));
                } else {
                    EXPECT_NEAR(std::abs(dot(e, b)), 0.0, 1e-6 * length) << "neither along nor across";
                    EXPECT_NEAR(length, 2 * k1 * s1, 1e-6);
                    EXPECT_NEAR(dot(middle - v, a), 0.0, 1e-6);
                    alongOffsets.push_back(dot(middle - v, b));
                }
            }
            ASSERT_EQ(static_cast<int>(acrossOffsets.size()), 2 * k1 + 1);
            ASSERT_EQ(static_cast<int>(alongOffsets.size()), 2 * k2 + 1);
            std::sort(acrossOffsets.begin(), acrossOffsets.end());
            std::sort(alongOffsets.begin(), alongOffsets.end());
            for (int i = 0; i <= 2 * k1; ++i) {
                EXPECT_NEAR(acrossOffsets[i], (i - k1) * s1, 1e-6);
            }
            for (int j = 0; j <= 2 * k2; ++j) {
                EXPECT_NEAR(alongOffsets[j], (j - k2) * s2, 1e-6);
            }
        }
    }
}

// A vertex far off the screen of a view zoomed far in (k1 and k2 beyond any int): the lines
// that cross the view are all drawn, in their places of the full grid, and few others.
TEST(ReferenceLinePainters, AFarVertexGivesTheGridLinesOverTheViewOnly)
{
    auto view = makeMainView();
    const Point vertex(1.0e9, -3.0e8, 0.0);
    const Point2D direction(3.0, 4.0);
    Grid grid(&vertex, &direction, view.get(), QPen());
    const std::vector<PaintRecord> lines = linesOf(recordsOf(grid, *view));

    const QPointF v = px(1.0e9, -3.0e8);
    const QPointF a = QPointF(3.0, -4.0) / 5.0;
    const QPointF b(-a.y(), a.x());
    const auto dot = [](const QPointF& p, const QPointF& q) { return p.x() * q.x() + p.y() * q.y(); };
    // The offsets of the grid lines that cross the 200 x 200 view, counted independently.
    const auto crossing = [&](const QPointF& axis) {
        double low = INFINITY, high = -INFINITY;
        for (const QPointF& corner : {QPointF(0, 0), QPointF(200, 0), QPointF(0, 200), QPointF(200, 200)}) {
            low = std::min(low, dot(corner - v, axis));
            high = std::max(high, dot(corner - v, axis));
        }
        return std::make_pair(std::ceil(low / 25.0), std::floor(high / 25.0));
    };
    const auto [firstI, lastI] = crossing(a);
    const auto [firstJ, lastJ] = crossing(b);
    ASSERT_LT(lines.size(), 40u);

    std::set<double> across;
    std::set<double> along;
    for (const PaintRecord& r : lines) {
        const QPolygonF ends = r.devicePoints();
        const QPointF e = ends[1] - ends[0];
        const QPointF middle = (ends[0] + ends[1]) / 2.0;
        const bool isAcross = std::abs(dot(e, a)) < 1e-6 * std::hypot(e.x(), e.y());
        const double offset = dot(middle - v, isAcross ? a : b) / 25.0;
        EXPECT_NEAR(offset, std::round(offset), 1e-3) << "a line off the full grid's places";
        (isAcross ? across : along).insert(std::round(offset));
        // Long enough to cross the whole view.
        EXPECT_GE(std::hypot(e.x(), e.y()), 200.0 * std::sqrt(2.0) - 25.0);
    }
    for (double i = firstI; i <= lastI; ++i) {
        EXPECT_EQ(across.count(i), 1u) << "line across at " << i;
    }
    for (double j = firstJ; j <= lastJ; ++j) {
        EXPECT_EQ(along.count(j), 1u) << "line along at " << j;
    }
    EXPECT_LE(across.size(), static_cast<std::size_t>(lastI - firstI + 3));
    EXPECT_LE(along.size(), static_cast<std::size_t>(lastJ - firstJ + 3));
}

TEST(ReferenceLinePainters, TheGridFollowsTheDirectionOnATurnedView)
{
    auto view = makeMainView();
    view->setAngleDegree(30.0);
    view->updateView();
    const Point vertex(0.5, 0.25, 0.0);
    const Point2D direction(1.0, 1.0);
    Grid grid(&vertex, &direction, view.get(), QPen());
    Line line(&vertex, &direction, view.get(), QPen());
    const std::vector<PaintRecord> drawn = linesOf(recordsOf(line, *view));
    ASSERT_EQ(drawn.size(), 1u);
    const QPolygonF onScreen = drawn[0].devicePoints();
    const QPointF along = onScreen[1] - onScreen[0];
    int parallel = 0;
    for (const PaintRecord& r : linesOf(recordsOf(grid, *view))) {
        const QPolygonF ends = r.devicePoints();
        const QPointF e = ends[1] - ends[0];
        const double cross = along.x() * e.y() - along.y() * e.x();
        parallel += std::abs(cross) < 1e-6 * std::hypot(along.x(), along.y()) * std::hypot(e.x(), e.y());
    }
    EXPECT_GT(parallel, 3) << "the grid's lines along the direction lie along the drawn line";
}

} // namespace
} // namespace varnel::test
