#include "orlin/core/AddressPositionMap.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

using tin::core::AddressPositionMap;

// Random inserts, reassignments and erases against std::unordered_map as the oracle; the
// keys are the addresses of a vector's elements, as the map's owner files them.
TEST(AddressPositionMapTest, AgreesWithAStandardMapUnderChurn)
{
    std::vector<double> objects(20000);
    AddressPositionMap map;
    std::unordered_map<const void*, std::size_t> oracle;
    std::mt19937 random(5);
    std::uniform_int_distribution<std::size_t> pick(0, objects.size() - 1);
    for (int step = 0; step < 200000; ++step) {
        const void* key = &objects[pick(random)];
        const std::size_t position = pick(random);
        switch (step % 4) {
        case 0:
        case 1: {
            const auto known = oracle.find(key);
            const std::size_t before = map.insert(key, position);
            if (known == oracle.end()) {
                ASSERT_EQ(before, AddressPositionMap::NONE);
                oracle[key] = position;
            } else {
                ASSERT_EQ(before, known->second); // the first filing stands
            }
            break;
        }
        case 2:
            map.assign(key, position);
            if (oracle.count(key))
                oracle[key] = position;
            break;
        default:
            ASSERT_EQ(map.erase(key), oracle.erase(key) == 1);
        }
        ASSERT_EQ(map.size(), oracle.size());
    }
    for (const double& o : objects) {
        const auto known = oracle.find(&o);
        ASSERT_EQ(map.find(&o), known == oracle.end() ? AddressPositionMap::NONE : known->second);
    }
    EXPECT_EQ(map.find(nullptr), AddressPositionMap::NONE);
    map.clear();
    EXPECT_EQ(map.size(), 0u);
    EXPECT_EQ(map.find(&objects[0]), AddressPositionMap::NONE);
    EXPECT_FALSE(map.erase(&objects[0]));
}
