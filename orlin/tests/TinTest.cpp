#include "TinTestSupport.h"

#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <geos/geom/Envelope.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <vector>

using namespace tin::core;

namespace {

using PointPtr = std::shared_ptr<Point>;
using TrianglePtr = std::shared_ptr<Triangle>;

Rect const everywhere(-1e6, -1e6, 1e6, 1e6);

// (n + 1) x (n + 1) shared points on a unit grid with elevation x + y.
std::vector<PointPtr> gridPoints(int n)
{
    std::vector<PointPtr> points;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            points.push_back(std::make_shared<Point>(i, j, static_cast<double>(i + j)));
        }
    }
    return points;
}

// The two counter-clockwise triangles of every cell of the grid, as point indices.
std::vector<std::array<int, 3>> gridTriangles(int n)
{
    std::vector<std::array<int, 3>> triangles;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            int const a = j * (n + 1) + i;
            triangles.push_back({a, a + 1, a + n + 2});
            triangles.push_back({a, a + n + 2, a + n + 1});
        }
    }
    return triangles;
}

TEST(TinTest, TriangleWithRepeatedOrInternedToOnePointIsNotAdded)
{
    auto p = std::make_shared<Point>(0.0, 0.0);
    auto q = std::make_shared<Point>(1.0, 0.0);
    Tin tin;
    EXPECT_EQ(tin.addTriangle(p, p, q), nullptr);
    EXPECT_EQ(tin.addTriangle(p, q, q), nullptr);
    EXPECT_EQ(tin.addTriangle(q, p, q), nullptr);
    // Corners within the factory's 1e-8 become one shared point. Far from other tests' points.
    Point const a(7001.0, 3.0, 1.0);
    Point const b(7001.0 + 5e-9, 3.0, 1.0);
    Point const c(7002.0, 4.0, 1.0);
    EXPECT_EQ(tin.addTriangle(a, b, c), nullptr);
    EXPECT_TRUE(tin.empty());
    EXPECT_EQ(tin.pointCount(), 0);
    EXPECT_TRUE(tin.outerEdges().empty());
    EXPECT_FALSE(tin.boundingRect().isValid());

    auto made = tin.addTriangle(a, c, Point(7001.0, 5.0, 1.0));
    auto again = tin.addTriangle(b, c, Point(7001.0, 5.0, 1.0));
    ASSERT_TRUE(made && again);
    EXPECT_EQ(made->point(0), again->point(0));
    EXPECT_EQ(tin.pointCount(), 3);
}

// Random removals and additions against a plain model of the adjacency lists.
class TinModelTest : public ::testing::TestWithParam<ContainerType> { };

