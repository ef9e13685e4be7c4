#include "orlin/core/Point.h"
#include "orlin/core/QuadtreeWeakContainerT.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

using namespace tin::core;

using Container = QuadtreeWeakContainerT<Point>;

TEST(SpatialIndexWeakContainerTTest, FindsLivePointsWhoseWidenedBoxMeetsTheQuery)
{
    Container c;
    std::vector<std::shared_ptr<Point>> held;
    std::mt19937 rng(23);
    std::uniform_real_distribution<double> d(0, 1e-6);
    for (int i = 0; i < 2000; ++i) {
        auto p = std::make_shared<Point>(10 + d(rng), 20 + d(rng));
        c.add(p);
        if (i % 5)
            held.push_back(p);
    }
    for (int q = 0; q < 300; ++q) {
        const double x = 10 + d(rng), y = 20 + d(rng);
        const Rect box(x - 1e-8, y - 1e-8, x + 1e-8, y + 1e-8);
        const auto got = c.findIntersectRect(box);
        std::size_t expected = 0;
        for (const auto& p : held)
            expected += p->boundingRect().intersects(box);
        ASSERT_EQ(got.size(), expected);
        for (const auto& p : got)
            ASSERT_TRUE(p->boundingRect().intersects(box));
    }
    EXPECT_GT(c.expiredCount(), 0u); // queries met released points
    EXPECT_TRUE(c.findIntersectRect(Rect()).empty());
    // A wide box answers through a scan of every slot.
    EXPECT_EQ(c.findIntersectRect(Rect(0, 0, 100, 100)).size(), held.size());
}

TEST(SpatialIndexWeakContainerTTest, AddingAHeldItemChangesNothing)
{
    Container c;
    auto p = std::make_shared<Point>(1, 1);
    EXPECT_EQ(c.add(p), p);
    EXPECT_EQ(c.add(p), p);
    EXPECT_EQ(c.slotCount(), 1u);
    ASSERT_NE(c.find(p.get()), nullptr);
    EXPECT_EQ(c.find(p.get())->lock(), p);
    Point stranger(1, 1);
    EXPECT_EQ(c.find(&stranger), nullptr);
    EXPECT_THROW(c.add(nullptr), std::invalid_argument);
}

TEST(SpatialIndexWeakContainerTTest, CompactKeepsLiveItemsInOrder)
{
    Container c;
    std::vector<std::shared_ptr<Point>> held;
    for (int i = 0; i < 10; ++i) {
        auto p = std::make_shared<Point>(i, 0);
        c.add(p);
        if (i % 3 == 0)
            held.push_back(p);
    }
    EXPECT_EQ(c.liveItems(), held);
    EXPECT_EQ(c.expiredCount(), 6u);
    std::unique_ptr<SpatialIndexWeakContainerT<Point>> copy = c.clone();
    c.compact();
    EXPECT_EQ(c.slotCount(), held.size());
    EXPECT_EQ(c.expiredCount(), 0u);
    EXPECT_EQ(c.liveItems(), held);
    EXPECT_EQ(c.findIntersectRect(Rect(2.5, -1, 3.5, 1)).size(), 1u);
    // The clone kept every slot and builds its own index on demand.
    EXPECT_EQ(copy->slotCount(), 10u);
    EXPECT_EQ(copy->expiredCount(), 6u);
    EXPECT_EQ(copy->findIntersectRect(Rect(2.5, -1, 3.5, 1)).size(), 1u);
}

TEST(SpatialIndexWeakContainerTTest, ReindexFollowsAMove)
{
    Container c;
    std::vector<std::shared_ptr<Point>> others;
    for (int i = 0; i < 100; ++i) {
        others.push_back(std::make_shared<Point>(-i, 1000));
        c.add(others.back());
    }
    auto p = std::make_shared<Point>(0, 0);
    c.add(p);
    ASSERT_EQ(c.findIntersectRect(p->boundingRect()).size(), 1u);
    p->setPosition(50, 50);
    EXPECT_TRUE(c.findIntersectRect(p->boundingRect()).empty()); // still filed at (0, 0)
    c.reindex(p.get(), 0, 0);
    EXPECT_EQ(c.findIntersectRect(p->boundingRect()).size(), 1u);
    p->setPosition(7, 7);
    c.rebuildIndex();
    EXPECT_EQ(c.findIntersectRect(Rect(7, 7, 7, 7)).size(), 1u);
}

