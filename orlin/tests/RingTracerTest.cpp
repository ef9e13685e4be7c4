#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include <geos/geom/Polygon.h>

#include "orlin/core/Edge2D.h"
#include "orlin/core/Edge2DFactory.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRepository.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Point2DIRing.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/util/EdgeOrder.h"
#include "orlin/util/RingTracer.h"

using namespace tin::core;
using tin::util::Edge2DSet;
using tin::util::EdgeOrder;
using tin::util::RingTracer;

namespace {

class Graph {
public:
    Graph() : m_factory(&m_repository) {}

    std::shared_ptr<Point2DI> p(double x, double y) { return m_repository.add(Point2D(x, y)); }

    // Adds the chain of segments through the given positions.
    void chain(std::vector<std::pair<double, double>> const& positions)
    {
        for (std::size_t i = 0; i + 1 < positions.size(); ++i) {
            m_edges.insert(m_factory.factory(p(positions[i].first, positions[i].second),
                                             p(positions[i + 1].first, positions[i + 1].second)));
        }
    }

    std::vector<std::shared_ptr<Point2DIRingTree>> trace()
    {
        return RingTracer::traceRegionRings(m_edges, {});
    }

    Edge2DFactory& factory() { return m_factory; }

private:
    Point2DIRepository m_repository;
    Edge2DFactory m_factory;
    Edge2DSet m_edges;
};

double signedArea(Point2DIRing const& ring)
{
    auto const points = ring.points();
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        sum += points[i]->x() * points[i + 1]->y() - points[i + 1]->x() * points[i]->y();
    }
    return sum / 2.0;
}

}  // namespace

TEST(RingTracerTest, SquareGivesOneRingOfFiveEntries)
{
    Graph g;
    g.chain({{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}});
    auto trees = g.trace();
    ASSERT_EQ(trees.size(), 1u);
    auto const points = trees[0]->ring()->points();
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points.front(), points.back());
    EXPECT_EQ(points.front(), g.p(0, 0));
    EXPECT_TRUE(trees[0]->childRings().empty());
}

TEST(RingTracerTest, SquareWithDiagonalGivesTwoTriangles)
{
    Graph g;
    g.chain({{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}, {2, 2}});
    auto trees = g.trace();
    ASSERT_EQ(trees.size(), 2u);
    double total = 0.0;
    for (auto const& tree : trees) {
        EXPECT_EQ(tree->ring()->segmentCount(), 3);
        EXPECT_NEAR(std::abs(signedArea(*tree->ring())), 2.0, 1e-12);
        EXPECT_TRUE(tree->childRings().empty());
        total += tree->geosPolygon()->getArea();
    }
    EXPECT_DOUBLE_EQ(total, 4.0);
}

TEST(RingTracerTest, DanglingEdgeIsWalkedOutAndBack)
{
    Graph g;
    g.chain({{0, 0}, {4, 0}, {4, 2}, {4, 4}, {0, 4}, {0, 0}});
    g.chain({{4, 2}, {2, 2}});  // from the right side into the face
    auto trees = g.trace();
    ASSERT_EQ(trees.size(), 1u);
    auto const ring = trees[0]->ring();
    // The walk passes (4, 2) twice: square corners, the split right side and the far end.
    EXPECT_EQ(ring->segmentCount(), 7);
    auto const points = ring->points();
    EXPECT_EQ(std::count(points.begin(), points.end(), g.p(4, 2)), 2);
    EXPECT_TRUE(ring->contains(g.p(2, 2).get()));
    EXPECT_NEAR(trees[0]->geosPolygon()->getArea(), 16.0, 1e-12);
}