TEST_P(TinModelTest, AdjacencyCachesAndIndexFollowRandomEdits)
{
    int const n = 6;
    auto points = gridPoints(n);
    Tin tin(GetParam());
    std::vector<TrianglePtr> held;
    std::vector<TrianglePtr> removed;
    std::map<Edge*, std::vector<Triangle*>> edgeModel;
    std::map<Point*, std::vector<Triangle*>> pointModel;
    std::set<std::shared_ptr<Edge>> allEdges;

    auto modelAdd = [&](TrianglePtr const& t) {
        held.push_back(t);
        for (int i = 0; i < 3; ++i) {
            edgeModel[t->edge(i).get()].push_back(t.get());
            pointModel[t->point(i).get()].push_back(t.get());
            allEdges.insert(t->edge(i));
        }
    };
    auto eraseFirst = [](auto& model, auto* key, Triangle* t) {
        auto& list = model[key];
        list.erase(std::find(list.begin(), list.end(), t));
        if (list.empty()) {
            model.erase(key);
        }
    };
    auto modelRemove = [&](std::size_t k) {
        TrianglePtr t = held[k];
        held.erase(held.begin() + static_cast<long>(k));
        for (int i = 0; i < 3; ++i) {
            eraseFirst(edgeModel, t->edge(i).get(), t.get());
            eraseFirst(pointModel, t->point(i).get(), t.get());
        }
        removed.push_back(t);
        return t;
    };

    auto const cells = gridTriangles(n);
    for (auto const& t : cells) {
        modelAdd(tin.addTriangle(points[t[0]], points[t[1]], points[t[2]]));
    }

    std::mt19937 random(20260509);
    for (int step = 0; step < 400; ++step) {
        int const action = static_cast<int>(random() % 4);
        if (action <= 1 && !held.empty()) {
            tin.removeTriangle(modelRemove(random() % held.size()));
        } else if (action == 2 && step % 7 == 0 && !removed.empty()) {
            tin.removeTriangle(removed[random() % removed.size()]); // not held: nothing changes
        } else if (action == 2 && !removed.empty()) {
            std::size_t const k = random() % removed.size();
            TrianglePtr t = removed[k];
            removed.erase(removed.begin() + static_cast<long>(k));
            tin.addTriangle(t);
            modelAdd(t);
        } else {
            auto const t = cells[random() % cells.size()];
            modelAdd(tin.addTriangle(points[t[0]], points[t[1]], points[t[2]]));
        }

        ASSERT_EQ(tin.allTriangles().size(), held.size());
        for (auto const& edge : allEdges) {
            std::vector<Triangle*> listed;
            for (auto const& t : tin.findTriangleFromEdge(edge)) {
                listed.push_back(t.get());
            }
            auto model = edgeModel.find(edge.get());
            ASSERT_EQ(listed, model == edgeModel.end() ? std::vector<Triangle*>() : model->second) << "step " << step;
        }
        std::set<Edge*> odd;
        for (auto const& [edge, list] : edgeModel) {
            if (list.size() % 2 == 1) {
                odd.insert(edge);
            }
        }
        auto outer = tin.outerEdges();
        ASSERT_EQ(std::set<Edge*>(outer.begin(), outer.end()), odd);
        ASSERT_EQ(tin.pointCount(), static_cast<int>(pointModel.size()));

        if (step % 5 == 0) {
            for (auto const& point : points) {
                std::vector<Triangle*> listed;
                for (auto const& t : tin.findTriangleFromPoint(point)) {
                    listed.push_back(t.get());
                }
                auto model = pointModel.find(point.get());
                bool const isVertex = model != pointModel.end();
                ASSERT_EQ(listed, isVertex ? model->second : std::vector<Triangle*>());
                auto at = tin.findPointsAt(*point);
                ASSERT_EQ(at.size(), isVertex ? 1u : 0u);
                if (isVertex) {
                    ASSERT_EQ(at[0], point);
                }
            }
        }
        if (step % 3 == 0) {
            ASSERT_EQ(tintest::objectsOf(tin.findTrianglesIntersectRect(everywhere)), tintest::objectsOf(held));
            ASSERT_EQ(tintest::objectsOf(tin.allTriangles()), tintest::objectsOf(held));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothKinds, TinModelTest, ::testing::Values(Quadtree, STRtree),
    [](auto const& info) { return info.param == Quadtree ? std::string("Quadtree") : std::string("STRtree"); });

TEST(TinTest, ChurnKeepsEveryTriangleFindable)
{
    // Thousands of removals and re-insertions shift the entries of the triangle table back.
    auto points = gridPoints(40);
    Tin tin;
    std::vector<TrianglePtr> all;
    for (auto const& t : gridTriangles(40)) {
        all.push_back(tin.addTriangle(points[t[0]], points[t[1]], points[t[2]]));
    }
    std::mt19937 random(11);
    std::vector<bool> held(all.size(), true);
    for (int round = 0; round < 20000; ++round) {
        std::size_t const k = random() % all.size();
        if (held[k]) {
            tin.removeTriangle(all[k]);
        } else {
            tin.addTriangle(all[k]);
        }
        held[k] = !held[k];
    }
    std::set<Triangle const*> expected;
    for (std::size_t k = 0; k < all.size(); ++k) {
        ASSERT_EQ(tin.containsTriangle(all[k]), held[k]);
        if (held[k]) {
            expected.insert(all[k].get());
        }
    }
    EXPECT_EQ(tintest::objectsOf(tin.allTriangles()), expected);
    EXPECT_EQ(tin.allTriangles().size(), expected.size());
}

// A TIN rebuilt from scratch from `held`, in that order, has the same adjacency lists (in
// insertion order), outline edges, vertices and index answers as `tin` must have.
void expectSameAsFreshTin(Tin& tin, std::vector<TrianglePtr> const& held, ContainerType kind)
{
    Tin fresh(kind);
    for (auto const& t : held) {
        fresh.addTriangle(t);
    }
    ASSERT_EQ(tin.allTriangles().size(), held.size());
    ASSERT_EQ(tintest::objectsOf(tin.allTriangles()), tintest::objectsOf(held));
    std::set<Edge*> edgesSeen;
    std::set<Point*> pointsSeen;
    for (auto const& t : held) {
        for (int i = 0; i < 3; ++i) {
            if (edgesSeen.insert(t->edge(i).get()).second) {
                ASSERT_EQ(tin.findTriangleFromEdge(t->edge(i)), fresh.findTriangleFromEdge(t->edge(i)));
            }
            if (pointsSeen.insert(t->point(i).get()).second) {
                ASSERT_EQ(tin.findTriangleFromPoint(t->point(i)), fresh.findTriangleFromPoint(t->point(i)));
                ASSERT_EQ(tin.findPointsAt(*t->point(i)), fresh.findPointsAt(*t->point(i)));
            }
        }
    }
    auto outer = tin.outerEdges();
    auto freshOuter = fresh.outerEdges();
    ASSERT_EQ(std::set<Edge*>(outer.begin(), outer.end()), std::set<Edge*>(freshOuter.begin(), freshOuter.end()));
    ASSERT_EQ(tin.pointCount(), fresh.pointCount());
    Rect const box = fresh.boundingRect();
    ASSERT_EQ(tin.boundingRect().xMin(), box.xMin());
    ASSERT_EQ(tin.boundingRect().yMax(), box.yMax());
    ASSERT_EQ(tintest::objectsOf(tin.findTrianglesIntersectRect(everywhere)), tintest::objectsOf(held));
    for (int k = 0; k < 20; ++k) {
        Rect const r(k * 7.3, k * 5.1, k * 7.3 + 9.0, k * 5.1 + 6.0);
        ASSERT_EQ(tintest::objectsOf(tin.findTrianglesIntersectRect(r)), tintest::objectsOf(fresh.findTrianglesIntersectRect(r)));
    }
}

// Copies share their tables until they write; a TIN large enough for several chunks per
// table is copied, then source and copy (and a copy of the copy) are edited apart and each
// must equal a TIN built afresh from its triangles. The source dies before the second copy.
class TinCopyTest : public ::testing::TestWithParam<ContainerType> { };

TEST_P(TinCopyTest, CopiesEditedApartMatchFreshTins)
{
    int const n = 300; // 180,000 triangles: every table spans several chunks
    auto points = gridPoints(n);
    auto const cells = gridTriangles(n);
    auto source = std::make_unique<Tin>(GetParam());
    std::vector<TrianglePtr> sourceOrder; // each TIN's triangles in insertion order
    for (auto const& t : cells) {
        sourceOrder.push_back(source->addTriangle(points[t[0]], points[t[1]], points[t[2]]));
    }
    std::vector<TrianglePtr> const all = sourceOrder;
    source->findTrianglesIntersectRect(Rect(1.5, 1.5, 1.5, 1.5)); // builds the index the copy shares
    Tin copy(*source);
    std::vector<TrianglePtr> copyOrder = sourceOrder;

    // Removes a random tenth of the 40 x 40 cells at (x0, y0), re-adds half of those and adds
    // new triangles there: a small local edit, like a merge.
    std::mt19937 random(23);
    auto edit = [&](Tin& tin, std::vector<TrianglePtr>& order, int x0, int y0) {
        std::vector<TrianglePtr> removed;
        for (int j = y0; j < y0 + 40; ++j) {
            for (int i = x0; i < x0 + 40; ++i) {
                for (int half = 0; half < 2; ++half) {
                    auto const& t = all[static_cast<std::size_t>(2 * (j * n + i) + half)];
                    if (random() % 10 == 0 && tin.containsTriangle(t)) {
                        tin.removeTriangle(t);
                        order.erase(std::find(order.begin(), order.end(), t));
                        removed.push_back(t);
                    }
                }
            }
        }
        for (std::size_t k = 0; k < removed.size(); k += 2) {
            tin.addTriangle(removed[k]);
            order.push_back(removed[k]);
        }
        for (int k = 0; k < 50; ++k) {
            auto const& t = cells[static_cast<std::size_t>(2 * ((y0 + k % 40) * n + x0 + k / 2))];
            order.push_back(tin.addTriangle(points[t[0]], points[t[1]], points[t[2]]));
        }
    };
    edit(*source, sourceOrder, 10, 10);
    edit(copy, copyOrder, 200, 150);
    edit(copy, copyOrder, 12, 20); // overlaps what the source changed
    expectSameAsFreshTin(*source, sourceOrder, GetParam());
    source.reset();

    Tin second(copy);
    std::vector<TrianglePtr> secondOrder = copyOrder;
    edit(second, secondOrder, 100, 100);
    edit(copy, copyOrder, 100, 110);
    expectSameAsFreshTin(copy, copyOrder, GetParam());
    expectSameAsFreshTin(second, secondOrder, GetParam());
}

INSTANTIATE_TEST_SUITE_P(BothKinds, TinCopyTest, ::testing::Values(Quadtree, STRtree),
    [](auto const& info) { return info.param == Quadtree ? std::string("Quadtree") : std::string("STRtree"); });

TEST(TinTest, AssignmentAndSelfAssignmentKeepTrianglesAndIndex)
{
    auto points = gridPoints(2);
    Tin tin;
    for (auto const& t : gridTriangles(2)) {
        tin.addTriangle(points[t[0]], points[t[1]], points[t[2]]);
    }
    tin.findTrianglesIntersectRect(everywhere);
    Tin& alias = tin;
    tin = alias;
    EXPECT_EQ(tin.allTriangles().size(), 8u);
    EXPECT_EQ(tin.findTrianglesIntersectRect(everywhere).size(), 8u);
    EXPECT_EQ(tin.findTriangleFromPoint(points[4]).size(), 6u);
    Tin assigned;
    assigned.addTriangle(points[0], points[1], points[4]);
    assigned = tin;
    tin.removeTriangle(*tin.allTriangles().begin());
    EXPECT_EQ(assigned.findTrianglesIntersectRect(everywhere).size(), 8u);
    EXPECT_EQ(assigned.outerEdges().size(), 8u);
}

class TinIndexTest : public ::testing::TestWithParam<ContainerType> { };

TEST_P(TinIndexTest, IndexFollowsInsertionsAfterQueries)
{
    auto points = gridPoints(4);
    Tin tin(GetParam());
    auto triangles = gridTriangles(4);
    tin.addTriangle(points[triangles[0][0]], points[triangles[0][1]], points[triangles[0][2]]);
    for (std::size_t k = 1; k < triangles.size(); ++k) {
        ASSERT_EQ(tin.findTrianglesIntersectRect(everywhere).size(), k);
        auto t = tin.addTriangle(points[triangles[k][0]], points[triangles[k][1]], points[triangles[k][2]]);
        auto box = t->boundingRect();
        auto found = tin.findTrianglesInRect(Rect(box.xMin(), box.yMin(), box.xMax(), box.yMax()));
        ASSERT_EQ(tintest::objectsOf(found).count(t.get()), 1u); // with the other triangle of its cell
        ASSERT_LE(found.size(), 2u);
    }
    auto first = tin.findTrianglesIntersectRect(Rect(0.5, 0.5, 0.5, 0.5));
    ASSERT_EQ(first.size(), 2u); // both triangles of the first cell
    tin.removeTriangle(first[0]);
    auto left = tin.findTrianglesIntersectRect(Rect(0.5, 0.5, 0.5, 0.5));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0], first[1]);

    tin.clear();
    EXPECT_TRUE(tin.findTrianglesIntersectRect(everywhere).empty());
    auto again = tin.addTriangle(points[0], points[1], points[6]);
    EXPECT_EQ(tin.findTrianglesIntersectRect(everywhere), std::vector<TrianglePtr>{again});
}

