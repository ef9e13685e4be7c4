// How the brush makes triangles finer: where edges are cut, which re-triangulation each case
// of divided edges gets, and what every subdivision keeps (plan area, the triangle's plane, a
// conforming boundary, the count announced beforehand).
#include "BrushTestSupport.h"

#include "movarin/surfaces/BrushSubdivision.h"

#include "orlin/core/EdgeFactory.h"
#include "orlin/core/PointFunctions.h"

#include <common/exception/RuntimeException.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <cmath>
#include <random>

namespace varnel::test {
namespace {

PointPtr interned(double x, double y, double z)
{
    return tin::core::PointFactory::instance().factory(tin::core::Point(x, y, z), false);
}

TrianglePtr triangle(tin::core::Tin& holder, const PointPtr& a, const PointPtr& b, const PointPtr& c)
{
    return holder.addTriangle(a, b, c);
}

// The elevation of t's plane at (x, y).
double planeAt(const tin::core::Triangle& t, double x, double y)
{
    double z = NAN;
    EXPECT_TRUE(t.interpolateElevation(tin::core::Point2D(x, y), &z, true));
    return z;
}

TEST(BrushSubdivisionTest, EdgesFromTheSizeOnAreCutIntoEqualPiecesOfAtMostHalfTheSize)
{
    const PointPtr a = interned(0.0, 0.0, 0.0);
    const PointPtr shorter = interned(4.99, 0.0, 1.0);
    EXPECT_EQ(BrushSubdivision::divideEdge(a, shorter, 5.0, 2.5), (BrushSubdivision::PointList{a, shorter}));

    const PointPtr exact = interned(0.0, 5.0, 1.0);
    const BrushSubdivision::PointList two = BrushSubdivision::divideEdge(a, exact, 5.0, 2.5);
    ASSERT_EQ(two.size(), 3u) << "an edge of exactly the size is divided in 2";
    EXPECT_DOUBLE_EQ(two[1]->y(), 2.5);
    EXPECT_DOUBLE_EQ(two[1]->elevation(), 0.5);

    // 13 m with size 5: ceil(13 / 2.5) = 6 pieces, positions and elevations linear.
    const PointPtr far = interned(12.0, 5.0, 2.6);
    const BrushSubdivision::PointList six = BrushSubdivision::divideEdge(a, far, 5.0, 2.5);
    ASSERT_EQ(six.size(), 7u);
    EXPECT_EQ(six.front(), a);
    EXPECT_EQ(six.back(), far);
    for (std::size_t i = 1; i < six.size(); ++i) {
        EXPECT_NEAR(tin::core::distance(*six[i - 1], *six[i]), 13.0 / 6.0, 1e-12);
        EXPECT_NEAR(six[i]->elevation() - six[i - 1]->elevation(), 2.6 / 6.0, 1e-12);
        EXPECT_EQ(tin::core::PointFactory::instance().factory(*six[i], false), six[i]) << "not interned";
    }
    // The other direction gives the very same points.
    BrushSubdivision::PointList back = BrushSubdivision::divideEdge(far, a, 5.0, 2.5);
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back, six);

    const PointPtr kilometres = interned(5000.0, 0.0, 0.0);
    EXPECT_EQ(BrushSubdivision::divideEdge(a, kilometres, 0.1, 0.05).size(), BrushSubdivision::MAX_EDGE_PIECES + 1);
    EXPECT_EQ(BrushSubdivision::edgePieces(*a, *kilometres, 0.1, 0.05), BrushSubdivision::MAX_EDGE_PIECES);
}

// What every subdivision of a triangle keeps: it covers the triangle exactly (plan area, a
// boundary of the triangle's perimeter with no hanging vertex), lies in its plane, and has the
// number of triangles announced beforehand.
void expectFaithful(const TrianglePtr& t, double size, const tin::core::Tin& result, std::mt19937& random)
{
    EXPECT_EQ(result.allTriangles().size(), BrushSubdivision::subdividedTriangleCount(*t, size, size * 0.5));
    EXPECT_NEAR(planArea(result), t->area(), 1e-9 * t->area());
    const double perimeter = t->edge1()->length() + t->edge2()->length() + t->edge3()->length();
    EXPECT_NEAR(outlineLength(result), perimeter, 1e-9 * perimeter);
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(result));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int k = 0; k < 5; ++k) {
        double s = unit(random);
        double u = unit(random);
        if (s + u > 1.0) {
            s = 1.0 - s;
            u = 1.0 - u;
        }
        const tin::core::Point& p1 = *t->point1();
        const tin::core::Point& p2 = *t->point2();
        const tin::core::Point& p3 = *t->point3();
        const double x = p1.x() + s * (p2.x() - p1.x()) + u * (p3.x() - p1.x());
        const double y = p1.y() + s * (p2.y() - p1.y()) + u * (p3.y() - p1.y());
        double z = NAN;
        ASSERT_TRUE(result.interpolatedElevation(tin::core::Point2D(x, y), &z));
        EXPECT_NEAR(z, planeAt(*t, x, y), 1e-9);
    }
}

