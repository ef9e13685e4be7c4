#include "orlin/core/ContainerType.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/QuadtreeContainerT.h"
#include "orlin/core/STRtreeContainerT.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

using namespace tin::core;

namespace {

// An item with a free bounding rectangle (invalid ones included).
struct Box {
    Rect rect;
    Rect boundingRect() const { return rect; }
};

template <class T>
std::unique_ptr<SpatialIndexContainerT<T>> makeContainer(ContainerType kind)
{
    if (kind == STRtree) {
        return std::make_unique<STRtreeContainerT<T>>();
    }
    return std::make_unique<QuadtreeContainerT<T>>();
}

// How often each item occurs in a result.
template <class T>
std::map<T const*, int> occurrences(std::vector<std::shared_ptr<T>> const& found)
{
    std::map<T const*, int> count;
    for (auto const& item : found) {
        ++count[item.get()];
    }
    return count;
}

Rect const everywhere(-1e6, -1e6, 1e6, 1e6);

class SpatialIndexContainerTTest : public ::testing::TestWithParam<ContainerType> { };

TEST_P(SpatialIndexContainerTTest, SecondAddOfSameItemReturnsFirstSlot)
{
    auto container = makeContainer<Point2D>(GetParam());
    EXPECT_TRUE(container->findIntersectRect(everywhere).empty());
    auto item = std::make_shared<Point2D>(1.0, 2.0);
    auto* first = container->add(item);
    auto* second = container->add(item);
    EXPECT_EQ(first, second);
    EXPECT_EQ(container->slotCount(), 1u);
    // A different object at the same place is a different item.
    container->add(std::make_shared<Point2D>(1.0, 2.0));
    EXPECT_EQ(container->slotCount(), 2u);
    EXPECT_EQ(container->find(item.get())->get(), item.get());
}

TEST_P(SpatialIndexContainerTTest, BordersAreClosedAndPointsAreWidened)
{
    Rect const query(0.0, 0.0, 10.0, 10.0);
    auto flat = makeContainer<Point2D>(GetParam());
    flat->add(std::make_shared<Point2D>(10.0, 5.0));
    EXPECT_EQ(flat->findInRect(query).size(), 1u);
    EXPECT_EQ(flat->findIntersectRect(query).size(), 1u);

    auto points = makeContainer<Point>(GetParam());
    auto onBorder = std::make_shared<Point>(10.0, 5.0);
    auto justOutside = std::make_shared<Point>(10.0 + 5e-9, 5.0);
    auto farOutside = std::make_shared<Point>(10.0 + 1e-6, 5.0);
    points->add(onBorder);
    points->add(justOutside);
    points->add(farOutside);
    EXPECT_TRUE(points->findInRect(query).empty());
    auto met = occurrences(points->findIntersectRect(query));
    EXPECT_EQ(met.size(), 2u);
    EXPECT_EQ(met.count(onBorder.get()), 1u);
    EXPECT_EQ(met.count(justOutside.get()), 1u);
}

TEST_P(SpatialIndexContainerTTest, InvalidBoxesAreNeverReturned)
{
    auto container = makeContainer<Box>(GetParam());
    container->add(std::make_shared<Box>(Box{Rect()}));
    auto valid = std::make_shared<Box>(Box{Rect(0.0, 0.0, 0.0, 0.0)});
    container->add(valid);
    Rect const aroundOrigin(-1.0, -1.0, 1.0, 1.0);
    EXPECT_EQ(container->findInRect(aroundOrigin).size(), 1u);
    EXPECT_EQ(container->findIntersectRect(aroundOrigin).size(), 1u);
    geos::geom::Envelope const env(-1.0, 1.0, -1.0, 1.0);
    EXPECT_EQ(container->findIntersectEnvelope(env).size(), 1u);
    EXPECT_TRUE(container->findIntersectRect(Rect()).empty());
}

TEST_P(SpatialIndexContainerTTest, SixthOfTenRemovalsCompactsToFour)
{
    auto container = makeContainer<Point2D>(GetParam());
    std::vector<std::shared_ptr<Point2D>> items;
    for (int i = 0; i < 10; ++i) {
        items.push_back(std::make_shared<Point2D>(i, i));
        container->add(items.back());
    }
    container->findIntersectRect(everywhere);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(container->remove(items[i].get()));
    }
    EXPECT_EQ(container->slotCount(), 10u);
    EXPECT_EQ(container->removedCount(), 5);
    EXPECT_FALSE(container->remove(items[0].get()));
    EXPECT_EQ(container->find(items[0].get()), nullptr);
    EXPECT_EQ(container->findIntersectRect(everywhere).size(), 5u);

