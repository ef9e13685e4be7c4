#include "orlin/core/PointFactory.h"

#include "orlin/core/SpatialIndexWeakContainerT.h"
#include "orlin/support/FixedSizePool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <vector>

using namespace tin::core;

namespace {

PointFactory& pf()
{
    return PointFactory::instance();
}

// Live points of the factory within 1e-6 of (x, y), whatever their elevation.
std::size_t livePointsNear(double x, double y)
{
    std::size_t n = 0;
    for (const auto& p : pf().livePoints()) {
        if (std::abs(p->x() - x) <= 1e-6 && std::abs(p->y() - y) <= 1e-6)
            ++n;
    }
    return n;
}

} // namespace

TEST(PointFactoryTest, TinyElevationsSnapToZero)
{
    auto p = pf().factory(Point(1, 2, 5e-11), false);
    EXPECT_EQ(p->elevation(), 0.0);
    auto q = pf().factory(Point(1, 3, -5e-11), false);
    EXPECT_EQ(q->elevation(), 0.0);
    auto r = pf().factory(Point(1, 4, 2e-10), false);
    EXPECT_EQ(r->elevation(), 2e-10);
}

TEST(PointFactoryTest, CloseRequestsShareOneObject)
{
    auto a = pf().factory(Point(100, 200, 3.0), false);
    auto b = pf().factory(Point(100 + 5e-9, 200, 3.0), false);
    EXPECT_EQ(a, b);
    EXPECT_EQ(b->x(), 100); // without overwrite the first position stays
    auto c = pf().factory(Point(100 + 5e-9, 200 - 4e-9, 3.0 + 5e-9), true);
    EXPECT_EQ(a, c);
    EXPECT_EQ(c->x(), 100 + 5e-9);
    EXPECT_EQ(c->y(), 200 - 4e-9);
    EXPECT_EQ(c->elevation(), 3.0 + 5e-9);
    auto far = pf().factory(Point(100 + 3e-8, 200, 3.0), false);
    EXPECT_NE(far, a);
}

TEST(PointFactoryTest, DifferentElevationMakesASecondPointAtThePosition)
{
    auto a = pf().factory(Point(300, 400, 1.0), false);
    auto b = pf().factory(Point(300, 400, 1.0 + 2e-8), false);
    EXPECT_NE(a, b);
    EXPECT_EQ(livePointsNear(300, 400), 2u);
    // With overwrite, the existing points are first moved onto the exact position.
    auto c = pf().factory(Point(300 + 6e-9, 400, 5.0), true);
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    EXPECT_EQ(a->x(), 300 + 6e-9);
    EXPECT_EQ(b->x(), 300 + 6e-9);
    EXPECT_EQ(a->elevation(), 1.0);
    EXPECT_EQ(c->x(), 300 + 6e-9);
}

TEST(PointFactoryTest, RequestedIdNeverReachesANewPoint)
{
    auto a = pf().factory(Point(500, 500, 1.0, 42), false);
    EXPECT_EQ(a->id(), -1);
    a->setId(7);
    auto b = pf().factory(Point(500, 500, 1.0, 43), true);
    EXPECT_EQ(b, a);
    EXPECT_EQ(b->id(), 7);
}

TEST(PointFactoryTest, HoldsWeakReferencesOnly)
{
    std::weak_ptr<Point> weak;
    const Point* address = nullptr;
    {
        auto a = pf().factory(Point(600, 600, 2.0), false);
        a->setId(5);
        weak = a;
        address = a.get();
    }
    EXPECT_TRUE(weak.expired());
    auto again = pf().factory(Point(600, 600, 2.0), false);
    EXPECT_EQ(again->id(), -1);
    (void)address;
    EXPECT_EQ(livePointsNear(600, 600), 1u);
}

TEST(PointFactoryTest, RepeatedOverwriteMovesDoNotDuplicateTheVertex)
{
    // Each request is within the tolerance of where the point is now; together they
    // carry it far beyond where it was first filed.
    auto p = pf().factory(Point(700, 700, 1.0), false);
    double x = 700;
    for (int i = 0; i < 3000; ++i) {
        x += 0.9e-8;
        auto q = pf().factory(Point(x, 700, 1.0), true);
        ASSERT_EQ(q, p) << "step " << i;
    }
    EXPECT_EQ(p->x(), x);
    EXPECT_EQ(pf().factory(Point(x, 700, 1.0), false), p);
    EXPECT_EQ(livePointsNear(x, 700), 1u);
}