TEST(BrushSubdivisionTest, CaseTableTakesTheFanTheStripOrTheSpokesByTheDividedEdges)
{
    // A 6-8-10 triangle in all six vertex orders; sizes 11, 10, 8 and 6 divide none, the
    // longest, the two longest and all edges, so every row of the case table comes up.
    std::mt19937 random(7);
    const std::array<PointPtr, 3> corners = {interned(0.0, 0.0, 1.0), interned(6.0, 0.0, 2.0), interned(0.0, 8.0, 4.0)};
    std::array<int, 3> order = {0, 1, 2};
    std::set<std::array<bool, 3>> casesSeen;
    do {
        tin::core::Tin holder;
        const TrianglePtr t = triangle(holder, corners[order[0]], corners[order[1]], corners[order[2]]);
        for (double size : {11.0, 10.0, 8.0, 6.0}) {
            const tin::core::Tin result = BrushSubdivision::subdivideTriangle(t, size, size * 0.5);
            expectFaithful(t, size, result, random);
            // Edge i of the table runs between the corners other than point i.
            std::array<bool, 3> divided;
            std::array<std::size_t, 3> pieces;
            for (int i = 0; i < 3; ++i) {
                pieces[i] = BrushSubdivision::edgePieces(*t->point(i + 1), *t->point(i + 2), size, size * 0.5);
                divided[i] = pieces[i] > 1;
            }
            casesSeen.insert(divided);
            const int count = divided[0] + divided[1] + divided[2];
            if (count == 0) {
                ASSERT_EQ(result.allTriangles().size(), 1u);
                EXPECT_TRUE(result.containsTriangle(t)) << "an undivided triangle is kept as itself";
            } else if (count == 1) {
                const int e = divided[0] ? 0 : divided[1] ? 1 : 2;
                EXPECT_EQ(result.allTriangles().size(), pieces[e]);
                EXPECT_EQ(result.findTriangleFromPoint(t->point(e)).size(), pieces[e]) << "a fan from the opposite corner";
            } else if (count == 2) {
                const int undivided = !divided[0] ? 0 : !divided[1] ? 1 : 2;
                EXPECT_EQ(result.allTriangles().size(), pieces[(undivided + 1) % 3] + pieces[(undivided + 2) % 3] - 1);
                const auto side = tin::core::EdgeFactory::instance().factory(t->point(undivided + 1), t->point(undivided + 2));
                EXPECT_EQ(result.findTriangleFromEdge(side).size(), 1u) << "the strip closes on the undivided edge";
            } else {
                // Spokes from the corner opposite the longest edge (10 m) to each of its points.
                int longest = 0;
                for (int i = 1; i < 3; ++i) {
                    if (t->edge(i)->length() > t->edge(longest)->length()) {
                        longest = i;
                    }
                }
                EXPECT_EQ(result.findTriangleFromPoint(t->point(longest)).size(), pieces[longest]);
            }
        }
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(casesSeen.size(), 8u);
}

TEST(BrushSubdivisionTest, RandomTrianglesKeepTheirAreaPlaneAndAnnouncedCount)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(0.0, 20.0);
    std::uniform_real_distribution<double> elevation(-5.0, 5.0);
    std::uniform_real_distribution<double> sizes(0.8, 8.0);
    int tested = 0;
    while (tested < 200) {
        tin::core::Tin holder;
        const TrianglePtr t = triangle(holder, interned(coordinate(random), coordinate(random), elevation(random)),
                                       interned(coordinate(random), coordinate(random), elevation(random)),
                                       interned(coordinate(random), coordinate(random), elevation(random)));
        if (!t || t->area() < 1.0) {
            continue;
        }
        const double size = sizes(random);
        expectFaithful(t, size, BrushSubdivision::subdivideTriangle(t, size, size * 0.5), random);
        ++tested;
    }
}

TEST(BrushSubdivisionTest, NeighboursDividedInTwoCallsShareTheirEdgePoints)
{
    // One 10 m cell, its two triangles subdivided one at a time with size 3.
    const tin::core::Tin cell = gridTin(1, 1, 10.0, [](double x, double y) { return 0.1 * x + 0.3 * y; });
    std::vector<TrianglePtr> halves(cell.allTriangles().begin(), cell.allTriangles().end());
    tin::core::Tin both = BrushSubdivision::subdivideTriangle(halves[0], 3.0, 1.5);
    const tin::core::Tin second = BrushSubdivision::subdivideTriangle(halves[1], 3.0, 1.5);
    for (const TrianglePtr& t : second.allTriangles()) {
        both.addTriangle(t);
    }
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(both));
    EXPECT_NEAR(outlineLength(both), 40.0, 1e-9) << "the diagonal was divided into other points twice";
    EXPECT_EQ(both.allTriangles().size(), BrushSubdivision::subdivideTriangles(halves, 3.0, 1.5).allTriangles().size());
}

TEST(BrushSubdivisionTest, ListsWithoutACommonEndAreAFatalError)
{
    const BrushSubdivision::PointList a = {interned(0, 0, 0), interned(1, 0, 0)};
    const BrushSubdivision::PointList b = {interned(0, 1, 0), interned(1, 1, 0)};
    tin::core::Tin out;
    try {
        BrushSubdivision::subdivideTriangle2(a, b, out);
        ADD_FAILURE() << "no exception";
    } catch (const common::exception::RuntimeException& e) {
        EXPECT_STREQ(e.what(), "Fatal error in subdivideTriangle2.");
    }
    const tin::core::Edge ea(a[0], a[1]);
    const tin::core::Edge eb(b[0], b[1]);
    try {
        BrushSubdivision::subdividePeripheryTriangle2(ea, eb, 5.0, 2.5, out, nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const common::exception::RuntimeException& e) {
        EXPECT_STREQ(e.what(), "Fatal error in subdividePeripheryTriangle2.");
    }
    EXPECT_TRUE(out.empty());
}

} // namespace
} // namespace varnel::test
