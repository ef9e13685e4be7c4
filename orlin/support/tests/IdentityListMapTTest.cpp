#include "orlin/support/IdentityListMapT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include <map>
#include <random>
#include <vector>

using tin::support::IdentityListMapT;

namespace {

// Checks every object's presence against the model, by look-up and by a walk of the table.
template <class K>
void expectSameAs(IdentityListMapT<K> const& map, std::map<K*, std::uint32_t> const& model, std::vector<K*> const& keys)
{
    ASSERT_EQ(map.size(), model.size());
    for (K* key : keys) {
        auto const* entry = map.find(key);
        auto const expected = model.find(key);
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
    std::vector<int*> keys;
    for (int& object : objects) {
        keys.push_back(&object);
    }
    expectSameAs(map, model, keys);
}

// Objects the size of points and edges, laid out one after the other as the pool makes them.
using Object = std::array<char, 80>;


// Neighbouring objects share home runs, so whole runs pile into one probe cluster: erasing
// from the middle of such clusters, also where they wrap past the end of the table, must
// keep every later entry reachable. Two maps take alternate objects (two TINs built at once),
// entries leave last-in first-out (a TIN taken down) and in random order, and come back.
TEST(IdentityListMapTTest, ObjectsMadeTogetherStayFindableThroughErasures)
{
    std::vector<Object> objects(30000);
    std::vector<Object*> even;
    std::vector<Object*> odd;
    for (std::size_t k = 0; k < objects.size(); ++k) {
        (k % 2 == 0 ? even : odd).push_back(&objects[k]);
    }
    IdentityListMapT<Object> maps[2];
    std::map<Object*, std::uint32_t> models[2];
    std::vector<Object*> const* keys[2] = {&even, &odd};
    for (std::size_t k = 0; k < even.size(); ++k) {
        for (int m = 0; m < 2; ++m) {
            Object* key = (*keys[m])[k];
            maps[m].obtain(key).head = static_cast<std::uint32_t>(k);
            models[m][key] = static_cast<std::uint32_t>(k);
        }
    }
    for (std::size_t k = even.size(); k-- > even.size() / 2;) {
        maps[0].erase(even[k]);
        models[0].erase(even[k]);
    }
    std::mt19937 random(5);
    std::vector<Object*> shuffled = odd;
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    for (std::size_t k = 0; k < shuffled.size() / 3; ++k) {
        maps[1].erase(shuffled[k]);
        models[1].erase(shuffled[k]);
    }
    for (int m = 0; m < 2; ++m) {
        expectSameAs(maps[m], models[m], *keys[m]);
    }
    for (std::size_t k = 0; k < shuffled.size() / 6; ++k) {
        maps[1].obtain(shuffled[k]).head = 7;
        models[1][shuffled[k]] = 7;
    }
    expectSameAs(maps[1], models[1], odd);
}

// A few objects scattered over a wide stretch of memory (a small TIN in a large pool) in a
// small table, with random churn.
TEST(IdentityListMapTTest, ScatteredObjectsInASmallTableChurn)
{
    std::vector<Object> objects(100000);
    std::mt19937 random(9);
    std::vector<Object*> keys;
    for (int k = 0; k < 300; ++k) {
        keys.push_back(&objects[random() % objects.size()]);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    IdentityListMapT<Object> map;
    std::map<Object*, std::uint32_t> model;
    for (int round = 0; round < 20000; ++round) {
        Object* key = keys[random() % keys.size()];
        if (random() % 2 == 0) {
            map.erase(key);
            model.erase(key);
        } else {
            map.obtain(key).head = static_cast<std::uint32_t>(key - objects.data());
            model[key] = static_cast<std::uint32_t>(key - objects.data());
        }
    }
    expectSameAs(map, model, keys);
}

} // namespace
