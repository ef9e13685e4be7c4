#include "orlin/core/Breakline.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/util/PointSetModifier.h"

#include "TinTestSupport.h"

#include <gtest/gtest.h>

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
