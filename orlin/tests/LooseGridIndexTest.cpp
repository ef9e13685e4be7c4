#include "orlin/core/LooseGridIndex.h"

#include <geos/geom/Envelope.h>
#include <geos/index/ItemVisitor.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <vector>

using geos::geom::Envelope;
using tin::core::LooseGridIndex;

namespace {

// Items are addresses into this array: the index never dereferences them.
std::vector<char> g_items(100000);

void* itemOf(std::size_t id)
{
    return &g_items[id];
}

std::size_t idOf(void* item)
{
    return std::size_t(static_cast<char*>(item) - g_items.data());
}

bool meets(const Envelope& a, const Envelope& b)
{
    return a.getMinX() <= b.getMaxX() && b.getMinX() <= a.getMaxX() && a.getMinY() <= b.getMaxY()
        && b.getMinY() <= a.getMaxY();
}

// The held items with their envelopes, answered by scanning: the oracle.
struct BruteForce {
    std::map<std::size_t, Envelope> held;
};

// How often each id occurs in a query result.
std::map<std::size_t, int> queryCounts(LooseGridIndex& index, const Envelope& q)
{
    std::vector<void*> found;
    index.query(&q, found);
    std::map<std::size_t, int> counts;
    for (void* item : found)
        ++counts[idOf(item)];
    return counts;
}

// Every held item meeting q is reported exactly once; nothing not held is reported.
void expectSuperset(LooseGridIndex& index, const BruteForce& oracle, const Envelope& q)
{
    const std::map<std::size_t, int> counts = queryCounts(index, q);
    for (const auto& [id, count] : counts) {
        EXPECT_EQ(count, 1) << "id " << id << " reported more than once";
        EXPECT_TRUE(oracle.held.count(id)) << "id " << id << " reported but not held";
    }
    for (const auto& [id, env] : oracle.held) {
        if (meets(env, q)) {
            EXPECT_TRUE(counts.count(id)) << "missed id " << id << " env " << env.toString() << " query "
                                          << q.toString();
        }
    }
}

// Mixed sizes around an origin: tolerance boxes, zero-width lines, mesh-sized and large
// triangles. Coordinates snap to quarters often, so that boxes touch query bounds and cell
// bounds exactly.
Envelope randomEnvelope(std::mt19937_64& rng, double ox, double oy)
{
    std::uniform_real_distribution<double> pos(-200.0, 200.0);
    std::uniform_int_distribution<int> kind(0, 5);
    double x = ox + pos(rng);
    double y = oy + pos(rng);
    if (rng() % 2 == 0) {
        x = std::round(x * 4.0) / 4.0;
        y = std::round(y * 4.0) / 4.0;
    }
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    switch (kind(rng)) {
    case 0:
        return Envelope(x - 1e-8, x + 1e-8, y - 1e-8, y + 1e-8);
    case 1:
        return Envelope(x, x, y, y + 3.0 * unit(rng));
    case 2:
        return Envelope(x, x + 2.0 * unit(rng), y, y);
    case 3:
        return Envelope(x, x + 0.25, y, y + 0.5);
    case 4:
        return Envelope(x, x + 300.0 * unit(rng), y, y + 300.0 * unit(rng));
    default:
        return Envelope(x, x + 4.0 * unit(rng), y, y + 4.0 * unit(rng));
    }
}

Envelope randomQuery(std::mt19937_64& rng, double ox, double oy)
{
    Envelope q = randomEnvelope(rng, ox, oy);
    if (rng() % 4 == 0)
        q.expandBy(1e-8);
    return q;
}

// Random inserts, removals (held and not held) and queries against the oracle, around an
// origin; the first query comes after a few inserts, so the grid is chosen again as it grows.
void runAgainstBruteForce(double ox, double oy, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    LooseGridIndex index;
    BruteForce oracle;
    std::size_t next = 0;
    for (int step = 0; step < 12000; ++step) {
        const unsigned op = unsigned(rng() % 10);
        if (op < 6 || oracle.held.empty()) {
            const Envelope env = randomEnvelope(rng, ox, oy);
            index.insert(&env, itemOf(next));
            oracle.held[next] = env;
            ++next;
        } else if (op < 8) {
            auto it = oracle.held.begin();
            std::advance(it, std::ptrdiff_t(rng() % oracle.held.size()));
            ASSERT_TRUE(index.remove(&it->second, itemOf(it->first))) << "id " << it->first;
            EXPECT_FALSE(index.remove(&it->second, itemOf(it->first))) << "second removal of " << it->first;
            oracle.held.erase(it);
        } else if (step > 50) {
            expectSuperset(index, oracle, randomQuery(rng, ox, oy));
        }
        ASSERT_EQ(index.size(), oracle.held.size());
    }
    // Every held item still found under its own envelope, then everything removable.
    for (const auto& [id, env] : oracle.held)
        EXPECT_TRUE(queryCounts(index, env).count(id)) << "id " << id;
    for (const auto& [id, env] : oracle.held)
        EXPECT_TRUE(index.remove(&env, itemOf(id))) << "id " << id;
    EXPECT_EQ(index.size(), 0u);
    EXPECT_TRUE(queryCounts(index, Envelope(-1e9, 1e9, -1e9, 1e9)).empty());
}

} // namespace

