// Point picking of the path editors: the strict inside test against Qt's polygon test, and
// the nearest pick against a brute-force search over every point, on both kinds of view.
#include "movarin/sections/PointPicking.h"

#include "brask/core/View.h"
#include "movarin/surfaces/DetailView.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"

#include <QPolygonF>
#include <QTransform>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

namespace varnel::test {
namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double INF = std::numeric_limits<double>::infinity();

std::vector<std::size_t> inside(const std::vector<QPointF>& points,
                                const tin::core::Polygon& polygon)
{
    return pointIndicesInPolygon(
        [&](std::size_t i) { return tin::core::Point(points[i].x(), points[i].y()); },
        points.size(), polygon);
}

tin::core::Polygon polygonOf(const std::vector<QPointF>& corners)
{
    tin::core::Polygon polygon;
    for (const QPointF& c : corners) {
        polygon.addPoint(tin::core::Point2D(c.x(), c.y(), -1));
    }
    return polygon;
}

/// A main view where the world point (x, y) lies on the widget point (100 + 50 x, 100 - 50 y).
std::unique_ptr<mvc::core::View> makeMainView()
{
    auto view = std::make_unique<mvc::core::View>();
    view->resize(200, 200);
    view->fit(QRectF(-2.0, -2.0, 4.0, 4.0));
    return view;
}

/// The earliest point nearest to the click in squared pixels, over every finite point.
template <class ViewT>
std::size_t bruteForceNearest(const std::vector<QPointF>& points, const QPoint& click,
                              const ViewT& view)
{
    std::size_t best = points.size();
    double bestDistance = INF;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!std::isfinite(points[i].x()) || !std::isfinite(points[i].y())) {
            continue;
        }
        const QPointF d = view.conv(points[i]) - QPointF(click);
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

template <class ViewT>
std::size_t pick(const std::vector<QPointF>& points, const QPoint& click, const ViewT* view)
{
    return findNearestPointIndex(
        [&](const tin::core::Polygon& square) { return inside(points, square); },
        [&](std::size_t i) { return std::vector<QPointF>{points[i]}; }, "Empty points.", points,
        click, view);
}

std::string failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const common::exception::RuntimeException& e) {
        return e.what();
    }
    return "no exception";
}

TEST(PointIndicesInPolygonTest, AgreesWithQtInsideIsStrictAndSkipsNonFinitePoints)
{
    // A rectangle turned by 30 degrees, in both orientations, against Qt's odd-even test
    // (random points do not land on a side).
    QPolygonF rectangle =
        QTransform().translate(3, -1).rotate(30).map(QPolygonF(QRectF(-2, -1, 4, 2)));
    rectangle.removeLast(); // Qt closes the ring with the first corner again
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-4, 8);
    std::vector<QPointF> points;
    for (int i = 0; i < 400; ++i) {
        points.emplace_back(coordinate(random), coordinate(random));
    }
    std::vector<std::size_t> expected;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (rectangle.containsPoint(points[i], Qt::OddEvenFill)) {
            expected.push_back(i);
        }
    }
    ASSERT_GT(expected.size(), 20u);
    EXPECT_EQ(inside(points, polygonOf({rectangle.begin(), rectangle.end()})), expected);
    EXPECT_EQ(inside(points, polygonOf({rectangle.rbegin(), rectangle.rend()})), expected);

    // On a side or a corner is outside; a side of zero length or zero width selects nothing.
    const std::vector<QPointF> square{{1, 0}, {2, 1}, {0, 0}, {1, 1}, {1, 2}, {0.5, 1.999}};
    EXPECT_EQ(inside(square, polygonOf({{0, 0}, {0, 2}, {2, 2}, {2, 0}})),
              (std::vector<std::size_t>{3, 5}));
    EXPECT_TRUE(inside(square, polygonOf({{0, 0}, {0, 2}, {2, 2}, {2, 2}, {2, 0}})).empty());
    EXPECT_TRUE(inside(square, polygonOf({{1, 0}, {1, 2}, {1, 2}, {1, 0}})).empty());
    EXPECT_TRUE(inside(square, polygonOf({{0, 0}, {2, 2}})).empty());
    EXPECT_TRUE(inside(square, tin::core::Polygon()).empty());

    // Points that are not finite are never inside; a band that is not finite holds nothing.
    const tin::core::Polygon band = polygonOf({{0, 0}, {0, 2}, {2, 2}, {2, 0}});
    EXPECT_EQ(inside({{NaN, 0}, {0, INF}, {1, 1}, {NaN, NaN}}, band),
              (std::vector<std::size_t>{2}));
    EXPECT_TRUE(inside({{1, 1}}, polygonOf({{-9, -9}, {-9, NaN}, {9, 9}, {9, -9}})).empty());
}

