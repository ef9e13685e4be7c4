#include "orlin/support/AddressMapT.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

using tin::support::AddressMapT;

// Random inserts, reassignments and erases against std::unordered_map as the oracle; the
// keys are the addresses of a vector's elements, close together in memory as the objects
// of one allocation are.
TEST(AddressMapTTest, AgreesWithAStandardMapUnderChurn)
{
    std::vector<double> objects(20000);
    AddressMapT<double, std::size_t> map;
    std::unordered_map<const double*, std::size_t> oracle;
    std::mt19937 random(5);
    std::uniform_int_distribution<std::size_t> pick(0, objects.size() - 1);
    for (int step = 0; step < 200000; ++step) {
        const double* key = &objects[pick(random)];
        const std::size_t position = pick(random);
        switch (step % 5) {
        case 0:
        case 1: {
            const auto known = oracle.find(key);
            const auto filed = map.insert(key, position);
            ASSERT_EQ(filed.second, known == oracle.end());
            if (filed.second)
                oracle[key] = position;
            ASSERT_EQ(*filed.first, oracle[key]); // the first filing stands
            break;
        }
        case 2:
            if (std::size_t* value = map.find(key))
                *value = position;
            if (oracle.count(key))
                oracle[key] = position;
            break;
        case 3:
            map[key] += 7;
            oracle[key] += 7;
            break;
        default:
            ASSERT_EQ(map.erase(key), oracle.erase(key) == 1);
        }
        ASSERT_EQ(map.size(), oracle.size());
    }
    for (const double& o : objects) {
        const auto known = oracle.find(&o);
        const std::size_t* found = map.find(&o);
        if (known == oracle.end()) {
            EXPECT_EQ(found, nullptr);
        } else {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(*found, known->second);
        }
    }
    EXPECT_EQ(map.find(nullptr), nullptr);
}

TEST(AddressMapTTest, EmptyMapNullKeyAndReservedMapKeepValues)
{
    AddressMapT<std::string, std::shared_ptr<std::string>> map;
    std::string a = "a", b = "b";
    EXPECT_EQ(map.find(nullptr), nullptr);
    EXPECT_FALSE(map.erase(&a));
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

TEST(AddressMapTTest, ErasedAndMovedFromEntriesReleaseTheirValues)
{
    std::vector<int> keys(100);
    auto owned = std::make_shared<int>(1);
    AddressMapT<int, std::shared_ptr<int>> map;
    for (const int& k : keys)
        map[&k] = owned;
    EXPECT_EQ(owned.use_count(), 101);
    for (std::size_t i = 0; i < keys.size(); i += 2)
        ASSERT_TRUE(map.erase(&keys[i]));
    EXPECT_EQ(owned.use_count(), 51);

    AddressMapT<int, std::shared_ptr<int>> moved(std::move(map));
    EXPECT_EQ(owned.use_count(), 51);
    EXPECT_TRUE(map.empty()); // NOLINT(bugprone-use-after-move): the moved-from map stays usable
    EXPECT_EQ(map.find(&keys[1]), nullptr);
    map[&keys[0]] = owned;
    EXPECT_EQ(map.size(), 1u);
    ASSERT_NE(moved.find(&keys[1]), nullptr);
    EXPECT_EQ(moved.find(&keys[0]), nullptr);
    moved.clear();
    EXPECT_EQ(owned.use_count(), 2);
}