TEST(LooseGridIndexTest, MixedItemsNearOriginAndAtSurveyCoordinatesMatchBruteForce)
{
    runAgainstBruteForce(0.0, 0.0, 1);
    runAgainstBruteForce(5e5, 5.2e6, 2);
    runAgainstBruteForce(-5e5, -123456.789, 3);
}

TEST(LooseGridIndexTest, GrowthAfterFirstQueryKeepsEveryItemFound)
{
    // The first query fixes the grid for two items far apart; a dense cloud arrives later.
    LooseGridIndex index;
    BruteForce oracle;
    const Envelope a(0, 0, 0, 0), b(1000, 1000, 1000, 1000);
    index.insert(&a, itemOf(0));
    index.insert(&b, itemOf(1));
    oracle.held[0] = a;
    oracle.held[1] = b;
    expectSuperset(index, oracle, Envelope(-1, 1, -1, 1));
    const int coarse = index.finestLevel();
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> pos(10.0, 20.0);
    for (std::size_t id = 2; id < 20000; ++id) {
        const double x = pos(rng), y = pos(rng);
        const Envelope env(x - 1e-8, x + 1e-8, y - 1e-8, y + 1e-8);
        index.insert(&env, itemOf(id));
        oracle.held[id] = env;
    }
    EXPECT_LT(index.finestLevel(), coarse);
    for (int i = 0; i < 200; ++i) {
        const double x = pos(rng), y = pos(rng);
        expectSuperset(index, oracle, Envelope(x, x + 0.05, y, y + 0.05));
    }
}

TEST(LooseGridIndexTest, SmallQueryOnDenseCloudMeetsFewCandidates)
{
    // A superset may not mean "everything": a point-sized query over 40,000 tolerance boxes
    // on a 1 m grid must look at a handful of them.
    LooseGridIndex index;
    std::size_t id = 0;
    for (int i = 0; i < 200; ++i) {
        for (int j = 0; j < 200; ++j) {
            const double x = 5e5 + i, y = 5e5 + j;
            const Envelope env(x - 1e-8, x + 1e-8, y - 1e-8, y + 1e-8);
            index.insert(&env, itemOf(id++));
        }
    }
    std::vector<void*> found;
    const Envelope q(500100.0 - 1e-8, 500100.0 + 1e-8, 500050.0 - 1e-8, 500050.0 + 1e-8);
    index.query(&q, found);
    EXPECT_NE(std::find(found.begin(), found.end(), itemOf(100 * 200 + 50)), found.end());
    EXPECT_LE(found.size(), 32u);
}

TEST(LooseGridIndexTest, UnplaceableEnvelopesAreReportedByEveryQueryAndRemovable)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    LooseGridIndex index;
    const Envelope normal(1, 2, 1, 2);
    const Envelope nullEnv; // null: NaN bounds
    const Envelope withNan(nan, 1, 0, 1);
    const Envelope infinite(-inf, inf, 0, 1);
    const Envelope far(3e9, 3e9 + 1, 0, 1);
    index.insert(&normal, itemOf(0));
    index.insert(&nullEnv, itemOf(1));
    index.insert(&withNan, itemOf(2));
    index.insert(&infinite, itemOf(3));
    index.insert(&far, itemOf(4));
    index.insert(nullptr, itemOf(5));
    index.insert(&normal, nullptr); // refused
    EXPECT_EQ(index.size(), 6u);

    const auto elsewhere = queryCounts(index, Envelope(100, 101, 100, 101));
    for (std::size_t id = 1; id <= 5; ++id)
        EXPECT_TRUE(elsewhere.count(id)) << "id " << id;
    EXPECT_FALSE(elsewhere.count(0));
    // Queries with NaN or infinite bounds neither crash nor lose the normal item.
    EXPECT_NO_THROW(queryCounts(index, Envelope(nan, nan, nan, nan)));
    EXPECT_TRUE(queryCounts(index, Envelope(-inf, inf, -inf, inf)).count(0));
    EXPECT_TRUE(queryCounts(index, Envelope(-1e300, 1e300, 1.5, 1.5)).count(0));
    // Subnormal bounds next to an item just below zero.
    const Envelope belowZero(-2.0, -1e-310, -2.0, -1e-310);
    index.insert(&belowZero, itemOf(6));
    EXPECT_TRUE(queryCounts(index, Envelope(-1e-310, 1, -4e-320, 1)).count(6));
    EXPECT_TRUE(index.remove(&belowZero, itemOf(6)));

    EXPECT_TRUE(index.remove(&withNan, itemOf(2)));
    EXPECT_TRUE(index.remove(&far, itemOf(4)));
    EXPECT_TRUE(index.remove(nullptr, itemOf(5)));
    EXPECT_FALSE(index.remove(&normal, itemOf(3))); // held, but not under that envelope
    EXPECT_FALSE(index.remove(&normal, nullptr));
    EXPECT_EQ(index.size(), 3u);
    EXPECT_FALSE(queryCounts(index, Envelope(100, 101, 100, 101)).count(2));
}

