#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "orlin/util/AddressMapT.h"

using tin::util::AddressMapT;

TEST(AddressMapTTest, AgreesWithAStandardMapThroughGrowth)
{
    // Keys close together in memory, as objects of one allocation are.
    std::vector<int> objects(20000);
    AddressMapT<int, int> map;
    std::unordered_map<int const*, int> oracle;
    std::mt19937 random(1);
    std::uniform_int_distribution<std::size_t> pick(0, objects.size() - 1);
    for (int i = 0; i < 50000; ++i) {
        int const* key = &objects[pick(random)];
        map[key] += i;
        oracle[key] += i;
    }
    EXPECT_EQ(map.size(), oracle.size());
    for (auto const& object : objects) {
        auto const* found = map.find(&object);
        auto const expected = oracle.find(&object);
        if (expected == oracle.end()) {
            EXPECT_EQ(found, nullptr);
        } else {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(*found, expected->second);
        }
    }
}

TEST(AddressMapTTest, EmptyMapNullKeyAndReservedMapKeepValues)
{
    AddressMapT<std::string, std::shared_ptr<std::string>> map;
    std::string a = "a", b = "b";
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(map.find(&a), nullptr);
    EXPECT_EQ(map.find(nullptr), nullptr);
    map.reserve(1000);
    map[&a] = std::make_shared<std::string>("first");
    auto* value = &map[&b];
    // No insertion of a new key: the reference stays put.
    map[&a] = std::make_shared<std::string>("second");
    EXPECT_EQ(value, &map[&b]);
    EXPECT_EQ(*map[&a], "second");
    EXPECT_EQ(map[&b], nullptr);
    EXPECT_EQ(map.size(), 2u);
}
