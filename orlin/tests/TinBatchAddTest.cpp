// Batch addition (Tin::addTriangles, EdgeFactory::factoryAll) against single additions and
// against what the corner list alone says the TIN must hold.
#include "BatchTestSupport.h"

#include "orlin/core/Edge.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace tin::core;
using namespace batchtest;

namespace {

std::vector<TrianglePtr> addOneByOne(Tin& tin, std::vector<PointPtr> const& nodes, std::vector<std::uint32_t> const& c)
{
    std::vector<TrianglePtr> made;
    for (std::size_t k = 0; k + 2 < c.size(); k += 3) {
        made.push_back(tin.addTriangle(nodes[c[k]], nodes[c[k + 1]], nodes[c[k + 2]]));
    }
    return made;
}

std::vector<TrianglePtr> addInBatch(Tin& tin, std::vector<PointPtr> const& nodes, std::vector<std::uint32_t> const& c)
{
    std::vector<TrianglePtr> made(c.size() / 3);
    tin.addTriangles(nodes.data(), c.data(), made.size(), made.data());
    return made;
}

// What the corner list alone says: for the held triples (by number, in the order they were
// last added) every edge and vertex lists them in that order, the outline is the edges used
// an odd number of times, and the vertex count is the nodes used.
void expectListsOfTheCornerList(Tin const& tin, std::vector<PointPtr> const& nodes,
                                std::vector<std::uint32_t> const& corners, std::vector<std::size_t> const& held,
                                Numbering const& number)
{
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::vector<int>> byPair;
    std::map<std::uint32_t, std::vector<int>> byNode;
    for (std::size_t k : held) {
        std::uint32_t const* c = corners.data() + 3 * k;
        for (int i = 0; i < 3; ++i) {
            std::uint32_t const a = c[(i + 1) % 3], b = c[(i + 2) % 3];
            byPair[{std::min(a, b), std::max(a, b)}].push_back(static_cast<int>(k));
            byNode[c[i]].push_back(static_cast<int>(k));
        }
    }
    ASSERT_EQ(tin.allTriangles().size(), held.size());
    EXPECT_EQ(static_cast<std::size_t>(tin.pointCount()), byNode.size());
    std::size_t odd = 0;
    for (auto const& [pair, list] : byPair) {
        auto const edge = EdgeFactory::instance().factory(nodes[pair.first], nodes[pair.second]);
        ASSERT_EQ(numbersOf(tin.findTriangleFromEdge(edge), number), list);
        odd += list.size() % 2;
    }
    EXPECT_EQ(tin.outerEdges().size(), odd);
    for (auto const& [node, list] : byNode) {
        ASSERT_EQ(numbersOf(tin.findTriangleFromPoint(nodes[node]), number), list);
    }
}

} // namespace

TEST(TinBatchAddTest, SameTinAsSingleAdditions)
{
    // Larger than one internal batch, so that prefetching crosses batch ends.
    std::vector<PointPtr> const nodes = gridNodes(34);
    std::vector<std::uint32_t> const corners = cornerList(34, 5, true);
    ASSERT_GT(corners.size() / 3, 2048u);

    Tin single;
    std::vector<TrianglePtr> const one = addOneByOne(single, nodes, corners);
    Tin batch;
    std::vector<TrianglePtr> const all = addInBatch(batch, nodes, corners);

    ASSERT_EQ(one.size(), all.size());
    auto const oneNumber = numbering(one);
    auto const allNumber = numbering(all);
    for (std::size_t k = 0; k < one.size(); ++k) {
        ASSERT_EQ(one[k] == nullptr, all[k] == nullptr) << "triple " << k;
        if (!one[k]) {
            continue;
        }
        for (int i = 0; i < 3; ++i) {
            // Both TINs live at once, so the factory hands both the very same edge.
            EXPECT_EQ(one[k]->point(i), all[k]->point(i));
            EXPECT_EQ(one[k]->edge(i), all[k]->edge(i)) << "triple " << k << " edge " << i;
        }
        EXPECT_TRUE(batch.containsTriangle(all[k]));
    }
    EXPECT_EQ(single.allTriangles().size(), batch.allTriangles().size());
    EXPECT_EQ(single.pointCount(), batch.pointCount());

    std::vector<Edge*> outerOne = single.outerEdges();
    std::vector<Edge*> outerAll = batch.outerEdges();
    std::sort(outerOne.begin(), outerOne.end());
    std::sort(outerAll.begin(), outerAll.end());
    EXPECT_EQ(outerOne, outerAll);

    for (std::size_t k = 0; k < one.size(); ++k) {
        if (!one[k]) {
            continue;
        }
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(numbersOf(single.findTriangleFromEdge(one[k]->edge(i)), oneNumber),
                      numbersOf(batch.findTriangleFromEdge(all[k]->edge(i)), allNumber));
            EXPECT_EQ(numbersOf(single.findTriangleFromPoint(one[k]->point(i)), oneNumber),
                      numbersOf(batch.findTriangleFromPoint(all[k]->point(i)), allNumber));
        }
    }
}

