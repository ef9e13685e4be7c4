#include "orlin/core/Breakline.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/util/PointSetModifier.h"

#include "TinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace tin::core;
using namespace tin::util;
using namespace tintest;

TEST(PointSetModifier, HullRegionUsesTheSetsOwnCornerPoints)
{
    PointSet set;
    std::vector<PointPtr> corners{pt(0, 0, 1.0), pt(4, 0, 2.0), pt(4, 3, 3.0), pt(0, 3, 4.0)};
    for (auto const& p : corners) {
        set.addPoint(p);
    }
    auto onSide = pt(2, 0, 5.0);
    auto inner = pt(1, 1, 6.0);
    set.addPoint(onSide);
    set.addPoint(inner);

    PointSet prepared = PointSetModifier::createRegion(set);
    EXPECT_TRUE(set.allRegions().empty()); // the argument is left alone
    ASSERT_EQ(prepared.allRegions().size(), 1u);
    auto ring = prepared.allRegions().front();
    EXPECT_EQ(ring->segmentCount(), 4); // the collinear side point is no corner
    for (auto const& p : corners) {
        EXPECT_TRUE(ring->contains(p.get()));
    }
    EXPECT_FALSE(ring->contains(onSide.get()));
    EXPECT_EQ(prepared.allPoints().size(), 6u);
}

TEST(PointSetModifier, CollinearSetGetsNoRegion)
{
    PointSet line;
    for (int i = 0; i < 5; ++i) {
        line.addPoint(pt(i, 2.0 * i));
    }
    EXPECT_TRUE(PointSetModifier::createRegion(line).allRegions().empty());

    PointSet twoPoints;
    twoPoints.addPoint(pt(0, 0));
    twoPoints.addPoint(pt(0, 0));
    twoPoints.addPoint(pt(1, 1));
    EXPECT_TRUE(PointSetModifier::createRegion(twoPoints).allRegions().empty());
    EXPECT_TRUE(PointSetModifier::createRegion(PointSet()).allRegions().empty());
}

TEST(PointSetModifier, BreaklinesOnRegionOrHoleSidesAreDropped)
{
    PointSet set;
    auto a = pt(0, 0), b = pt(10, 0), c = pt(10, 10), d = pt(0, 10);
    auto h1 = pt(4, 4), h2 = pt(6, 4), h3 = pt(5, 6), inner = pt(2, 2);
    for (auto const& p : {a, b, c, d, h1, h2, h3, inner}) {
        set.addPoint(p);
    }
    set.addRegion(std::make_shared<PointRing>(std::vector<PointPtr>{a, b, c, d, a}));
    set.addHole(std::make_shared<PointRing>(std::vector<PointPtr>{h1, h2, h3, h1}));
    auto onRegion = std::make_shared<Breakline>(b, a);
    auto onHole = std::make_shared<Breakline>(h3, h2);
    auto kept = std::make_shared<Breakline>(inner, h1);
    auto diagonal = std::make_shared<Breakline>(a, c);
    for (auto const& bl : {onRegion, onHole, kept, diagonal}) {
        set.addBreakline(bl, true);
    }

    PointSet clean = PointSetModifier::cleanUpBreaklines(set);
    EXPECT_EQ(set.allBreaklines().size(), 4u);
    EXPECT_EQ(clean.allBreaklines().size(), 2u);
    EXPECT_TRUE(clean.findBreaklinesFromPoint(h3).empty());
    EXPECT_TRUE(clean.findBreaklinesFromPoint(b).empty());
    EXPECT_EQ(clean.findBreaklinesFromPoint(inner).size(), 1u);
    EXPECT_EQ(clean.findBreaklinesFromPoint(c).size(), 1u);
}

namespace {

// The hull's defining properties, checked against every point: each corner a strict turn
// the way the ring runs, no point beyond a side, and at each corner the first object of
// the list there. (A ring keeps a canonical start and direction, not an orientation.)
void expectHullOf(std::vector<PointPtr> const& points, std::shared_ptr<PointRing> const& ring)
{
    ASSERT_TRUE(ring);
    std::vector<PointPtr> corners = ring->points();
    corners.pop_back();
    ASSERT_GE(corners.size(), 3u);
    auto cross = [](Point const& o, Point const& a, Point const& b) {
        return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
    };
    double area = 0.0;
    for (std::size_t k = 1; k + 1 < corners.size(); ++k) {
        area += cross(*corners[0], *corners[k], *corners[k + 1]);
    }
    double const turn = area > 0.0 ? 1.0 : -1.0;
    int outside = 0;
    for (std::size_t k = 0; k < corners.size(); ++k) {
        Point const& a = *corners[k];
        Point const& b = *corners[(k + 1) % corners.size()];
        Point const& c = *corners[(k + 2) % corners.size()];
        EXPECT_GT(turn * cross(a, b, c), 0.0) << "corner " << b.x() << ", " << b.y() << " is no turn";
        for (auto const& p : points) {
            outside += turn * cross(a, b, *p) < 0.0 ? 1 : 0;
        }
    }
    EXPECT_EQ(outside, 0);
    for (auto const& corner : corners) {
        auto first = std::find_if(points.begin(), points.end(), [&corner](PointPtr const& p) {
            return p->x() == corner->x() && p->y() == corner->y();
        });
        EXPECT_EQ(first->get(), corner.get());
    }
}

} // namespace

TEST(PointSetModifier, HullOfRepeatedLatticePointsTakesTheFirstObjectAtEachCorner)
{
    // Positions repeat many times and many lie on the hull's sides.
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> cell(0, 12);
    std::vector<PointPtr> points;
    for (int i = 0; i < 3000; ++i) {
        points.push_back(pt(cell(rng), 0.5 * cell(rng), i));
    }
    expectHullOf(points, PointSetModifier::hullRing(points));
    EXPECT_FALSE(PointSetModifier::hullRing({points[0], points[0], points[1]}));
}

// Most points of a survey lie well inside its hull and never reach the corner chain; the
// ones near it, at the survey's own coordinates, must all still be weighed.
TEST(PointSetModifier, HullOfSurveysFarFromTheOriginKeepsEveryPointNearItsSides)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
    double const east = 512345.0, north = 5412345.0;

    std::vector<PointPtr> grid; // sides lined with points, repeats at the corners
    for (int j = 0; j < 60; ++j) {
        for (int i = 0; i < 80; ++i) {
            bool border = i == 0 || j == 0 || i == 79 || j == 59;
            grid.push_back(pt(east + i + (border ? 0.0 : jitter(rng)), north + j + (border ? 0.0 : jitter(rng)), i));
        }
    }
    grid.push_back(pt(east, north, 7.0));
    grid.push_back(pt(east + 79.0, north + 59.0, 7.0));
    expectHullOf(grid, PointSetModifier::hullRing(grid));

    std::vector<PointPtr> disc; // every point of the circle is a corner, inner points fill it
    for (int i = 0; i < 1500; ++i) {
        double a = angle(rng);
        double r = i % 3 == 0 ? 300.0 : 300.0 * std::sqrt(std::uniform_real_distribution<double>(0.0, 0.999)(rng));
        disc.push_back(pt(east + r * std::cos(a), north + r * std::sin(a), r));
    }
    expectHullOf(disc, PointSetModifier::hullRing(disc));

    std::vector<PointPtr> sliver; // a long thin set: the inner polygon is nearly flat
    for (int i = 0; i < 2000; ++i) {
        sliver.push_back(pt(east + 0.5 * i, north + 1e-3 * jitter(rng), i));
    }
    expectHullOf(sliver, PointSetModifier::hullRing(sliver));
}
