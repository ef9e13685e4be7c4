#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/AssertError.h"
#include "orlin/util/TinModifier.h"

#include "TinTestSupport.h"

#include <common/exception/RuntimeException.h>

#include <geos/geom/Geometry.h>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <unordered_set>

using namespace tin::core;
using namespace tin::util;
using namespace tintest;

namespace {

double plane(double x, double y) { return 3.0 + 0.25 * x - 0.5 * y; }

Tin grid(int n, std::vector<PointPtr>* nodes = nullptr)
{
    return tinOf(gridTriangles(n, n, [](int, int) { return false; }, plane, nodes));
}

bool hasEdge(Tin const& tin, Point const* a, Point const* b)
{
    for (auto const& t : tin.allTriangles()) {
        for (int j = 0; j < 3; ++j) {
            auto const& e = t->edge(j);
            if ((e->point1().get() == a && e->point2().get() == b) ||
                (e->point1().get() == b && e->point2().get() == a)) {
                return true;
            }
        }
    }
    return false;
}

std::shared_ptr<Triangle> holding(Tin const& tin, Point const& p)
{
    double z;
    for (auto const& t : tin.allTriangles()) {
        if (t->interpolateElevation(p, &z, false)) {
            return t;
        }
    }
    return nullptr;
}

// A proper TIN over a disc: every edge has one or two triangles, and V - E + F = 1.
void expectDisc(Tin const& tin)
{
    std::map<Edge const*, int> uses;
    std::unordered_set<Point const*> points;
    for (auto const& t : tin.allTriangles()) {
        EXPECT_GT(t->area(), 0.0);
        for (int j = 0; j < 3; ++j) {
            ++uses[t->edge(j).get()];
            points.insert(t->point(j).get());
        }
    }
    for (auto const& u : uses) {
        EXPECT_LE(u.second, 2);
    }
    long v = static_cast<long>(points.size());
    long e = static_cast<long>(uses.size());
    long f = static_cast<long>(tin.allTriangles().size());
    EXPECT_EQ(v - e + f, 1);
}

} // namespace

TEST(TinModifierDivide, InteriorPointSplitsThreeWaysWithThePointFirst)
{
    Tin tin;
    auto t = tin.addTriangle(pt(0, 0, 0), pt(4, 0, 4), pt(0, 4, 8));
    auto p = pt(1, 1, 3);
    TinModifier::divideTriangle(&tin, t, p);
    ASSERT_EQ(tin.allTriangles().size(), 3u);
    EXPECT_FALSE(tin.containsTriangle(t));
    for (auto const& nt : tin.allTriangles()) {
        EXPECT_EQ(nt->point1(), p);
    }
    EXPECT_NEAR(totalArea(tin), 8.0, 1e-12);
}

TEST(TinModifierDivide, PointOnAnEdgeSplitsBothSidesOrOneOnTheOutline)
{
    Tin tin;
    auto a = pt(0, 0), b = pt(2, 0), c = pt(2, 2), d = pt(0, 2);
    auto t1 = tin.addTriangle(a, b, c);
    auto t2 = tin.addTriangle(a, c, d);
    // On the shared diagonal: four triangles.
    TinModifier::divideTriangle(&tin, t1, pt(1, 1));
    EXPECT_EQ(tin.allTriangles().size(), 4u);
    EXPECT_NEAR(totalArea(tin), 4.0, 1e-12);
    expectDisc(tin);

    // On an outline edge: two.
    Tin single;
    auto s = single.addTriangle(a, b, c);
    auto q = pt(1, 0);
    TinModifier::divideTriangle(&single, s, q);
    ASSERT_EQ(single.allTriangles().size(), 2u);
    for (auto const& nt : single.allTriangles()) {
        EXPECT_EQ(nt->point1(), q);
        EXPECT_EQ(nt->point2(), c); // the vertex opposite the split side
    }
}

TEST(TinModifierDivide, SplitThresholdIsInclusiveAtOneInHundredMillion)
{
    Tin tin;
    auto a = pt(0, 0), b = pt(1, 0), c = pt(0, 1);
    // Weight of c is y: just below 1e-8 is on the side a-b, above it is inside.
    auto t = tin.addTriangle(a, b, c);
    TinModifier::divideTriangle(&tin, t, pt(0.5, 0.5e-8));
    EXPECT_EQ(tin.allTriangles().size(), 2u);

    Tin inside;
    auto u = inside.addTriangle(a, b, c);
    TinModifier::divideTriangle(&inside, u, pt(0.5, 2e-8));
    EXPECT_EQ(inside.allTriangles().size(), 3u);

    // The vertex's own object: the triangles that would repeat it are not made.
    Tin onVertex;
    auto w = onVertex.addTriangle(a, b, c);
    TinModifier::divideTriangle(&onVertex, w, a);
    EXPECT_EQ(onVertex.allTriangles().size(), 1u);
}

TEST(TinModifierNeighbours, InsertedPointBecomesAVertexOfAProperTin)
{
    Tin tin = grid(6);
    double area = totalArea(tin);
    std::size_t count = tin.allTriangles().size();
    std::vector<PointPtr> inserted{pt(2.3, 2.6, 1), pt(3.0, 3.5, 2), pt(0.0, 1.5, 3), pt(5.5, 5.5, 4)};
    for (auto const& p : inserted) {
        auto host = holding(tin, *p);
        ASSERT_TRUE(host);
        TinModifier::divideTriangleAndNeighbors(&tin, host, p);
        EXPECT_FALSE(tin.findTriangleFromPoint(p).empty());
    }
    EXPECT_NEAR(totalArea(tin), area, 1e-9);
    // Three interior points add two triangles each, the one on the outline one.
    EXPECT_EQ(tin.allTriangles().size(), count + 7);
    expectDisc(tin);
}

