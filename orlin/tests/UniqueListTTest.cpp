#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

#include "orlin/core/Point2D.h"
#include "orlin/util/UniqueListT.h"

using tin::core::Point2D;
using tin::util::UniqueListT;

// Objects are told apart by identity, in the order first met, through the table's growth; the
// run input numbering of the overlay depends on that order.
TEST(UniqueListTTest, KeepsFirstMeetingOrderByIdentity)
{
    std::mt19937 random(5);
    std::vector<std::shared_ptr<Point2D>> objects;
    for (int i = 0; i < 3000; ++i) {
        // Equal coordinates on distinct objects: still distinct items.
        objects.push_back(std::make_shared<Point2D>(i % 7, 0.0));
    }
    std::uniform_int_distribution<std::size_t> pick(0, objects.size() - 1);
    UniqueListT<Point2D> list;
    std::vector<Point2D*> expected;
    std::set<Point2D*> seen;
    for (int k = 0; k < 20000; ++k) {
        auto const& item = objects[pick(random)];
        bool const isNew = seen.insert(item.get()).second;
        if (isNew) {
            expected.push_back(item.get());
        }
        EXPECT_EQ(list.insert(item), isNew);
        if (k % 1000 == 0) {
            EXPECT_FALSE(list.insert(nullptr));
        }
    }
    ASSERT_EQ(list.items().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.items()[i].get(), expected[i]);
    }
}