INSTANTIATE_TEST_SUITE_P(BothKinds, TinIndexTest, ::testing::Values(Quadtree, STRtree),
    [](auto const& info) { return info.param == Quadtree ? std::string("Quadtree") : std::string("STRtree"); });

TEST(TinTest, RectangleQueriesUseClosedBoundsAndEnvelopeAsGiven)
{
    auto points = gridPoints(1);
    Tin tin;
    auto t = tin.addTriangle(points[0], points[1], points[3]); // box (0,0)-(1,1)
    EXPECT_EQ(tin.findTrianglesInRect(Rect(0.0, 0.0, 1.0, 1.0)).size(), 1u);
    EXPECT_TRUE(tin.findTrianglesInRect(Rect(0.0, 0.0, 1.0, 0.999)).empty());
    EXPECT_EQ(tin.findTrianglesIntersectRect(Rect(1.0, 1.0, 2.0, 2.0)).size(), 1u);
    EXPECT_TRUE(tin.findTrianglesIntersectRect(Rect()).empty());
    EXPECT_TRUE(tin.findTrianglesInRect(Rect()).empty());
    // A degenerate Rect on the border still meets the triangle; an envelope is taken as given.
    EXPECT_EQ(tin.findTrianglesIntersectRect(Rect(1.0, 0.5, 1.0, 0.5)).size(), 1u);
    EXPECT_TRUE(tin.findTrianglesIntersectRect(Rect(1.0 + 4e-7, 0.5, 1.0 + 4e-7, 0.5)).empty());
    EXPECT_TRUE(tin.findTrianglesIntersectRect(geos::geom::Envelope(1.0 + 4e-7, 2.0, 0.0, 1.0)).empty());
    EXPECT_EQ(tin.findTrianglesIntersectRect(geos::geom::Envelope(1.0, 2.0, 0.0, 1.0)).size(), 1u);
}

