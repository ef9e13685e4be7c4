#include "orlin/core/Breakline.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/PointSetToTin.h"
#include "orlin/util/TinToPointSet.h"

#include "TinTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <algorithm>
#include <random>
#include <set>

using namespace tin::core;
using namespace tin::util;
using namespace tintest;

TEST(TinToPointSet, OneTriangleGivesItsPointsAndOneClosedRing)
{
    Tin tin;
    auto a = pt(0, 0, 1), b = pt(3, 0, 2), c = pt(0, 3, 3);
    tin.addTriangle(a, b, c);
    PointSet set = TinToPointSet::convert(tin);
    EXPECT_EQ(set.allPoints().size(), 3u);
    EXPECT_TRUE(set.hasPoint(a) && set.hasPoint(b) && set.hasPoint(c)); // the same objects
    ASSERT_EQ(set.allRegions().size(), 1u);
    auto ring = set.allRegions().front()->points();
    ASSERT_EQ(ring.size(), 4u);
    EXPECT_EQ(ring.front(), ring.back());
    EXPECT_TRUE(set.allHoles().empty());
    // Every side is a ring side, so the clean-up leaves no breakline.
    EXPECT_TRUE(set.allBreaklines().empty());

    EXPECT_TRUE(TinToPointSet::convert(Tin()).empty());
}

TEST(TinToPointSet, InteriorEdgesBecomeBreaklinesOnceAndHolesAreKept)
{
    // A 5 x 5 grid without its centre cell: one region, one hole.
    Tin tin = tinOf(gridTriangles(5, 5, [](int i, int j) { return i == 2 && j == 2; },
                                  [](double x, double y) { return x + y; }));
    PointSet set = TinToPointSet::convert(tin);
    EXPECT_EQ(set.allPoints().size(), 36u);
    EXPECT_EQ(set.allRegions().size(), 1u);
    ASSERT_EQ(set.allHoles().size(), 1u);
    EXPECT_EQ(set.allHoles().front()->points().size(), 5u);
    // Edges: 48 triangles, 20 outer + 4 hole sides once, the rest twice.
    std::size_t edges = (3 * tin.allTriangles().size() + 24) / 2;
    EXPECT_EQ(set.allBreaklines().size(), edges - 24);
    for (auto const& b : set.allBreaklines()) {
        EXPECT_TRUE(set.hasPoint(b->point1()));
        EXPECT_TRUE(set.hasPoint(b->point2()));
    }
}

TEST(TinToPointSet, TriangulatingThePointSetAgainGivesTheSameTriangles)
{
    // Jittered grid with the cell diagonals in random directions: not a Delaunay TIN, so
    // only the breaklines can bring every edge back.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> jitter(-0.2, 0.2);
    std::bernoulli_distribution flip(0.5);
    int const n = 12;
    std::vector<PointPtr> nodes;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            bool inner = i > 0 && j > 0 && i < n && j < n;
            nodes.push_back(pt(i + (inner ? jitter(rng) : 0.0), j + (inner ? jitter(rng) : 0.0), i * j));
        }
    }
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (n + 1) + i)]; };
    Tin tin;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            if (flip(rng)) {
                tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
                tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
            } else {
                tin.addTriangle(at(i, j), at(i + 1, j), at(i, j + 1));
                tin.addTriangle(at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
            }
        }
    }
    PointSet set = TinToPointSet::convert(tin);
    Tin again = PointSetToTin::convertCleanPointSet(set, false, false);
    EXPECT_EQ(cornerKeys(again), cornerKeys(tin));
}