TEST(LooseGridIndexTest, VisitorQuerySeesTheSameCandidates)
{
    struct Collect : geos::index::ItemVisitor {
        std::vector<void*> items;
        void visitItem(void* item) override { items.push_back(item); }
    };
    std::mt19937_64 rng(11);
    LooseGridIndex index;
    for (std::size_t id = 0; id < 3000; ++id) {
        const Envelope env = randomEnvelope(rng, 0.0, 0.0);
        index.insert(&env, itemOf(id));
    }
    for (int i = 0; i < 50; ++i) {
        const Envelope q = randomQuery(rng, 0.0, 0.0);
        std::vector<void*> listed;
        index.query(&q, listed);
        Collect visited;
        index.query(&q, visited);
        std::sort(listed.begin(), listed.end());
        std::sort(visited.items.begin(), visited.items.end());
        EXPECT_EQ(listed, visited.items);
    }
}

TEST(LooseGridIndexTest, SameItemInsertedTwiceIsHeldTwice)
{
    LooseGridIndex index;
    const Envelope a(0, 1, 0, 1), b(50, 51, 50, 51), everywhere(-100, 100, -100, 100);
    index.insert(&a, itemOf(0));
    index.insert(&b, itemOf(0));
    index.insert(&a, itemOf(0));
    EXPECT_EQ(queryCounts(index, everywhere)[0], 3);
    EXPECT_TRUE(index.remove(&a, itemOf(0)));
    EXPECT_EQ(queryCounts(index, everywhere)[0], 2);
    EXPECT_TRUE(index.remove(&a, itemOf(0)));
    EXPECT_FALSE(index.remove(&a, itemOf(0)));
    EXPECT_EQ(index.size(), 1u);
    EXPECT_TRUE(index.remove(&b, itemOf(0)));
    EXPECT_TRUE(queryCounts(index, everywhere).empty());
}

TEST(LooseGridIndexTest, CopiesChangedApartMatchTheirOwnItems)
{
    // Enough items for several shared chunks per table; then source and copy lose and gain
    // different items, and each must answer for exactly its own.
    std::mt19937_64 rng(31);
    std::uniform_real_distribution<double> pos(0.0, 300.0);
    auto source = std::make_unique<LooseGridIndex>();
    BruteForce sourceOracle;
    auto box = [&]() {
        const double x = pos(rng), y = pos(rng);
        return rng() % 2 == 0 ? Envelope(x - 1e-8, x + 1e-8, y - 1e-8, y + 1e-8) : Envelope(x, x + 1.0, y, y + 0.7);
    };
    for (std::size_t id = 0; id < 90000; ++id) {
        const Envelope env = box();
        source->insert(&env, itemOf(id));
        sourceOracle.held[id] = env;
    }
    expectSuperset(*source, sourceOracle, Envelope(10, 11, 10, 11)); // places everything

    LooseGridIndex copy(*source);
    BruteForce copyOracle = sourceOracle;
    for (std::size_t id = 0; id < 90000; id += 3) {
        ASSERT_TRUE(copy.remove(&copyOracle.held[id], itemOf(id)));
        copyOracle.held.erase(id);
    }
    for (std::size_t id = 90000; id < 95000; ++id) {
        const Envelope env = box();
        copy.insert(&env, itemOf(id));
        copyOracle.held[id] = env;
    }
    for (std::size_t id = 1; id < 90000; id += 5) {
        ASSERT_TRUE(source->remove(&sourceOracle.held[id], itemOf(id)));
        sourceOracle.held.erase(id);
    }
    for (std::size_t id = 95000; id < 100000; ++id) {
        const Envelope env = box();
        source->insert(&env, itemOf(id));
        sourceOracle.held[id] = env;
    }
    ASSERT_EQ(source->size(), sourceOracle.held.size());
    ASSERT_EQ(copy.size(), copyOracle.held.size());
    for (int i = 0; i < 40; ++i) {
        const Envelope q = box();
        expectSuperset(*source, sourceOracle, q);
        expectSuperset(copy, copyOracle, q);
    }
    expectSuperset(copy, copyOracle, Envelope(-1, 400, -1, 400)); // a scan of every table
    source.reset();
    for (int i = 0; i < 20; ++i) {
        expectSuperset(copy, copyOracle, box());
    }
}