TEST(TinModifierNeighbours, ThrowingInsertionPutsTheNeighbourhoodBack)
{
    Tin tin = grid(4);
    auto before = objectsOf(tin);
    auto host = *tin.findTrianglesIntersectRect(Rect(1.2, 1.1, 1.3, 1.2)).begin();
    // Another object at a vertex's position can never become a vertex.
    auto twin = pt(host->point1()->x(), host->point1()->y(), 99.0);
    EXPECT_THROW(TinModifier::divideTriangleAndNeighbors(&tin, host, twin), AssertError);
    EXPECT_EQ(objectsOf(tin), before);
}

TEST(TinModifierNeighbours, ConstraintEdgesSurviveAndFollowAnEdgeSplit)
{
    // A quadrilateral whose constrained diagonal b-d is not the Delaunay one.
    auto a = pt(0, 0), b = pt(1, -5), c = pt(2, 0), d = pt(1, 5);
    Tin tin;
    auto t1 = tin.addTriangle(a, b, d);
    tin.addTriangle(b, c, d);
    ConstraintEdges constraints{edgeKey(b.get(), d.get())};

    Tin free = tin;
    auto p = pt(0.5, 0.1);
    TinModifier::divideTriangleAndNeighbors(&free, t1, p);
    EXPECT_FALSE(hasEdge(free, b.get(), d.get())); // the Delaunay patch flips it away

    TinModifier::divideTriangleAndNeighbors(&tin, t1, p, &constraints);
    EXPECT_TRUE(hasEdge(tin, b.get(), d.get()));
    expectDisc(tin);

    // A point on the constraint splits it into two constrained halves.
    auto m = pt(1, 2);
    TinModifier::divideTriangleAndNeighbors(&tin, holding(tin, *m), m, &constraints);
    EXPECT_EQ(constraints.count(edgeKey(b.get(), d.get())), 0u);
    EXPECT_EQ(constraints.count(edgeKey(b.get(), m.get())), 1u);
    EXPECT_EQ(constraints.count(edgeKey(m.get(), d.get())), 1u);
    EXPECT_TRUE(hasEdge(tin, b.get(), m.get()));
    EXPECT_TRUE(hasEdge(tin, m.get(), d.get()));
    expectDisc(tin);
}

TEST(TinModifierSelection, ClipKeepsExactlyTheTrianglesInsideThePolygon)
{
    Tin tin = grid(4);
    Polygon square{{1, 1}, {3, 1}, {3, 3}, {1, 3}};
    Tin clipped = TinModifier::clipByPolygon(tin, square);
    EXPECT_EQ(clipped.allTriangles().size(), 8u);
    EXPECT_NEAR(totalArea(clipped), 4.0, 1e-12);
    for (auto const& t : clipped.allTriangles()) {
        EXPECT_TRUE(tin.containsTriangle(t)); // shared, not copied
    }
    Polygon sliver{{0.1, 0.1}, {0.4, 0.1}, {0.4, 0.2}};
    EXPECT_TRUE(TinModifier::clipByPolygon(tin, sliver).empty());
    EXPECT_TRUE(TinModifier::clipByPolygon(tin, Polygon()).empty());
}

TEST(TinModifierSelection, ClipOfAConcavePolygonMatchesTheExactTestOfEveryTriangle)
{
    // An L with its sides on grid lines and one inside a column of cells: the triangles kept
    // are those GEOS finds inside, whole triangles on the rim included, none from the notch.
    Tin tin = grid(6);
    Polygon ell{{0, 0}, {5.5, 0}, {5.5, 2}, {2, 2}, {2, 6}, {0, 6}};
    Tin clipped = TinModifier::clipByPolygon(tin, ell);
    std::set<Triangle const*> expected;
    for (auto const& t : tin.allTriangles()) {
        if (ell.geosGeometry()->contains(t->geosGeometry())) {
            expected.insert(t.get());
        }
    }
    EXPECT_EQ(objectsOf(clipped), expected);
    EXPECT_NEAR(totalArea(clipped), 5.0 * 2.0 + 2.0 * 4.0, 1e-12);
}

TEST(TinModifierSelection, LeastCoverageOfItselfIsEveryTriangle)
{
    Tin a = grid(5);
    Tin same = TinModifier::leastCoverage(a, a);
    EXPECT_EQ(objectsOf(same), objectsOf(a));

    // A small TIN inside one cell meets that cell's two triangles (and those touching it).
    Tin small;
    small.addTriangle(pt(2.2, 2.1), pt(2.8, 2.1), pt(2.5, 2.4));
    Tin cover = TinModifier::leastCoverage(a, small);
    EXPECT_GE(cover.allTriangles().size(), 1u);
    EXPECT_LE(cover.allTriangles().size(), 2u);

    EXPECT_THROW(
        {
            try {
                TinModifier::leastCoverage(small, a);
            } catch (common::exception::RuntimeException const& e) {
                EXPECT_STREQ(e.what(), "smallTin is larger than bigTin.");
                throw;
            }
        },
        common::exception::RuntimeException);
}
