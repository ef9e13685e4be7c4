#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "orlin/core/Edge.h"
#include "orlin/core/Edge2D.h"
#include "orlin/core/Edge2DFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRepository.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Tin2D.h"
#include "orlin/core/Triangle2D.h"
#include "orlin/core/Triangle.h"

using namespace tin::core;

namespace {

// Two triangles over the square (0,0)-(1,1) sharing the diagonal (0,0)-(1,1), offset by dx.
Tin twoTriangles(double dx)
{
    Tin tin;
    tin.addTriangle(Point(dx, 0, 1.0), Point(dx + 1, 0, 2.0), Point(dx + 1, 1, 3.0));
    tin.addTriangle(Point(dx, 0, 1.0), Point(dx + 1, 1, 3.0), Point(dx, 1, 4.0));
    return tin;
}

std::set<Edge2D*> sidesOf(Tin2D const& t2)
{
    std::set<Edge2D*> sides;
    for (auto const& t : t2.triangles()) {
        for (int i = 0; i < 3; ++i) {
            sides.insert(t->edge(i).get());
        }
    }
    return sides;
}

}  // namespace

TEST(Tin2DTest, ProjectionKeepsTopologyAndOriginalEdges)
{
    Tin tin = twoTriangles(0);
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    Tin2D t2(tin, &repository, &factory);
    ASSERT_EQ(t2.triangles().size(), 2u);
    EXPECT_EQ(sidesOf(t2).size(), 5u);
    EXPECT_EQ(t2.outerEdges().size(), 4u);

    auto diagonal = factory.factory(Point2D(0, 0), Point2D(1, 1));
    auto original = t2.originalEdges(diagonal);
    ASSERT_EQ(original.size(), 2u);
    EXPECT_EQ(original[0], original[1]);
    EXPECT_EQ(tin.findTriangleFromEdge(original[0]).size(), 2u);

    auto bottom = factory.factory(Point2D(0, 0), Point2D(1, 0));
    auto bottomOriginal = t2.originalEdges(bottom);
    ASSERT_EQ(bottomOriginal.size(), 1u);
    EXPECT_EQ(bottomOriginal[0]->lengthSqr(), 1.0);
    // A side added later stands for no 3-D edge.
    t2.addTriangle(repository.add(Point2D(5, 5)), repository.get(Point2D(1, 1)),
                   repository.get(Point2D(0, 1)));
    EXPECT_TRUE(t2.originalEdges(factory.factory(Point2D(5, 5), Point2D(1, 1))).empty());
}

TEST(Tin2DTest, VerticalStepKeepsBothOriginalEdges)
{
    // Two vertex objects at (1, 0) with different elevations, each in its own triangle.
    Tin tin;
    tin.addTriangle(Point(0, 0, 0.0), Point(1, 0, 0.0), Point(0, 1, 0.0));
    tin.addTriangle(Point(1, 0, 5.0), Point(0, 1, 0.0), Point(1, 1, 5.0));
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    Tin2D t2(tin, &repository, &factory);
    auto side = factory.factory(Point2D(1, 0), Point2D(0, 1));
    auto original = t2.originalEdges(side);
    ASSERT_EQ(original.size(), 2u);
    EXPECT_NE(original[0], original[1]);
    EXPECT_TRUE(t2.outerEdges().size() == 4u);
}

// The table behind originalEdges is made on its first use: asked first after a triangle was
// added, or through a copy, it still holds exactly the projected triangles' edges, those of a
// triangle left out (two corners at one position) included.
TEST(Tin2DTest, OriginalEdgesAskedLateOrThroughACopy)
{
    Tin tin = twoTriangles(0);
    tin.addTriangle(Point(2, 0, 0.0), Point(2, 0, 1.0), Point(3, 0.5, 0.0));
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    Tin2D early(tin, &repository, &factory);
    Tin2D late(tin, &repository, &factory);
    std::vector<std::shared_ptr<Edge2D>> sides{
        factory.factory(Point2D(0, 0), Point2D(1, 1)), factory.factory(Point2D(0, 0), Point2D(1, 0)),
        factory.factory(Point2D(2, 0), Point2D(3, 0.5)), factory.factory(Point2D(1, 1), Point2D(0, 1))};
    std::vector<std::vector<std::shared_ptr<Edge>>> expected;
    for (auto const& side : sides) {
        expected.push_back(early.originalEdges(side));
    }
    EXPECT_EQ(expected[2].size(), 2u);  // both slanted edges of the vertical triangle
    late.addTriangle(repository.add(Point2D(5, 5)), repository.get(Point2D(1, 1)),
                     repository.get(Point2D(0, 1)));
    Tin2D copy(late);
    for (std::size_t k = 0; k < sides.size(); ++k) {
        EXPECT_EQ(copy.originalEdges(sides[k]), expected[k]) << k;
        EXPECT_EQ(late.originalEdges(sides[k]), expected[k]) << k;
    }
    EXPECT_TRUE(late.originalEdges(factory.factory(Point2D(5, 5), Point2D(1, 1))).empty());
}

