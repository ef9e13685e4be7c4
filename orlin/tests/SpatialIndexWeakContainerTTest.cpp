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
