#include "orlin/core/Edge.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include "IoTestSupport.h"

#include <geos/geom/LineString.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

using namespace tin::core;

namespace {
EdgeFactory& ef()
{
    return EdgeFactory::instance();
}
}

TEST(EdgeTest, LineStringKeepsItsFirstPositionsAndNullEndsAreRejected)
{
    auto p = std::make_shared<Point>(4, 1, 2.0);
    auto q = std::make_shared<Point>(1, 5, 3.0);
    Edge e(p, q, 9);
    EXPECT_EQ(e.geosLineString()->getLength(), 5);
    p->setX(0);
    EXPECT_EQ(e.geosLineString()->getCoordinateN(0).x, 4);
    EXPECT_THROW(Edge(p, nullptr), std::invalid_argument);
    EXPECT_THROW(ef().factory(nullptr, p), std::invalid_argument);
}

TEST(EdgeFactoryTest, OneEdgePerUnorderedPairOfObjects)
{
    auto p = std::make_shared<Point>(0, 0);
    auto q = std::make_shared<Point>(1, 0);
    auto e1 = ef().factory(p, q);
    auto e2 = ef().factory(q, p);
    EXPECT_EQ(e1, e2);
    const Point* low = std::less<const Point*>()(p.get(), q.get()) ? p.get() : q.get();
    EXPECT_EQ(e1->point1().get(), low);
    // Another object at the same position is another vertex.
    auto q2 = std::make_shared<Point>(1, 0);
    EXPECT_NE(ef().factory(p, q2), e1);
}

TEST(EdgeFactoryTest, ReleasedPairGivesANewEdge)
{
    auto p = std::make_shared<Point>(0, 0);
    auto q = std::make_shared<Point>(1, 1);
    const std::size_t before = ef().size();
    std::weak_ptr<Edge> weak;
    {
        auto e = ef().factory(p, q);
        e->setId(5);
        weak = e;
        EXPECT_EQ(ef().size(), before + 1);
        auto held = ef().factory(q, p);
        e.reset();
        EXPECT_EQ(ef().factory(p, q)->id(), 5); // still held
    }
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(ef().size(), before); // a dead edge leaves no entry behind
    auto fresh = ef().factory(q, p);
    EXPECT_EQ(fresh->id(), -1);
}

TEST(EdgeFactoryTest, SamePointTwiceIsAnEdgeToo)
{
    auto p = std::make_shared<Point>(0, 0);
    auto e = ef().factory(p, p);
    EXPECT_EQ(e->point1(), p);
    EXPECT_EQ(e->point2(), p);
    EXPECT_EQ(ef().factory(p, p), e);
}

TEST(EdgeFactoryTest, TableMatchesAMapOfLiveEdgesUnderChurn)
{
    // Many edges made and released in random order: every held edge must still be
    // found, and released ones must not be.
    std::vector<std::shared_ptr<Point>> points;
    for (int i = 0; i < 400; ++i)
        points.push_back(std::make_shared<Point>(i, 0));
    const std::size_t base = ef().size();
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> pick(0, 399);
    std::map<std::pair<int, int>, std::shared_ptr<Edge>> held;
    for (int round = 0; round < 30000; ++round) {
        int i = pick(rng), j = pick(rng);
        if (j < i)
            std::swap(i, j);
        auto it = held.find({i, j});
        if (it != held.end() && (rng() & 1)) {
            held.erase(it);
            continue;
        }
        auto e = (rng() & 1) ? ef().factory(points[i], points[j]) : ef().factory(points[j], points[i]);
        if (it != held.end()) {
            ASSERT_EQ(e, it->second);
        } else {
            ASSERT_EQ(e->id(), -1);
            e->setId(round);
            held[{i, j}] = e;
        }
        ASSERT_EQ(ef().size(), base + held.size());
    }
    for (auto& kv : held)
        ASSERT_EQ(ef().factory(points[kv.first.second], points[kv.first.first]), kv.second);
    held.clear();
    EXPECT_EQ(ef().size(), base);
}