    EXPECT_TRUE(container->remove(items[5].get()));
    EXPECT_EQ(container->slotCount(), 4u);
    EXPECT_EQ(container->removedCount(), 0);
    auto left = container->items();
    ASSERT_EQ(left.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(left[i], items[6 + i]);
        EXPECT_NE(container->find(items[6 + i].get()), nullptr);
    }
    EXPECT_EQ(container->findIntersectRect(everywhere).size(), 4u);
}

TEST_P(SpatialIndexContainerTTest, CloneKeepsNullSlotsAndSharesItems)
{
    auto container = makeContainer<Point2D>(GetParam());
    std::vector<std::shared_ptr<Point2D>> items;
    for (int i = 0; i < 6; ++i) {
        items.push_back(std::make_shared<Point2D>(i, 0.0));
        container->add(items.back());
    }
    container->remove(items[1].get());
    container->remove(items[4].get());
    container->findIntersectRect(everywhere);
    auto copy = container->clone();
    EXPECT_EQ(copy->slotCount(), 6u);
    EXPECT_EQ(copy->removedCount(), 2);
    // The grid is copied with the slots; the frozen STR-tree is rebuilt by the clone.
    EXPECT_EQ(copy->hasIndex(), GetParam() == Quadtree);
    auto found = occurrences(copy->findIntersectRect(everywhere));
    EXPECT_EQ(found.size(), 4u);
    EXPECT_EQ(found.count(items[0].get()), 1u);
    EXPECT_EQ(items[0].use_count(), 2); // the test's and the slot both containers still share
    // The two are independent from here on: each change unshares what it writes.
    copy->remove(items[0].get());
    EXPECT_EQ(items[0].use_count(), 2); // the copy's own slot is null, the source's holds it
    EXPECT_NE(container->find(items[0].get()), nullptr);
    EXPECT_EQ(copy->find(items[0].get()), nullptr);
    auto extra = std::make_shared<Point2D>(9.0, 9.0);
    container->add(extra);
    EXPECT_EQ(occurrences(container->findIntersectRect(everywhere)).size(), 5u);
    EXPECT_EQ(occurrences(copy->findIntersectRect(everywhere)).size(), 3u);
    EXPECT_EQ(copy->find(extra.get()), nullptr);
}

TEST_P(SpatialIndexContainerTTest, EveryItemFoundOnceWhileAddingAndQuerying)
{
    // Queries between additions freeze an STR-tree and the slots grow chunk by chunk; a
    // thousand additions run through both many times.
    auto container = makeContainer<Point2D>(GetParam());
    std::vector<std::shared_ptr<Point2D>> items;
    for (int i = 0; i < 1000; ++i) {
        items.push_back(std::make_shared<Point2D>(i % 37, i / 37));
        container->add(items.back());
        if (i % 7 == 0 || i < 20) {
            auto found = occurrences(container->findIntersectRect(everywhere));
            ASSERT_EQ(found.size(), items.size()) << "after " << i + 1 << " additions";
            for (auto const& [item, count] : found) {
                ASSERT_EQ(count, 1);
            }
            ASSERT_EQ(found.count(items.back().get()), 1u);
        }
    }
    // Removing items that arrived after the last rebuild works as well.
    for (int i = 999; i >= 900; --i) {
        ASSERT_TRUE(container->remove(items[i].get()));
    }
    EXPECT_EQ(container->findIntersectRect(everywhere).size(), 900u);
    Rect const one(5.0, 3.0, 5.0, 3.0);
    auto hit = container->findInRect(one);
    ASSERT_EQ(hit.size(), 1u);
    EXPECT_EQ(hit[0], items[3 * 37 + 5]);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, SpatialIndexContainerTTest, ::testing::Values(Quadtree, STRtree),
    [](auto const& info) { return info.param == Quadtree ? std::string("Quadtree") : std::string("STRtree"); });

} // namespace
