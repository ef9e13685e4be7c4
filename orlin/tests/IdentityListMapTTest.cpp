#include "orlin/core/IdentityListMapT.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

using tin::core::IdentityListMapT;

namespace {

// Long runs of inserts and erases over many keys: deletion shifts entries back, and a wrong
// shift loses entries that sit behind the hole in a probe run.
TEST(IdentityListMapTTest, ChurnKeepsEveryEntryFindable)
{
    std::vector<int> objects(20000);
    IdentityListMapT<int> map;
    std::map<int*, std::uint32_t> model;
    std::mt19937 random(7);
    for (int round = 0; round < 200000; ++round) {
        int* key = &objects[random() % objects.size()];
        if (random() % 3 == 0) {
            map.erase(key);
            model.erase(key);
        } else {
            auto& entry = map.obtain(key);
            if (entry.head == IdentityListMapT<int>::NIL) {
                entry.head = static_cast<std::uint32_t>(round);
                model[key] = entry.head;
            }
        }
    }
    ASSERT_EQ(map.size(), model.size());
    for (int& object : objects) {
        auto const* entry = map.find(&object);
        auto const expected = model.find(&object);
        ASSERT_EQ(entry != nullptr, expected != model.end());
        if (entry != nullptr) {
            ASSERT_EQ(entry->head, expected->second);
        }
    }
    std::size_t visited = 0;
    map.forEach([&](auto const& entry) {
        ++visited;
        EXPECT_EQ(model.at(entry.key), entry.head);
    });
    EXPECT_EQ(visited, model.size());
}

} // namespace