TEST(TinBatchAddTest, TopologyFollowsFromTheCornerList)
{
    // Built alone, so every edge is made by the batch itself; the corner list is the oracle.
    std::vector<PointPtr> const nodes = gridNodes(23);
    std::vector<std::uint32_t> const corners = cornerList(23, 9, true);
    Tin tin;
    std::vector<TrianglePtr> const made = addInBatch(tin, nodes, corners);
    std::vector<std::size_t> held;
    for (std::size_t k = 0; k < made.size(); ++k) {
        std::uint32_t const* c = corners.data() + 3 * k;
        ASSERT_EQ(made[k] == nullptr, degenerate(nodes, c)) << "triple " << k;
        if (!made[k]) {
            continue;
        }
        held.push_back(k);
        for (int i = 0; i < 3; ++i) {
            // Edge i is opposite corner i.
            Edge const& e = *made[k]->edge(i);
            PointPtr const& a = nodes[c[(i + 1) % 3]];
            PointPtr const& b = nodes[c[(i + 2) % 3]];
            EXPECT_TRUE((e.point1() == a && e.point2() == b) || (e.point1() == b && e.point2() == a));
        }
    }
    expectListsOfTheCornerList(tin, nodes, corners, held, numbering(made));
}

TEST(TinBatchAddTest, AddsToAFilledTinWithItsIndexBuilt)
{
    std::vector<PointPtr> const nodes = gridNodes(12);
    std::vector<std::uint32_t> const corners = cornerList(12, 3, true);
    std::size_t const half = corners.size() / 6 * 3;
    std::vector<std::uint32_t> const first(corners.begin(), corners.begin() + half);
    std::vector<std::uint32_t> const second(corners.begin() + half, corners.end());

    Tin single;
    addOneByOne(single, nodes, corners);
    Tin batch;
    addOneByOne(batch, nodes, first);
    Rect const everywhere(-1, -1, 20, 20);
    std::size_t const before = batch.findTrianglesIntersectRect(everywhere).size();
    EXPECT_EQ(before, batch.allTriangles().size());
    auto const rectBefore = batch.boundingRect();
    addInBatch(batch, nodes, second);

    EXPECT_EQ(batch.findTrianglesIntersectRect(everywhere).size(), batch.allTriangles().size());
    EXPECT_EQ(batch.allTriangles().size(), single.allTriangles().size());
    EXPECT_EQ(batch.pointCount(), single.pointCount());
    EXPECT_EQ(batch.outerEdges().size(), single.outerEdges().size());
    // The rectangle cache was dropped by the batch.
    EXPECT_GE(batch.boundingRect().width(), rectBefore.width());
    EXPECT_EQ(batch.boundingRect().width(), single.boundingRect().width());
}