// The one-probe look-up with insertion against the two steps it stands for: the last
// accepted item in slot order from visitIntersectRect(), else an addNew().
TEST(SpatialIndexWeakContainerTTest, FindLastOrAddNewAgreesWithVisitThenAdd)
{
    Container oneStep;
    Container twoSteps;
    std::vector<std::shared_ptr<Point>> heldOne;
    std::vector<std::shared_ptr<Point>> heldTwo;
    std::mt19937 rng(29);
    std::uniform_int_distribution<int> spot(0, 40);
    std::uniform_real_distribution<double> jitter(-1.5e-8, 1.5e-8);
    std::uniform_int_distribution<int> level(0, 2);
    for (int i = 0; i < 5000; ++i) {
        const double x = 300.0 + spot(rng) * 0.5e-5 + jitter(rng);
        const double y = 700.0 + (i % 3) * 1e-5 + jitter(rng);
        const double z = level(rng) * 1e-8;
        const Rect box(x - 1e-8, y - 1e-8, x + 1e-8, y + 1e-8);
        const auto accept = [&](const Point& c) {
            return std::abs(c.x() - x) <= 1e-8 && std::abs(c.y() - y) <= 1e-8 && std::abs(c.elevation() - z) < 1e-8;
        };
        const auto got = oneStep.findLastOrAddNew(box, accept, [&] { return std::make_shared<Point>(x, y, z); });
        std::shared_ptr<Point> last;
        twoSteps.visitIntersectRect(box, [&](const std::shared_ptr<Point>& c) {
            if (accept(*c))
                last = c;
        });
        const bool made = !last;
        if (made)
            last = twoSteps.addNew(std::make_shared<Point>(x, y, z));
        ASSERT_EQ(oneStep.slotCount(), twoSteps.slotCount()) << i;
        ASSERT_EQ(got->x(), last->x());
        ASSERT_EQ(got->y(), last->y());
        ASSERT_EQ(got->elevation(), last->elevation());
        // Some items are dropped, so that both containers meet expired slots.
        if (i % 4) {
            heldOne.push_back(got);
            heldTwo.push_back(last);
        }
    }
    const auto liveOne = oneStep.liveItems();
    const auto liveTwo = twoSteps.liveItems();
    ASSERT_EQ(liveOne.size(), liveTwo.size());
    for (std::size_t k = 0; k < liveOne.size(); ++k) {
        ASSERT_EQ(liveOne[k]->x(), liveTwo[k]->x());
        ASSERT_EQ(liveOne[k]->y(), liveTwo[k]->y());
        ASSERT_EQ(liveOne[k]->elevation(), liveTwo[k]->elevation());
    }
}

// During a bulk the sweep counter runs on without its check; the check is made at the end
// unless the caller knows nothing expired.
TEST(SpatialIndexWeakContainerTTest, BulkDefersTheSweepToItsEnd)
{
    Container c;
    std::vector<std::shared_ptr<Point>> held;
    for (int i = 0; i < 3000; ++i) {
        auto p = std::make_shared<Point>(double(i), 5.0);
        c.addNew(p);
        if (i % 2)
            held.push_back(p); // half of the slots expire
    }
    const std::size_t toSweep = WEAK_CONTAINER_SWEEP_PERIOD - weakContainerSweepCounter();
    c.beginBulk();
    for (std::size_t i = 0; i < toSweep + 10; ++i)
        held.push_back(c.addNew(std::make_shared<Point>(double(i), 9.0)));
    EXPECT_EQ(weakContainerSweepCounter(), 10u); // the counter came round
    EXPECT_EQ(c.slotCount(), 3000 + toSweep + 10); // but nothing was compacted
    c.endBulk(true);
    // 1500 expired of about 50k slots: below a third, nothing to compact.
    EXPECT_EQ(c.slotCount(), 3000 + toSweep + 10);

    // Most slots expire during a bulk; the end of the bulk compacts them.
    Container d;
    d.beginBulk();
    const std::size_t rest = WEAK_CONTAINER_SWEEP_PERIOD - weakContainerSweepCounter();
    std::vector<std::shared_ptr<Point>> kept;
    for (std::size_t i = 0; i < rest + 5; ++i) {
        auto p = d.addNew(std::make_shared<Point>(double(i), 11.0));
        if (i % 10 == 0)
            kept.push_back(p);
    }
    EXPECT_EQ(d.slotCount(), rest + 5);
    d.endBulk(true);
    EXPECT_EQ(d.slotCount(), kept.size());
    for (const auto& p : kept)
        EXPECT_NE(d.find(p.get()), nullptr);
}

// Each item filed counts its destruction; the sweep looks at the slots only once the
// destructions since its last look could make a third of them expired.
TEST(SpatialIndexWeakContainerTTest, SweepLooksOnlyWhenAThirdMayHaveExpired)
{
    const std::size_t before = Point::countedDestructions();
    {
        auto filed = std::make_shared<Point>(1.0, 2.0);
        Point loose(3.0, 4.0);
        Container c;
        c.addNew(filed);
        Point copy(*filed); // a copy is no filed item
    }
    EXPECT_EQ(Point::countedDestructions(), before + 1);

    Container c;
    std::vector<std::shared_ptr<Point>> held;
    const auto addUntilTheSweep = [&](double y) {
        // Additions up to and including the one that brings the sweep round.
        const std::size_t rest = WEAK_CONTAINER_SWEEP_PERIOD - weakContainerSweepCounter();
        for (std::size_t i = 0; i < rest; ++i)
            held.push_back(c.addNew(std::make_shared<Point>(double(i), y)));
        ASSERT_EQ(weakContainerSweepCounter(), 0u);
    };
    addUntilTheSweep(1.0);
    const std::size_t first = held.size();
    held.erase(held.begin(), held.begin() + std::ptrdiff_t(first / 10)); // a tenth dies
    addUntilTheSweep(2.0);
    // Fewer than a third could have expired: no look, so no slot is known expired.
    EXPECT_EQ(c.expiredCount(), 0u);
    EXPECT_EQ(c.slotCount(), held.size() + first / 10);

    held.erase(held.begin(), held.begin() + std::ptrdiff_t(held.size() * 3 / 5)); // most die
    addUntilTheSweep(3.0);
    EXPECT_EQ(c.slotCount(), held.size()); // looked and compacted
    EXPECT_EQ(c.liveItems().size(), held.size());
    for (std::size_t i = 0; i < held.size(); i += 1009)
        EXPECT_NE(c.find(held[i].get()), nullptr);
}