TEST(TinTest, CachesFollowChanges)
{
    Tin tin;
    auto a = std::make_shared<Point>(0.0, 0.0, 1.0);
    auto b = std::make_shared<Point>(2.0, 0.0, 1.0);
    auto c = std::make_shared<Point>(0.0, 3.0, 1.0);
    tin.addTriangle(a, b, c);
    EXPECT_EQ(tin.boundingRect().xMax(), 2.0);
    EXPECT_EQ(tin.findPointsAt(Point2D(2.0, 0.0)), std::vector<PointPtr>{b});
    EXPECT_TRUE(tin.findPointsAt(Point2D(2.0 + 1e-12, 0.0)).empty());

    // A second vertex object at b's position (a vertical step) and a triangle beyond the box.
    auto step = std::make_shared<Point>(2.0, 0.0, 5.0);
    auto far = std::make_shared<Point>(5.0, -1.0, 1.0);
    tin.addTriangle(step, far, c);
    EXPECT_EQ(tin.boundingRect().xMax(), 5.0);
    EXPECT_EQ(tin.boundingRect().yMin(), -1.0);
    auto both = tin.findPointsAt(Point2D(2.0, 0.0));
    EXPECT_EQ(std::set<PointPtr>(both.begin(), both.end()), (std::set<PointPtr>{b, step}));
    EXPECT_EQ(tin.pointCount(), 5);
}

