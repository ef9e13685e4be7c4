// Batch addition (Tin::addTriangles, EdgeFactory::factoryAll) against single additions and
// against what the corner list alone says the TIN must hold.
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

namespace {

using PointPtr = std::shared_ptr<Point>;
using TrianglePtr = std::shared_ptr<Triangle>;

// Nodes of an n x n grid (private objects: no factory, so every test has its own points),
// plus one null slot at the end.
std::vector<PointPtr> gridNodes(int n)
{
    std::vector<PointPtr> nodes;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            nodes.push_back(std::make_shared<Point>(i, j, 0.1 * i * j));
        }
    }
    nodes.push_back(nullptr);
    return nodes;
}

// The grid's two triangles per cell in a shuffled order, then the awkward cases: repeated
// triples, triples with a repeated or null corner, and triples of two distinct point objects
// at one position (a valid, if flat, triangle as far as the TIN is concerned).
std::vector<std::uint32_t> cornerList(int n, unsigned seed)
{
    std::vector<std::uint32_t> corners;
    auto node = [n](int i, int j) { return static_cast<std::uint32_t>(j * n + i); };
    std::vector<std::pair<int, int>> cells;
    for (int j = 0; j + 1 < n; ++j) {
        for (int i = 0; i + 1 < n; ++i) {
            cells.emplace_back(i, j);
        }
    }
    std::shuffle(cells.begin(), cells.end(), std::mt19937(seed));
    for (auto [i, j] : cells) {
        corners.insert(corners.end(), {node(i, j), node(i + 1, j), node(i + 1, j + 1)});
        corners.insert(corners.end(), {node(i, j), node(i + 1, j + 1), node(i, j + 1)});
    }
    std::uint32_t const null = static_cast<std::uint32_t>(n * n);
    std::mt19937 random(seed + 1);
    std::uniform_int_distribution<std::size_t> pick(0, corners.size() / 3 - 1);
    for (int k = 0; k < 200; ++k) {
        std::size_t const t = pick(random);
        std::uint32_t const a = corners[3 * t], b = corners[3 * t + 1], c = corners[3 * t + 2];
        switch (k % 5) {
        case 0: corners.insert(corners.end(), {a, b, c}); break; // the same triple again
        case 1: corners.insert(corners.end(), {c, b, a}); break; // reversed
        case 2: corners.insert(corners.end(), {a, a, c}); break; // degenerate
        case 3: corners.insert(corners.end(), {a, b, null}); break; // null corner
        default: corners.insert(corners.end(), {b, c, b}); break; // degenerate
        }
    }
    return corners;
}

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

// A triangle's number in the addition order, -1 for one not made by it.
std::map<Triangle const*, int> numbering(std::vector<TrianglePtr> const& made)
{
    std::map<Triangle const*, int> number;
    for (std::size_t k = 0; k < made.size(); ++k) {
        if (made[k]) {
            number[made[k].get()] = static_cast<int>(k);
        }
    }
    return number;
}

std::vector<int> numbersOf(std::vector<TrianglePtr> const& list, std::map<Triangle const*, int> const& number)
{
    std::vector<int> result;
    for (auto const& t : list) {
        auto const it = number.find(t.get());
        result.push_back(it == number.end() ? -1 : it->second);
    }
    return result;
}

bool degenerate(std::vector<PointPtr> const& nodes, std::uint32_t const* c)
{
    return !nodes[c[0]] || !nodes[c[1]] || !nodes[c[2]] || c[0] == c[1] || c[1] == c[2] || c[0] == c[2];
}

} // namespace