TEST(TinBatchAddTest, ReadyTrianglesGiveTheSameListsAsSingleInsertions)
{
    // Ready triangles (made by another TIN) added in one call, with repeats and nulls among
    // them, into a TIN that already holds some of them and has its index built.
    std::vector<PointPtr> const nodes = gridNodes(40);
    std::vector<std::uint32_t> const corners = cornerList(40, 11, true);
    Tin source;
    std::vector<TrianglePtr> ready = addInBatch(source, nodes, corners);
    ready.insert(ready.end(), ready.begin(), ready.begin() + 100);
    ASSERT_GT(ready.size(), 2048u);

    Tin single;
    Tin batch;
    Rect const everywhere(-1, -1, 50, 50);
    for (std::size_t k = 0; k < 300; k += 3) {
        single.addTriangle(ready[k]);
        batch.addTriangle(ready[k]);
    }
    EXPECT_EQ(batch.findTrianglesIntersectRect(everywhere).size(), batch.allTriangles().size());
    for (auto const& t : ready) {
        single.addTriangle(t);
    }
    batch.addTriangles(ready.data(), ready.size());

    EXPECT_EQ(batch.allTriangles().size(), source.allTriangles().size());
    EXPECT_EQ(single.allTriangles().size(), batch.allTriangles().size());
    EXPECT_EQ(batch.findTrianglesIntersectRect(everywhere).size(), batch.allTriangles().size());
    auto const number = numbering(ready);
    for (auto const& t : ready) {
        if (!t) {
            continue;
        }
        EXPECT_TRUE(batch.containsTriangle(t));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(numbersOf(single.findTriangleFromEdge(t->edge(i)), number),
                      numbersOf(batch.findTriangleFromEdge(t->edge(i)), number));
            EXPECT_EQ(numbersOf(single.findTriangleFromPoint(t->point(i)), number),
                      numbersOf(batch.findTriangleFromPoint(t->point(i)), number));
        }
    }
}

TEST(EdgeFactoryBatchTest, SameEdgesAsSingleRequests)
{
    std::vector<PointPtr> nodes;
    for (int k = 0; k < 60; ++k) {
        nodes.push_back(std::make_shared<Point>(k, 2 * k, 0.0));
    }
    std::mt19937 random(17);
    std::uniform_int_distribution<std::size_t> pick(0, nodes.size() - 1);
    std::vector<PointPtr const*> ends;
    for (int k = 0; k < 3000; ++k) {
        std::size_t const a = pick(random);
        std::size_t b = pick(random);
        if (b == a) {
            b = (a + 1) % nodes.size();
        }
        ends.push_back(&nodes[a]);
        ends.push_back(&nodes[b]);
    }
    std::size_t const before = EdgeFactory::instance().size();
    std::vector<std::shared_ptr<Edge>> edges(ends.size() / 2);
    EdgeFactory::instance().factoryAll(ends.data(), edges.size(), edges.data());

    std::set<std::pair<Point const*, Point const*>> pairs;
    for (std::size_t k = 0; k < edges.size(); ++k) {
        PointPtr const& a = *ends[2 * k];
        PointPtr const& b = *ends[2 * k + 1];
        ASSERT_TRUE(edges[k]);
        // One edge per unordered pair, whichever order and however often it is asked for.
        EXPECT_EQ(edges[k], EdgeFactory::instance().factory(a, b));
        EXPECT_EQ(edges[k], EdgeFactory::instance().factory(b, a));
        EXPECT_EQ(edges[k]->point1().get(), std::min(a.get(), b.get()));
        pairs.insert({std::min(a.get(), b.get()), std::max(a.get(), b.get())});
    }
    EXPECT_EQ(EdgeFactory::instance().size(), before + pairs.size());
    edges.clear();
    EXPECT_EQ(EdgeFactory::instance().size(), before);
}

TEST(EdgeFactoryBatchTest, NullEndThrowsAfterServingThePairsBefore)
{
    auto a = std::make_shared<Point>(0, 0, 0.0);
    auto b = std::make_shared<Point>(1, 0, 0.0);
    PointPtr const none;
    std::vector<PointPtr const*> ends = {&a, &b, &a, &none};
    std::vector<std::shared_ptr<Edge>> edges(2);
    EXPECT_THROW(EdgeFactory::instance().factoryAll(ends.data(), 2, edges.data()), std::invalid_argument);
    EXPECT_EQ(edges[0], EdgeFactory::instance().factory(b, a));
    EXPECT_FALSE(edges[1]);
}