TEST(PointFactoryTest, OffsetShiftsNewPointsAndTheSearch)
{
    ASSERT_TRUE(pf().livePoints().empty()) << "points of other tests still alive";
    pf().setOffset(Point2D(100, 50));
    auto a = pf().factory(Point(101, 51, 3.0), false);
    EXPECT_EQ(a->x(), 1);
    EXPECT_EQ(a->y(), 1);
    // A second request at the same place finds the point made by the first.
    EXPECT_EQ(pf().factory(Point(101, 51, 3.0), false), a);
    pf().setOffset(Point2D(90, 50));
    EXPECT_EQ(a->x(), 11);
    EXPECT_EQ(pf().factory(Point(101, 51, 3.0), false), a);
    auto b = pf().factory(Point(121, 71, 3.0), false);
    pf().setAutoOffset(); // centre of (11, 1)-(31, 21) relative to (90, 50): (111, 61)
    EXPECT_EQ(pf().offset().x(), 111);
    EXPECT_EQ(pf().offset().y(), 61);
    EXPECT_EQ(a->x(), -10);
    EXPECT_EQ(b->y(), 10);
    EXPECT_EQ(pf().factory(Point(121, 71, 3.0), false), b);
    pf().setOffset(Point2D(0, 0));
    EXPECT_EQ(a->x(), 101);
}

TEST(PointFactoryTest, OnlyNewPointsAdvanceTheSweepCounter)
{
    auto a = pf().factory(Point(800, 800, 0.0), false);
    const std::size_t before = weakContainerSweepCounter();
    pf().factory(Point(800, 800, 0.0), true);
    EXPECT_EQ(weakContainerSweepCounter(), before);
    auto b = pf().factory(Point(801, 800, 0.0), false);
    EXPECT_EQ(weakContainerSweepCounter(), (before + 1) % WEAK_CONTAINER_SWEEP_PERIOD);
}

TEST(PointFactoryTest, SweepCompactsWhenAThirdOfTheSlotsExpired)
{
    // Released points leave expired slots; nothing scans for them until the sweep.
    for (int i = 0; i < 1000; ++i)
        pf().factory(Point(900 + i, 900, 0.0), false);
    const std::size_t toSweep = WEAK_CONTAINER_SWEEP_PERIOD - 1 - weakContainerSweepCounter();
    for (std::size_t i = 0; i < toSweep; ++i)
        pf().factory(Point(2000 + double(i), 900, 0.0), false);
    EXPECT_EQ(weakContainerSweepCounter(), WEAK_CONTAINER_SWEEP_PERIOD - 1);
    EXPECT_GE(pf().slotCount(), toSweep + 1000);
    auto held = pf().factory(Point(-5, -5, 0.0), false);
    EXPECT_EQ(weakContainerSweepCounter(), 0u);
    EXPECT_EQ(pf().slotCount(), pf().livePoints().size());
    EXPECT_EQ(pf().factory(Point(-5, -5, 0.0), false), held);
}

TEST(PointFactoryTest, NotANumberPositionIsRejected)
{
    const std::size_t slots = pf().slotCount();
    EXPECT_THROW(pf().factory(Point(std::nan(""), 1, 0.0), false), std::invalid_argument);
    EXPECT_THROW(pf().factory(Point(1, std::nan(""), 0.0), true), std::invalid_argument);
    EXPECT_EQ(pf().slotCount(), slots);
}

namespace {

// Which request got which object, as first-request indices: two runs made the same
// interning when these agree, whatever the objects' addresses.
std::vector<std::size_t> sharing(const std::vector<std::shared_ptr<Point>>& points)
{
    std::vector<std::size_t> first(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        first[i] = i;
        for (std::size_t k = 0; k < i; ++k) {
            if (points[k] == points[i]) {
                first[i] = k;
                break;
            }
        }
    }
    return first;
}

} // namespace