TEST(EdgeFactoryTest, LargeTableKeepsEveryEdgeThroughGrowthAndShrink)
{
    // Enough edges for the table to grow well past the small sizes the churn test reaches
    // and to shrink again: a rehash or a back shift that lost or misplaced an entry would
    // give a second edge for a held pair, or keep a released one.
    const int n = 400;
    std::vector<std::shared_ptr<Point>> points;
    for (int i = 0; i < n * n; ++i)
        points.push_back(std::make_shared<Point>(i % n, i / n));
    const std::size_t base = ef().size();
    std::vector<std::shared_ptr<Edge>> held;
    for (int i = 0; i + 1 < n * n; ++i) {
        held.push_back(ef().factory(points[i], points[i + 1]));
        if (i + n < n * n)
            held.push_back(ef().factory(points[i + n], points[i]));
    }
    ASSERT_EQ(ef().size(), base + held.size());
    std::mt19937 rng(11);
    std::shuffle(held.begin(), held.end(), rng);
    const std::size_t kept = held.size() / 10;
    for (std::size_t k = kept; k < held.size(); ++k) {
        held[k]->setId(1); // released below: the factory must forget them
    }
    std::vector<std::pair<Point*, Point*>> released;
    for (std::size_t k = kept; k < held.size(); ++k)
        released.emplace_back(held[k]->point1().get(), held[k]->point2().get());
    held.resize(kept);
    ASSERT_EQ(ef().size(), base + kept);
    for (const auto& e : held)
        ASSERT_EQ(ef().factory(e->point2(), e->point1()), e);
    std::map<Point*, std::shared_ptr<Point>> byAddress;
    for (const auto& p : points)
        byAddress[p.get()] = p;
    for (std::size_t k = 0; k < released.size(); k += 97) {
        auto e = ef().factory(byAddress[released[k].first], byAddress[released[k].second]);
        ASSERT_EQ(e->id(), -1);
    }
    held.clear();
    EXPECT_EQ(ef().size(), base);
}

TEST(EdgeFactoryTest, ManyEdgesOfOneLowerEndStayDistinct)
{
    // Edges sharing their lower end start their probes within a few slots of each other and
    // differ in few tag bits: a fan of hundreds around one point makes a long probe run full
    // of tag matches, which must still give each pair its own edge and lose none through
    // removals in between.
    std::vector<std::shared_ptr<Point>> points;
    for (int i = 0; i < 600; ++i)
        points.push_back(std::make_shared<Point>(i, 1));
    const auto lowest = std::min_element(points.begin(), points.end(),
        [](const auto& a, const auto& b) { return std::less<const Point*>()(a.get(), b.get()); });
    const std::shared_ptr<Point> hub = *lowest;
    points.erase(lowest);
    const std::size_t base = ef().size();
    std::vector<std::shared_ptr<Edge>> fan;
    for (std::size_t k = 0; k < points.size(); ++k) {
        fan.push_back(k % 2 ? ef().factory(hub, points[k]) : ef().factory(points[k], hub));
        ASSERT_EQ(fan.back()->point1(), hub);
        ASSERT_EQ(fan.back()->id(), -1);
        fan.back()->setId(static_cast<int>(k));
    }
    ASSERT_EQ(ef().size(), base + fan.size());
    // Every third edge goes, last made first, then all are asked for again.
    for (std::size_t k = fan.size(); k-- > 0;) {
        if (k % 3 == 0)
            fan[k].reset();
    }
    ASSERT_EQ(ef().size(), base + fan.size() - (fan.size() + 2) / 3);
    for (std::size_t k = 0; k < points.size(); ++k) {
        auto again = ef().factory(points[k], hub);
        if (fan[k]) {
            ASSERT_EQ(again, fan[k]);
            ASSERT_EQ(again->id(), static_cast<int>(k));
        } else {
            ASSERT_EQ(again->id(), -1);
        }
    }
    fan.clear();
    EXPECT_EQ(ef().size(), base);
}