TEST(RingTracerTest, NestedOutlineBecomesChildrenOfTheFace)
{
    Graph g;
    g.chain({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
    // A separate outline of two faces inside.
    g.chain({{3, 3}, {5, 3}, {7, 3}, {7, 7}, {5, 7}, {3, 7}, {3, 3}});
    g.chain({{5, 3}, {5, 7}});
    auto trees = g.trace();
    ASSERT_EQ(trees.size(), 1u);
    auto const children = trees[0]->childRings();
    ASSERT_EQ(children.size(), 2u);
    for (auto const& child : children) {
        EXPECT_NEAR(child->geosPolygon()->getArea(), 8.0, 1e-12);
    }
    EXPECT_NEAR(trees[0]->geosPolygon()->getArea(), 100.0 - 16.0, 1e-12);
    EXPECT_EQ(Point2DIRingTree::allMemberRings(trees[0]).size(), 3u);
}

TEST(RingTracerTest, EqualBoxesNeitherInsideTheOtherAreBothTopLevel)
{
    Graph g;
    g.chain({{0, 0}, {2, 0}, {2, 2}, {0, 0}});
    g.chain({{5, 0}, {7, 0}, {7, 2}, {5, 0}});
    auto trees = g.trace();
    EXPECT_EQ(trees.size(), 2u);
}

// The faces of a random labelling of a sheared grid: cells of different labels (label 0 around
// the grid) are split by their common side. Islands give nested rings, cells meeting at one
// corner give rings that touch themselves, neighbours share sides and corners.
TEST(RingTracerTest, QuickContainmentAgreesWithGeosOnRandomFaces)
{
    std::mt19937 random(20261209);
    int nested = 0;
    for (int round = 0; round < 40; ++round) {
        int const n = 4 + round % 9;
        // Mostly label 1, so that some other cells are islands in it.
        std::uniform_int_distribution<int> label(-6, 2 + round % 3);
        std::vector<int> cells(static_cast<std::size_t>(n * n));
        for (auto& c : cells) {
            c = std::max(label(random), 1);
        }
        auto labelAt = [&](int i, int j) {
            return i < 0 || j < 0 || i >= n || j >= n ? 0 : cells[static_cast<std::size_t>(j * n + i)];
        };
        auto at = [](int i, int j) { return std::make_pair(i * 0.7 + j * 0.13, j * 0.9 - i * 0.05); };
        Graph g;
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                if (j < n && labelAt(i - 1, j) != labelAt(i, j)) {
                    g.chain({at(i, j), at(i, j + 1)});
                }
                if (i < n && labelAt(i, j - 1) != labelAt(i, j)) {
                    g.chain({at(i, j), at(i + 1, j)});
                }
            }
        }
        std::vector<std::unique_ptr<geos::geom::Polygon>> polygons;
        for (auto const& tree : g.trace()) {
            for (auto const& member : Point2DIRingTree::allMemberRings(tree)) {
                polygons.push_back(member->ring()->toPolygon().geosPolygon()->clone());
            }
        }
        for (auto const& outer : polygons) {
            for (auto const& inner : polygons) {
                bool const expected = outer->contains(inner.get());
                ASSERT_EQ(RingTracer::polygonContains(*outer, *inner), expected) << "round " << round;
                nested += expected && outer != inner ? 1 : 0;
            }
        }
    }
    // Islands: the quick answers must have met nesting, not only disjoint faces.
    EXPECT_GT(nested, 100);
}

// The tracer's edge states against two ordered sets of edges, the way the tracing kept them:
// the first untraversed and first traversed edge in EdgeOrder after every walk.
TEST(RingTracerTest, EdgeStatesFollowTwoOrderedSets)
{
    std::mt19937 random(99);
    std::uniform_int_distribution<int> coordinate(0, 6);
    Graph g;
    std::vector<std::shared_ptr<Edge2D>> edges;
    for (int i = 0; i < 300; ++i) {
        auto e = g.factory().factory(g.p(coordinate(random), coordinate(random)),
                                     g.p(coordinate(random), coordinate(random)));
        if (e) {
            edges.push_back(e);  // repeats included: one state per object
        }
    }
    std::set<std::shared_ptr<Edge2D>, EdgeOrder> untraversed(edges.begin(), edges.end());
    std::set<std::shared_ptr<Edge2D>, EdgeOrder> traversed;
    RingTracer::EdgeStates states(edges);
    ASSERT_EQ(states.edges().size(), untraversed.size());
    std::uniform_int_distribution<std::size_t> pick(0, edges.size() - 1);
    for (int step = 0; step < 2000; ++step) {
        ASSERT_EQ(states.anyUntraversed(), !untraversed.empty());
        ASSERT_EQ(states.anyTraversed(), !traversed.empty());
        if (!untraversed.empty()) {
            ASSERT_EQ(states.firstUntraversed(), *untraversed.begin());
        }
        if (!traversed.empty()) {
            ASSERT_EQ(states.firstTraversed(), *traversed.begin());
        }
        auto const& e = edges[pick(random)];
        bool const wasTraversed = traversed.erase(e) == 1;
        if (!wasTraversed && untraversed.erase(e) == 1) {
            traversed.insert(e);
        }
        EXPECT_EQ(states.walk(e.get()), wasTraversed);
    }
    EXPECT_FALSE(states.walk(nullptr));
}

TEST(EdgeOrderTest, IsAStrictWeakOrder)
{
    Graph g;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 3);
    std::vector<std::shared_ptr<Edge2D>> edges;
    while (edges.size() < 60) {
        auto e = g.factory().factory(g.p(coordinate(random), coordinate(random)),
                                     g.p(coordinate(random), coordinate(random)));
        if (e) {
            edges.push_back(e);
        }
    }
    EdgeOrder less;
    for (auto const& a : edges) {
        EXPECT_FALSE(less(a, a));
        for (auto const& b : edges) {
            if (a != b) {
                EXPECT_NE(less(a, b), less(b, a));
            }
            for (auto const& c : edges) {
                if (less(a, b) && less(b, c)) {
                    EXPECT_TRUE(less(a, c));
                }
            }
        }
    }
}

TEST(EdgeOrderTest, EdgesLeavingOneCornerGoCounterClockwise)
{
    Graph g;
    auto east = g.factory().factory(g.p(0, 0), g.p(2, 0));
    auto diagonal = g.factory().factory(g.p(0, 0), g.p(1, 1));
    auto north = g.factory().factory(g.p(0, 0), g.p(0, 3));
    auto shortEast = g.factory().factory(g.p(0, 0), g.p(1, 0));
    EdgeOrder less;
    EXPECT_TRUE(less(east, diagonal));
    EXPECT_TRUE(less(diagonal, north));
    EXPECT_TRUE(less(shortEast, east));
}