TEST(TinBatchAddTest, SameTinAsSingleAdditions)
{
    // Larger than one internal batch, so that prefetching crosses batch ends.
    std::vector<PointPtr> const nodes = gridNodes(34);
    std::vector<std::uint32_t> const corners = cornerList(34, 5);
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
    std::vector<std::uint32_t> const corners = cornerList(23, 9);
    std::size_t const count = corners.size() / 3;
    Tin tin;
    std::vector<TrianglePtr> const made = addInBatch(tin, nodes, corners);

    std::map<std::pair<std::uint32_t, std::uint32_t>, std::vector<int>> byPair;
    std::map<std::uint32_t, std::vector<int>> byNode;
    std::size_t triangles = 0;
    for (std::size_t k = 0; k < count; ++k) {
        std::uint32_t const* c = corners.data() + 3 * k;
        ASSERT_EQ(made[k] == nullptr, degenerate(nodes, c)) << "triple " << k;
        if (!made[k]) {
            continue;
        }
        ++triangles;
        for (int i = 0; i < 3; ++i) {
            std::uint32_t const a = c[(i + 1) % 3], b = c[(i + 2) % 3];
            byPair[{std::min(a, b), std::max(a, b)}].push_back(static_cast<int>(k));
            byNode[c[i]].push_back(static_cast<int>(k));
            // Edge i is opposite corner i.
            Edge const& e = *made[k]->edge(i);
            EXPECT_TRUE((e.point1() == nodes[a] && e.point2() == nodes[b])
                        || (e.point1() == nodes[b] && e.point2() == nodes[a]));
        }
    }
    EXPECT_EQ(tin.allTriangles().size(), triangles);
    EXPECT_EQ(static_cast<std::size_t>(tin.pointCount()), byNode.size());

    auto const number = numbering(made);
    std::size_t odd = 0;
    for (auto const& [pair, list] : byPair) {
        auto const edge = EdgeFactory::instance().factory(nodes[pair.first], nodes[pair.second]);
        EXPECT_EQ(numbersOf(tin.findTriangleFromEdge(edge), number), list);
        odd += list.size() % 2;
    }
    EXPECT_EQ(tin.outerEdges().size(), odd);
    for (auto const& [node, list] : byNode) {
        EXPECT_EQ(numbersOf(tin.findTriangleFromPoint(nodes[node]), number), list);
    }
}

TEST(TinBatchAddTest, AddsToAFilledTinWithItsIndexBuilt)
{
    std::vector<PointPtr> const nodes = gridNodes(12);
    std::vector<std::uint32_t> const corners = cornerList(12, 3);
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
    std::vector<std::uint32_t> const corners = cornerList(40, 11);
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

TEST(TinBatchAddTest, EmptyBatchChangesNothing)
{
    std::vector<PointPtr> const nodes = gridNodes(2);
    Tin tin;
    tin.addTriangles(nodes.data(), nullptr, 0);
    EXPECT_TRUE(tin.empty());
    EXPECT_EQ(tin.pointCount(), 0);
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
    std::vector<std::uint32_t> const corners = cornerList(20, 21);
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
    std::vector<std::uint32_t> const corners = cornerList(30, 13);
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
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::vector<int>> byPair;
        std::map<std::uint32_t, std::vector<int>> byNode;
        for (std::size_t k : order[t]) {
            std::uint32_t const* c = corners.data() + 3 * k;
            for (int i = 0; i < 3; ++i) {
                std::uint32_t const a = c[(i + 1) % 3], b = c[(i + 2) % 3];
                byPair[{std::min(a, b), std::max(a, b)}].push_back(static_cast<int>(k));
                byNode[c[i]].push_back(static_cast<int>(k));
            }
        }
        ASSERT_EQ(tins[t].allTriangles().size(), order[t].size());
        EXPECT_EQ(static_cast<std::size_t>(tins[t].pointCount()), byNode.size());
        auto const number = numbering(made[t]);
        for (auto const& [pair, list] : byPair) {
            auto const edge = EdgeFactory::instance().factory(nodes[pair.first], nodes[pair.second]);
            ASSERT_EQ(numbersOf(tins[t].findTriangleFromEdge(edge), number), list) << "TIN " << t;
        }
        for (auto const& [node, list] : byNode) {
            ASSERT_EQ(numbersOf(tins[t].findTriangleFromPoint(nodes[node]), number), list) << "TIN " << t;
        }
        for (std::size_t k = 0; k < count; ++k) {
            if (made[t][k]) {
                EXPECT_EQ(tins[t].containsTriangle(made[t][k]),
                          std::find(order[t].begin(), order[t].end(), k) != order[t].end());
            }
        }
    }
}