TEST(FindNearestPointIndexTest, MatchesBruteForceFromNearAndAMillionPixelsAway)
{
    const auto view = makeMainView();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-3, 3);
    std::vector<QPointF> points{{NaN, 0.5}, {0.1, INF}};
    for (int i = 0; i < 60; ++i) {
        points.emplace_back(coordinate(random), coordinate(random));
    }
    const QPoint clicks[] = {{100, 100}, {13, 171}, {-40, 420}, {1000000, 100},
                             {100, -1000000}, {-1000000, 1000000}};
    for (const QPoint& click : clicks) {
        SCOPED_TRACE(testing::Message() << click.x() << ", " << click.y());
        EXPECT_EQ(pick(points, click, view.get()), bruteForceNearest(points, click, *view));
    }
}

TEST(FindNearestPointIndexTest, TiesGoToTheEarlierCandidateAndNaNNeverWins)
{
    const auto view = makeMainView();
    // 10 pixels right and left of the click.
    const std::vector<QPointF> points{{0.2, 0.0}, {-0.2, 0.0}};
    const QPoint click(100, 100);
    auto byOrder = [&](bool reversed) {
        return [&points, reversed](const tin::core::Polygon& square) {
            auto found = inside(points, square);
            if (reversed) {
                std::reverse(found.begin(), found.end());
            }
            return found;
        };
    };
    auto position = [&](std::size_t i) { return std::vector<QPointF>{points[i]}; };
    EXPECT_EQ(findNearestPointIndex(byOrder(false), position, "", points, click, view.get()), 0u);
    EXPECT_EQ(findNearestPointIndex(byOrder(true), position, "", points, click, view.get()), 1u);

    // A finder that hands out every point, NaN ones first: they are no candidates.
    const std::vector<QPointF> withNaN{{NaN, NaN}, {0.0, NaN}, {1.0, 1.0}, {0.5, 0.0}};
    auto all = [&](const tin::core::Polygon&) { return std::vector<std::size_t>{0, 1, 2, 3}; };
    auto at = [&](std::size_t i) { return std::vector<QPointF>{withNaN[i]}; };
    EXPECT_EQ(findNearestPointIndex(all, at, "", withNaN, click, view.get()), 3u);
}

TEST(FindNearestPointIndexTest, ThrowsTheCallersMessageWhenNothingCanBePicked)
{
    const auto view = makeMainView();
    const QPoint click(100, 100);
    const std::vector<QPointF> none;
    EXPECT_EQ(failureOf([&] { pick(none, click, view.get()); }), "Empty points.");
    const std::vector<QPointF> nonFinite{{NaN, 0}, {INF, -INF}, {0, NaN}};
    EXPECT_EQ(failureOf([&] { pick(nonFinite, click, view.get()); }), "Empty points.");
    // A finder that never finds anything (all but the last vertex, of one vertex) ends too.
    const std::vector<QPointF> one{{1e6, -1e6}};
    EXPECT_EQ(failureOf([&] {
                  findNearestPointIndex(
                      [](const tin::core::Polygon&) { return std::vector<std::size_t>(); },
                      [&](std::size_t i) { return std::vector<QPointF>{one[i]}; },
                      "Empty MoldItem.", one, click, view.get());
              }),
              "Empty MoldItem.");
}

TEST(FindNearestPointIndexTest, WorksOnTheMoldDetailView)
{
    // Mold points (L, H) on a stretched detail view: heights drawn five times larger.
    DetailView detail;
    detail.resize(300, 200);
    detail.setCenterPoint(QPointF(0.0, 1.0));
    detail.setScale(20.0);
    detail.setRelativeScaleY(5.0);
    detail.updateTransform();
    const std::vector<QPointF> mold{{-4.5, -1.0}, {-1.5, 1.0}, {1.5, 1.0}, {4.5, -1.0}};
    for (const QPoint click :
         {QPoint(150, 100), QPoint(60, 160), QPoint(299, 0), QPoint(-5000, 7)}) {
        SCOPED_TRACE(testing::Message() << click.x() << ", " << click.y());
        EXPECT_EQ(pick(mold, click, &detail), bruteForceNearest(mold, click, detail));
    }
}

} // namespace
} // namespace varnel::test