TEST(PointFactoryTest, BulkRequestsInternLikeSingleOnes)
{
    // Repeats, requests within the tolerance, a second elevation at one position, tiny
    // elevations and points on both sides of a cell border.
    std::vector<double> xyz;
    std::mt19937 rng(31);
    std::uniform_real_distribution<double> jitter(-1.5e-8, 1.5e-8);
    for (int i = 0; i < 3000; ++i) {
        const double x = 5000 + (i % 40) * 1e-5 * 0.5, y = 7000 + (i / 40 % 10) * 0.3;
        xyz.insert(xyz.end(), {x + jitter(rng), y + jitter(rng), i % 7 == 0 ? 4e-11 : 2.0 + (i % 3) * 1e-8});
    }
    const std::size_t n = xyz.size() / 3;
    std::vector<std::shared_ptr<Point>> bulk(n);
    pf().factoryAll(xyz.data(), n, bulk.data());
    ASSERT_EQ(bulk.size(), n);
    std::vector<Point> made;
    for (const auto& p : bulk)
        made.push_back(*p);
    const std::vector<std::size_t> bulkSharing = sharing(bulk);
    EXPECT_LT(std::set<std::size_t>(bulkSharing.begin(), bulkSharing.end()).size(), n); // some merged
    for (const auto& p : bulk)
        EXPECT_TRUE(tin::support::FixedSizePool::instance().owns(p.get()));
    bulk.clear(); // the points die: the one-by-one run makes them anew

    std::vector<std::shared_ptr<Point>> single;
    for (std::size_t i = 0; i < n; ++i)
        single.push_back(pf().factory(Point(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]), false));
    EXPECT_EQ(sharing(single), bulkSharing);
    for (std::size_t i = 0; i < n; ++i) {
        ASSERT_EQ(single[i]->x(), made[i].x());
        ASSERT_EQ(single[i]->y(), made[i].y());
        ASSERT_EQ(single[i]->elevation(), made[i].elevation());
    }
    // Over live points too, both ways find the same objects.
    std::vector<std::shared_ptr<Point>> again(n);
    pf().factoryAll(xyz.data(), n, again.data());
    for (std::size_t i = 0; i < n; ++i)
        ASSERT_EQ(again[i], pf().factory(Point(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]), false)) << i;
}

TEST(PointFactoryTest, BulkRequestStopsAtANotANumberPosition)
{
    const double xyz[] = {10, 20, 1, std::nan(""), 20, 1, 30, 40, 1};
    std::vector<std::shared_ptr<Point>> out(3);
    EXPECT_THROW(pf().factoryAll(xyz, 3, out.data()), std::invalid_argument);
    EXPECT_FALSE(out[1]);
    EXPECT_EQ(out[0], pf().factory(Point(10.0, 20.0, 1.0), false));
}

// A bulk request into an array that still holds points releases them as it goes; the
// sweep the requests bring round is made at the end and must find those dead slots.
TEST(PointFactoryTest, BulkOverHeldPointsCountsAndSweepsLikeSingleRequests)
{
    std::vector<double> xyz;
    for (int i = 0; i < 30000; ++i)
        xyz.insert(xyz.end(), {-3000.0 - i, 4000.0, 1.0});
    const std::size_t n = xyz.size() / 3;
    std::vector<std::shared_ptr<Point>> out(n);
    pf().factoryAll(xyz.data(), n, out.data());
    // The same array again, at other positions: every point it held dies during the bulk.
    for (std::size_t i = 0; i < n; ++i)
        xyz[3 * i + 1] = 4100.0;
    // Brought near the end of a sweep period by points that die at once, so that the
    // bulk brings the sweep round.
    for (int i = 0; weakContainerSweepCounter() != WEAK_CONTAINER_SWEEP_PERIOD - 10; ++i)
        pf().factory(Point(-3000.0 - i, 4200.0, 1.0), false);
    const std::size_t live = pf().livePoints().size();
    const std::size_t slots = pf().slotCount() + n;
    pf().factoryAll(xyz.data(), n, out.data());
    EXPECT_EQ(weakContainerSweepCounter(), n - 10);
    ASSERT_GE(slots - live, slots / 3) << "too many points of other tests alive";
    EXPECT_EQ(pf().slotCount(), live); // the dead third or more is gone
    for (std::size_t i = 0; i < n; i += 101) {
        ASSERT_EQ(out[i]->y(), 4100.0);
        ASSERT_EQ(pf().factory(Point(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]), false), out[i]);
    }
}