TEST(EdgeFactoryTest, ATinLettingGoOfItsEdgesLeavesTheTableGrownForTheNext)
{
    const std::size_t base = ef().size();
    auto tin = std::make_unique<Tin>(iotest::gridTin(300, 300));
    const std::size_t edges = ef().size() - base;
    ASSERT_GT(edges, 250000u);
    const std::size_t grown = ef().capacity();
    std::vector<std::shared_ptr<Edge>> someEdges;
    for (const auto& t : tin->allTriangles()) {
        if (someEdges.size() < 100)
            someEdges.push_back(t->edge(0));
    }
    tin.reset();
    // The held edges are still found; the table did not shrink under the dying TIN.
    EXPECT_EQ(ef().size(), base + someEdges.size());
    EXPECT_EQ(ef().capacity(), grown);
    for (const auto& e : someEdges)
        ASSERT_EQ(ef().factory(e->point2(), e->point1()), e);

    // The next TIN of that size needs no growth.
    auto again = std::make_unique<Tin>(iotest::gridTin(300, 300, 1000.0));
    EXPECT_EQ(ef().capacity(), grown);
    again.reset();

    // Outside a hold, removals shrink a mostly empty table again.
    someEdges.clear();
    EXPECT_EQ(ef().size(), base);
    EXPECT_LT(ef().capacity(), grown);

    // Nested holds; a release without a hold changes nothing.
    ef().releaseCapacity();
    ef().holdCapacity();
    ef().holdCapacity();
    ef().releaseCapacity();
    {
        auto p = std::make_shared<Point>(0, 0);
        std::vector<std::shared_ptr<Point>> ps;
        std::vector<std::shared_ptr<Edge>> es;
        for (int i = 0; i < 100000; ++i) {
            ps.push_back(std::make_shared<Point>(i, 1));
            es.push_back(ef().factory(p, ps.back()));
        }
        const std::size_t full = ef().capacity();
        es.clear();
        EXPECT_EQ(ef().capacity(), full);
        ef().releaseCapacity();
        auto last = ef().factory(p, ps.front());
        last.reset();
        EXPECT_LT(ef().capacity(), full);
    }
    EXPECT_EQ(ef().size(), base);
}

TEST(EdgeFactoryTest, BulkRemovalKeepsTheTableExactUnderChurn)
{
    // Random releases inside bulk removals, some nested, some interrupted by requests (which
    // walk the table first), some of edges made during the removal: afterwards every held
    // pair gives its own edge, every released pair a new one, and the count is exact.
    const int n = 300;
    std::vector<std::shared_ptr<Point>> points;
    for (int i = 0; i < n * n; ++i)
        points.push_back(std::make_shared<Point>(i % n, i / n));
    const std::size_t base = ef().size();
    std::map<std::pair<int, int>, std::shared_ptr<Edge>> held;
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> anyPoint(0, n * n - 1);
    auto request = [&](int a, int b) {
        auto e = ef().factory(points[a], points[b]);
        auto it = held.find({std::min(a, b), std::max(a, b)});
        if (it != held.end()) {
            EXPECT_EQ(e, it->second);
        } else {
            EXPECT_EQ(e->id(), -1) << "a released pair kept its edge";
            e->setId(7);
            held[{std::min(a, b), std::max(a, b)}] = e;
        }
    };
    for (int i = 0; i + 1 < n * n; ++i)
        request(i, i + 1);
    for (int round = 0; round < 12; ++round) {
        ef().beginBulkRemoval();
        if (round % 3 == 1)
            ef().beginBulkRemoval(); // nested
        // Release a random share of the held edges.
        for (auto it = held.begin(); it != held.end();) {
            if (rng() % 3 == 0)
                it = held.erase(it);
            else
                ++it;
        }
        ASSERT_EQ(ef().size(), base + held.size());
        if (round % 2 == 0) {
            // Requests during the removal: old pairs, new pairs, released pairs.
            for (int k = 0; k < 2000; ++k) {
                int a = anyPoint(rng);
                int b = (k % 2 == 0 && a + 1 < n * n) ? a + 1 : anyPoint(rng);
                if (a != b)
                    request(a, b);
            }
            // Edges made during the removal die during it too.
            for (auto it = held.begin(); it != held.end();) {
                if (rng() % 5 == 0)
                    it = held.erase(it);
                else
                    ++it;
            }
        }
        if (round % 3 == 1)
            ef().endBulkRemoval();
        ef().endBulkRemoval();
        ASSERT_EQ(ef().size(), base + held.size());
        for (const auto& [pair, edge] : held)
            ASSERT_EQ(ef().factory(points[pair.second], points[pair.first]), edge);
        for (int k = 0; k < 3000; ++k) {
            int a = anyPoint(rng);
            if (a + 1 < n * n)
                request(a, a + 1);
        }
    }
    held.clear();
    EXPECT_EQ(ef().size(), base);
    ef().endBulkRemoval(); // without a beginning: nothing happens
    EXPECT_EQ(ef().size(), base);
}
