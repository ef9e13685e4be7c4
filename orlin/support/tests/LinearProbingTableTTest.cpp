#include "orlin/support/LinearProbingTableT.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <random>

using tin::support::LinearProbingTableT;

namespace {

// Keys 1.., 0 marks an empty slot. A deliberately poor hash (few distinct values) makes long
// runs that wrap around the end of the table and cross each other.
struct Entry {
    int key = 0;
    int value = 0;
};

std::size_t poorHash(int key)
{
    return static_cast<std::size_t>(key % 7) * 977;
}

struct EntryTraits {
    static std::size_t hashOf(const Entry& e) { return poorHash(e.key); }
    static bool occupied(const Entry& e) { return e.key != 0; }
};

} // namespace

TEST(LinearProbingTableTTest, ClaimsAndFindsLikeAStandardMapThroughGrowth)
{
    LinearProbingTableT<Entry, EntryTraits> table;
    std::map<int, int> oracle;
    EXPECT_EQ(table.find(poorHash(3), [](const Entry&) { return true; }), nullptr);
    std::mt19937 random(9);
    std::uniform_int_distribution<int> pick(1, 3000);
    for (int step = 0; step < 6000; ++step) {
        const int key = pick(random);
        const auto claimed = table.claim(poorHash(key), [key](const Entry& e) { return e.key == key; });
        const bool isNew = oracle.emplace(key, step).second;
        ASSERT_EQ(claimed.second, isNew) << key;
        if (claimed.second)
            *claimed.first = Entry{key, step};
        ASSERT_EQ(claimed.first->value, oracle[key]); // the first claim stands
        ASSERT_EQ(table.size(), oracle.size());
        if (step == 100)
            table.reserve(5000); // a rehash in the middle keeps every entry
    }
    for (int key = 1; key <= 3100; ++key) {
        const Entry* found = table.find(poorHash(key), [key](const Entry& e) { return e.key == key; });
        const auto expected = oracle.find(key);
        if (expected == oracle.end()) {
            EXPECT_EQ(found, nullptr) << key;
        } else {
            ASSERT_NE(found, nullptr) << key;
            EXPECT_EQ(found->value, expected->second);
        }
    }
    std::size_t full = 0;
    for (const Entry& e : table.slotArray())
        full += EntryTraits::occupied(e) ? 1 : 0;
    EXPECT_EQ(full, oracle.size());
    EXPECT_LE(table.size() * 4, table.slotArray().size() * 3);
}
