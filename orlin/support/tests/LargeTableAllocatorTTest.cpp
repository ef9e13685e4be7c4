#include "orlin/support/LargeTableAllocatorT.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

using tin::support::LargeTableAllocatorT;

namespace {

using Table = std::vector<std::uint64_t, LargeTableAllocatorT<std::uint64_t>>;

std::uint64_t valueAt(std::size_t i)
{
    return i * 0x9e3779b97f4a7c15ULL + 1;
}

// Tables cross from the heap to mapped blocks and back as they grow, are copied and shrink:
// the contents must survive every move, and mapped blocks must be aligned for huge pages.
TEST(LargeTableAllocatorTTest, ContentsSurviveGrowthCopyAndShrinkAcrossTheMappingThreshold)
{
    std::size_t const large = 3 * LargeTableAllocatorT<std::uint64_t>::LARGE_BLOCK / sizeof(std::uint64_t) + 5;
    Table table;
    for (std::size_t i = 0; i < large; ++i) {
        table.push_back(valueAt(i));
    }
    ASSERT_GE(table.capacity() * sizeof(std::uint64_t), LargeTableAllocatorT<std::uint64_t>::LARGE_BLOCK);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(table.data()) % LargeTableAllocatorT<std::uint64_t>::LARGE_BLOCK, 0u);

    Table copy = table;
    table.assign(table.size(), 0);
    for (std::size_t i = 0; i < large; ++i) {
        ASSERT_EQ(copy[i], valueAt(i)) << i;
    }
    copy.resize(10);
    copy.shrink_to_fit();
    ASSERT_EQ(copy.size(), 10u);
    for (std::size_t i = 0; i < copy.size(); ++i) {
        EXPECT_EQ(copy[i], valueAt(i));
    }
}

TEST(LargeTableAllocatorTTest, ImpossibleSizeThrowsBadAlloc)
{
    LargeTableAllocatorT<std::uint64_t> allocator;
    EXPECT_THROW(allocator.allocate(static_cast<std::size_t>(-1) / 4), std::bad_alloc);
}

} // namespace