TEST(TinTest, InteriorPointOfEmptyTinIsRefused)
{
    Tin tin;
    EXPECT_THROW(tin.getInteriorPoint(), std::out_of_range);
    auto points = gridPoints(1);
    tin.addTriangle(points[0], points[1], points[3]);
    Point2D const centre = tin.getInteriorPoint();
    EXPECT_DOUBLE_EQ(centre.x(), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(centre.y(), 1.0 / 3.0);
}

TEST(TinTest, SlotsGiveTheTrianglesInIterationOrderWithNullsForFreedOnes)
{
    Tin tin;
    std::vector<PointPtr> nodes;
    for (int k = 0; k < 12; ++k) {
        nodes.push_back(std::make_shared<Point>(k, k % 3, 0.0));
    }
    std::vector<TrianglePtr> made;
    for (int k = 0; k + 2 < 12; ++k) {
        made.push_back(tin.addTriangle(nodes[k], nodes[k + 1], nodes[k + 2]));
    }
    tin.removeTriangle(made[2]);
    tin.removeTriangle(made[7]);
    const TriangleSet& all = tin.allTriangles();
    std::vector<const Triangle*> walked;
    for (const TrianglePtr& t : all) {
        walked.push_back(t.get());
    }
    std::vector<const Triangle*> slots;
    std::size_t freed = 0;
    for (std::size_t k = 0; k < all.slotCount(); ++k) {
        if (all.slotAt(k)) {
            slots.push_back(all.slotAt(k));
        } else {
            ++freed;
        }
    }
    EXPECT_EQ(slots, walked);
    EXPECT_EQ(slots.size(), all.size());
    EXPECT_EQ(freed, all.slotCount() - all.size());
    EXPECT_EQ(made[0].use_count(), 2); // read, not copied
}

} // namespace
