// The nearest pick around a click: its growing squares, ties, far and missing candidates,
// checked against a brute-force search over every point.
#include "movarin/survey/PickNearest.h"

#include "brask/core/View.h"
#include "common/exception/RuntimeException.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <random>

namespace varnel::test {
namespace {

using PointPtr = std::shared_ptr<tin::core::Point>;

/// A main view where the world point (x, y) lies on the widget point (100 + 50 x, 100 - 50 y).
std::unique_ptr<mvc::core::View> makeView()
{
    auto view = std::make_unique<mvc::core::View>();
    view->resize(200, 200);
    view->fit(QRectF(-2.0, -2.0, 4.0, 4.0));
    return view;
}

tin::core::PointSet setOf(std::initializer_list<tin::core::Point> points)
{
    tin::core::PointSet set;
    for (const tin::core::Point& p : points) {
        set.addPoint(std::make_shared<tin::core::Point>(p));
    }
    return set;
}

TEST(PickNearestTest, SquaresDoubleUntilAHitThenWidenOnce)
{
    const auto view = makeView();
    const tin::core::PointSet set = setOf({{0.2, 0.0, 1.0}}); // 10 pixels right of the click
    const QPoint click(100, 100);
    std::vector<double> halfSizes;
    const PointPtr picked = pickNearest(
        [&](const tin::core::PointSet& s, const tin::core::Polygon& outline) {
            // Corner 2 of the square is the click + (h, h).
            halfSizes.push_back(view->conv(QPointF(outline.points()[2].x(),
                                                   outline.points()[2].y())).x()
                                - click.x());
            return s.findPointsInPolygon(outline);
        },
        &pointPosition, "none", set, click, view.get());
    ASSERT_EQ(halfSizes.size(), 5u);
    const double expected[] = {2, 4, 8, 16, 23};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(halfSizes[i], expected[i], 1e-6) << i;
    }
    EXPECT_EQ(picked, set.allPoints()[0]);

}

TEST(PickNearestTest, OfEqualDistancesTheFirstListedWins)
{
    const auto view = makeView();
    const tin::core::PointSet set = setOf({{0.2, 0.0, 1.0}, {-0.2, 0.0, 2.0}});
    auto byX = [](bool ascending) {
        return [ascending](const tin::core::PointSet& s, const tin::core::Polygon& outline) {
            auto found = s.findPointsInPolygon(outline);
            std::sort(found.begin(), found.end(), [ascending](const PointPtr& a, const PointPtr& b) {
                return ascending ? a->x() < b->x() : a->x() > b->x();
            });
            return found;
        };
    };
    EXPECT_EQ(pickNearest(byX(true), &pointPosition, "", set, QPoint(100, 100), view.get())->x(),
              -0.2);
    EXPECT_EQ(pickNearest(byX(false), &pointPosition, "", set, QPoint(100, 100), view.get())->x(),
              0.2);
}

TEST(PickNearestTest, FarAndMissingCandidatesEndTheSearch)
{
    const auto view = makeView();
    // A million pixels to the right of the view.
    const tin::core::PointSet far = setOf({{20000.0, 0.0, 5.0}});
    int searches = 0;
    const PointPtr found = pickNearest(
        [&](const tin::core::PointSet& s, const tin::core::Polygon& outline) {
            ++searches;
            return s.findPointsInPolygon(outline);
        },
        &pointPosition, "", far, QPoint(100, 100), view.get());
    EXPECT_EQ(found->x(), 20000.0);
    EXPECT_LE(searches, 22);

    // A finder that never finds anything ends with the error text once the square covers
    // the set.
    searches = 0;
    try {
        pickNearest(
            [&](const tin::core::PointSet&, const tin::core::Polygon&) {
                ++searches;
                return std::vector<PointPtr>();
            },
            &pointPosition, "Nothing to pick.", far, QPoint(100, 100), view.get());
        ADD_FAILURE() << "no exception";
    } catch (const common::exception::RuntimeException& e) {
        EXPECT_STREQ(e.what(), "Nothing to pick.");
    }
    EXPECT_LE(searches, 22);

    const tin::core::PointSet empty;
    try {
        pickNearestPoint(empty, QPoint(100, 100), view.get());
        ADD_FAILURE() << "no exception";
    } catch (const common::exception::RuntimeException& e) {
        EXPECT_STREQ(e.what(), "Empty PointSet.");
    }

    try {
        pointPosition(far, far.allPoints(), 1);
        ADD_FAILURE() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "invalid vector<T> subscript");
    }
}

TEST(PickNearestTest, PicksWhatABruteForceSearchPicksOnARotatedView)
{
    const auto view = makeView();
    view->setAngleDegree(30.0);
    view->updateView();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-2.5, 2.5);
    tin::core::PointSet set;
    for (int i = 0; i < 300; ++i) {
        set.addPoint(std::make_shared<tin::core::Point>(coordinate(random), coordinate(random),
                                                        static_cast<double>(i)));
    }
    std::uniform_int_distribution<int> pixel(-150, 350);
    for (int k = 0; k < 40; ++k) {
        const QPoint click(pixel(random), pixel(random));
        double best = std::numeric_limits<double>::max();
        for (const PointPtr& p : set.allPoints()) {
            const QPointF d = view->conv(QPointF(p->x(), p->y())) - QPointF(click);
            best = std::min(best, d.x() * d.x() + d.y() * d.y());
        }
        const PointPtr picked = pickNearestPoint(set, click, view.get());
        const QPointF d = view->conv(QPointF(picked->x(), picked->y())) - QPointF(click);
        EXPECT_EQ(d.x() * d.x() + d.y() * d.y(), best) << click.x() << "," << click.y();
    }
}

} // namespace
} // namespace varnel::test