TEST(TinBatchAddTest, ReleasingATinFreesItsEdgesButSparesACopy)
{
    std::size_t const before = EdgeFactory::instance().size();
    std::vector<PointPtr> const nodes = gridNodes(20);
    std::vector<std::uint32_t> const corners = cornerList(20, 21, true);
    auto copy = std::make_unique<Tin>();
    {
        Tin tin;
        addInBatch(tin, nodes, corners);
        *copy = tin;
        Tin other;
        addInBatch(other, nodes, corners);
        other.clear();
        EXPECT_TRUE(other.empty());
        EXPECT_EQ(copy->allTriangles().size(), tin.allTriangles().size());
    }
    // The copy shared the records of the TIN that died: every triangle and edge lives on.
    std::size_t triangles = 0;
    std::set<Edge const*> edges;
    for (auto const& t : copy->allTriangles()) {
        ++triangles;
        for (int i = 0; i < 3; ++i) {
            edges.insert(t->edge(i).get());
        }
    }
    EXPECT_EQ(triangles, copy->allTriangles().size());
    EXPECT_EQ(EdgeFactory::instance().size(), before + edges.size());
    copy->clear();
    EXPECT_EQ(EdgeFactory::instance().size(), before);
    copy.reset();
    EXPECT_EQ(EdgeFactory::instance().size(), before);
}

TEST(TinBatchAddTest, InterleavedTinsKeepTheirListsThroughRemovals)
{
    // Two TINs built one triangle each in turn, so that their triangles alternate in memory
    // and the tables of each see every other object; then one loses its last half last-made
    // first (a TIN taken down), the other a random third, half of which comes back. The
    // corner list and the order of the edits say what every list must hold.
    std::vector<PointPtr> const nodes = gridNodes(30);
    std::vector<std::uint32_t> const corners = cornerList(30, 13, false);
    std::size_t const count = corners.size() / 3;
    Tin tins[2];
    std::vector<TrianglePtr> made[2];
    for (std::size_t k = 0; k < count; ++k) {
        std::uint32_t const* c = corners.data() + 3 * k;
        for (int t = 0; t < 2; ++t) {
            made[t].push_back(tins[t].addTriangle(nodes[c[0]], nodes[c[1]], nodes[c[2]]));
        }
    }
    // The held triangles of each TIN in the order they were last added.
    std::vector<std::size_t> order[2];
    for (int t = 0; t < 2; ++t) {
        for (std::size_t k = 0; k < count; ++k) {
            if (made[t][k]) {
                order[t].push_back(k);
            }
        }
    }
    std::size_t const kept = order[0].size() / 2;
    for (std::size_t n = order[0].size(); n-- > kept;) {
        tins[0].removeTriangle(made[0][order[0][n]]);
    }
    order[0].resize(kept);
    std::vector<std::size_t> shuffled = order[1];
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(21));
    shuffled.resize(shuffled.size() / 3);
    for (std::size_t k : shuffled) {
        tins[1].removeTriangle(made[1][k]);
        order[1].erase(std::find(order[1].begin(), order[1].end(), k));
    }
    shuffled.resize(shuffled.size() / 2);
    for (std::size_t k : shuffled) {
        tins[1].addTriangle(made[1][k]);
        order[1].push_back(k);
    }

    for (int t = 0; t < 2; ++t) {
        expectListsOfTheCornerList(tins[t], nodes, corners, order[t], numbering(made[t]));
        for (std::size_t k = 0; k < count; ++k) {
            if (made[t][k]) {
                EXPECT_EQ(tins[t].containsTriangle(made[t][k]),
                          std::find(order[t].begin(), order[t].end(), k) != order[t].end());
            }
        }
    }
}
