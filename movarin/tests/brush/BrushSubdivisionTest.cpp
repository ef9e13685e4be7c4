// How the brush makes triangles finer: where edges are cut, which case of the table each set
// of divided edges takes, and what every subdivision keeps (plan area, the triangle's plane, a
// boundary without hanging vertices, the count announced beforehand). Neighbours divided in
// different applications are in the brush edit's tests.
#include "BrushTestSupport.h"

#include "movarin/surfaces/BrushSubdivision.h"

#include "orlin/core/EdgeFactory.h"
#include "orlin/core/PointFunctions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>

namespace varnel::test {
namespace {

using PointPtr = BrushSubdivision::PointPtr;

PointPtr interned(double x, double y, double z)
{
    return tin::core::PointFactory::instance().factory(tin::core::Point(x, y, z), false);
}

TEST(BrushSubdivisionTest, EdgesFromTheSizeOnAreCutIntoEqualPiecesOfAtMostHalfTheSize)
{
    const PointPtr a = interned(0.0, 0.0, 0.0);
    const PointPtr shorter = interned(4.99, 0.0, 1.0);
    EXPECT_EQ(BrushSubdivision::divideEdge(a, shorter, 5.0, 2.5), (BrushSubdivision::PointList{a, shorter}));
    EXPECT_EQ(BrushSubdivision::divideEdge(a, interned(0.0, 5.0, 1.0), 5.0, 2.5).size(), 3u);
    // 13 m with size 5: 6 pieces, positions and elevations linear, the points interned, and
    // the other direction gives the very same points.
    const PointPtr far = interned(12.0, 5.0, 2.6);
    const BrushSubdivision::PointList six = BrushSubdivision::divideEdge(a, far, 5.0, 2.5);
    ASSERT_EQ(six.size(), 7u);
    for (std::size_t i = 1; i < six.size(); ++i) {
        EXPECT_NEAR(tin::core::distance(*six[i - 1], *six[i]), 13.0 / 6.0, 1e-12);
        EXPECT_NEAR(six[i]->elevation() - six[i - 1]->elevation(), 2.6 / 6.0, 1e-12);
        EXPECT_EQ(tin::core::PointFactory::instance().factory(*six[i], false), six[i]);
    }
    BrushSubdivision::PointList back = BrushSubdivision::divideEdge(far, a, 5.0, 2.5);
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back, six);
    EXPECT_EQ(BrushSubdivision::divideEdge(a, interned(5000.0, 0.0, 0.0), 0.1, 0.05).size(),
              BrushSubdivision::MAX_EDGE_PIECES + 1);
}

// The subdivision covers the triangle exactly (plan area, the perimeter as its outline, no
// hanging vertex), lies in its plane and has the number of triangles announced beforehand.
void expectFaithful(const TrianglePtr& t, double size, const tin::core::Tin& result, std::mt19937& random)
{
    EXPECT_EQ(result.allTriangles().size(), BrushSubdivision::subdividedTriangleCount(*t, size, size * 0.5));
    EXPECT_NEAR(planArea(result), t->area(), 1e-9 * t->area());
    const double perimeter = t->edge1()->length() + t->edge2()->length() + t->edge3()->length();
    EXPECT_NEAR(outlineLength(result), perimeter, 1e-9 * perimeter);
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(result));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int k = 0; k < 5; ++k) {
        const double s = unit(random);
        const double u = unit(random) * (1.0 - s);
        const tin::core::Point2D p(tin::core::innerPoint(u, tin::core::innerPoint(s, *t->point1(), *t->point2()),
                                                         *t->point3())
                                       .point2d());
        double expected = NAN;
        double z = NAN;
        ASSERT_TRUE(t->interpolateElevation(p, &expected, true));
        ASSERT_TRUE(result.interpolatedElevation(p, &z));
        EXPECT_NEAR(z, expected, 1e-9);
    }
}

TEST(BrushSubdivisionTest, CaseTableTakesTheFanTheStripOrTheSpokesByTheDividedEdges)
{
    // A 6-8-10 triangle in its six vertex orders; sizes 11, 10, 8 and 6 divide none, the
    // longest, the two longest and all edges, so every row of the table comes up.
    std::mt19937 random(7);
    const std::array<PointPtr, 3> corners = {interned(0, 0, 1), interned(6, 0, 2), interned(0, 8, 4)};
    std::array<int, 3> order = {0, 1, 2};
    std::set<std::array<bool, 3>> cases;
    do {
        tin::core::Tin holder;
        const TrianglePtr t = holder.addTriangle(corners[order[0]], corners[order[1]], corners[order[2]]);
        for (double size : {11.0, 10.0, 8.0, 6.0}) {
            const tin::core::Tin result = BrushSubdivision::subdivideTriangle(t, size, size * 0.5);
            expectFaithful(t, size, result, random);
            std::array<bool, 3> divided;
            std::array<std::size_t, 3> pieces;
            for (int i = 0; i < 3; ++i) {
                pieces[i] = BrushSubdivision::edgePieces(*t->point(i + 1), *t->point(i + 2), size, size * 0.5);
                divided[i] = pieces[i] > 1;
            }
            cases.insert(divided);
            const int count = divided[0] + divided[1] + divided[2];
            if (count == 0) {
                EXPECT_TRUE(result.containsTriangle(t)) << "an undivided triangle is kept as itself";
            } else if (count == 1) {
                const int e = divided[0] ? 0 : divided[1] ? 1 : 2;
                EXPECT_EQ(result.findTriangleFromPoint(t->point(e)).size(), pieces[e]) << "the fan's apex";
            } else if (count == 2) {
                const int whole = !divided[0] ? 0 : !divided[1] ? 1 : 2;
                const auto side = tin::core::EdgeFactory::instance().factory(t->point(whole + 1), t->point(whole + 2));
                EXPECT_EQ(result.findTriangleFromEdge(side).size(), 1u) << "the strip ends on the undivided edge";
            } else {
                // Spokes from the corner opposite the 10 m edge.
                const int apex = static_cast<int>(std::find(order.begin(), order.end(), 0) - order.begin());
                EXPECT_EQ(result.findTriangleFromPoint(t->point(apex)).size(), pieces[apex]);
            }
        }
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(cases.size(), 8u);
}

TEST(BrushSubdivisionTest, RandomTrianglesKeepTheirAreaPlaneAndAnnouncedCount)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(0.0, 20.0);
    std::uniform_real_distribution<double> elevation(-5.0, 5.0);
    std::uniform_real_distribution<double> sizes(0.8, 8.0);
    for (int tested = 0; tested < 200;) {
        tin::core::Tin holder;
        const TrianglePtr t = holder.addTriangle(interned(coordinate(random), coordinate(random), elevation(random)),
                                                 interned(coordinate(random), coordinate(random), elevation(random)),
                                                 interned(coordinate(random), coordinate(random), elevation(random)));
        if (t && t->area() > 1.0) {
            const double size = sizes(random);
            expectFaithful(t, size, BrushSubdivision::subdivideTriangle(t, size, size * 0.5), random);
            ++tested;
        }
    }
}

} // namespace
} // namespace varnel::test