TEST(Tin2DTest, DegenerateAndEmptyNetworks)
{
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    Tin2D empty(&repository, &factory);
    EXPECT_FALSE(empty.boundingRect().isValid());
    Tin emptyTin;
    Tin2D projected(emptyTin, &repository, &factory);
    EXPECT_TRUE(projected.triangles().empty());

    auto a = repository.add(Point2D(0, 0)), b = repository.add(Point2D(1, 0)),
         c = repository.add(Point2D(0, 1));
    empty.addTriangle(a, a, b);
    EXPECT_TRUE(empty.triangles().empty());
    empty.addTriangle(Point2D(0, 0), Point2D(1, 0), Point2D(0, 1));
    ASSERT_EQ(empty.triangles().size(), 1u);
    EXPECT_EQ(empty.triangles()[0]->point3(), c);
    EXPECT_EQ(empty.outerEdges().size(), 3u);
}

TEST(Tin2DTest, NumberingOfTwoNetworksSharingSides)
{
    Tin left = twoTriangles(0);
    Tin right = twoTriangles(1);  // shares the side x = 1 with left
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    Tin2D first(left, &repository, &factory);
    Tin2D second(right, &repository, &factory);
    auto shared = factory.factory(Point2D(1, 0), Point2D(1, 1));

    first.clearEdgeIds();
    second.clearEdgeIds();
    int const afterFirst = first.setEdgeIds(2);
    EXPECT_EQ(afterFirst, 2 + 5);
    int const afterSecond = second.setEdgeIds(afterFirst);
    EXPECT_EQ(afterSecond, afterFirst + 4);

    int const sharedId = shared->id();
    EXPECT_GE(sharedId, 2);
    EXPECT_LT(sharedId, afterFirst);
    EXPECT_EQ(first.getEdgeById(sharedId), shared);
    EXPECT_EQ(second.getEdgeById(sharedId), nullptr);
    EXPECT_EQ(first.getEdgeById(1), nullptr);
    EXPECT_EQ(first.getEdgeById(afterFirst), nullptr);
    EXPECT_EQ(second.getEdgeById(afterFirst - 1), nullptr);
    EXPECT_EQ(second.getEdgeById(afterSecond), nullptr);
    for (int id = afterFirst; id < afterSecond; ++id) {
        ASSERT_NE(second.getEdgeById(id), nullptr);
        EXPECT_EQ(second.getEdgeById(id)->id(), id);
    }
    // The handle without a copy names the same sides and the same gaps.
    for (Tin2D const* network : {&first, &second}) {
        for (int id = 0; id <= afterSecond; ++id) {
            auto const* handle = network->numberedEdge(id);
            EXPECT_EQ(handle == nullptr ? nullptr : *handle, network->getEdgeById(id)) << id;
        }
    }

    // The second network renumbers everything it has; restoring the first gives its sides
    // their numbers back.
    second.clearEdgeIds();
    second.setEdgeIds(100);
    EXPECT_GE(shared->id(), 100);
    first.restoreEdgeIds();
    for (int id = 2; id < afterFirst; ++id) {
        EXPECT_EQ(first.getEdgeById(id)->id(), id);
    }
    EXPECT_EQ(shared->id(), sharedId);
}

TEST(Tin2DTest, FlatTinFromProjection)
{
    Tin tin = twoTriangles(10);
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    Tin2D t2(tin, &repository, &factory);
    Tin flat(t2);
    ASSERT_EQ(flat.allTriangles().size(), 2u);
    std::set<Edge*> edges;
    for (auto const& t : flat.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(t->point(i)->elevation(), 0.0);
            edges.insert(t->edge(i).get());
        }
    }
    EXPECT_EQ(edges.size(), 5u);
    EXPECT_EQ(flat.pointCount(), 4);
}

TEST(Tin2DTest, OuterEdgesOfAGridAreItsBoundaryAndDoubledTrianglesCancel)
{
    // n x n vertices, two triangles per cell: the outline has 4 (n - 1) sides, each with both
    // ends on the square's border.
    int const n = 30;
    Tin tin;
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = 0; j + 1 < n; ++j) {
            tin.addTriangle(Point(i, j, 0.0), Point(i + 1, j, 0.0), Point(i + 1, j + 1, 0.0));
            tin.addTriangle(Point(i, j, 0.0), Point(i + 1, j + 1, 0.0), Point(i, j + 1, 0.0));
        }
    }
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    Tin2D t2(tin, &repository, &factory);
    auto const outline = t2.outerEdges();
    EXPECT_EQ(outline.size(), static_cast<std::size_t>(4 * (n - 1)));
    auto onBorder = [n](Point2DI const& p) {
        return p.x() == 0 || p.y() == 0 || p.x() == n - 1 || p.y() == n - 1;
    };
    std::set<Edge2D*> distinct(outline.begin(), outline.end());
    EXPECT_EQ(distinct.size(), outline.size());
    for (Edge2D* e : outline) {
        EXPECT_TRUE(onBorder(*e->point1()) && onBorder(*e->point2()));
    }
    // A triangle added twice has every side an even number of times more: no change.
    auto const& first = *t2.triangles().front();
    t2.addTriangle(first.point1(), first.point2(), first.point3());
    t2.addTriangle(first.point1(), first.point2(), first.point3());
    EXPECT_EQ(t2.outerEdges().size(), outline.size());
}
