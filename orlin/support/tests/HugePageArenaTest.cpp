#include "orlin/support/HugePageArena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <random>
#include <thread>
#include <utility>
#include <vector>

using tin::support::HugePageArena;

namespace {

struct Block
{
    unsigned char* memory;
    std::size_t bytes;
    unsigned char fill;
};

// Virtual size of this process in bytes, from /proc/self/statm (first field, in pages).
std::size_t virtualSize()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * 4096;
}

void fillBlock(Block const& b)
{
    std::memset(b.memory, b.fill, b.bytes);
}

bool blockIntact(Block const& b)
{
    for (std::size_t i = 0; i < b.bytes; i += 4093) {
        if (b.memory[i] != b.fill)
            return false;
    }
    return b.memory[b.bytes - 1] == b.fill;
}

} // namespace

TEST(HugePageArena, BlocksOfEverySizeAreDisjointAlignedAndKeepTheirContents)
{
    // Below the small limit, in a chunk, right at the edges, and with a mapping of its own.
    std::vector<std::size_t> const sizes = {1,           100,         65535,   65536, 65537, 200000,
                                            1u << 20,    (8u << 20),  (8u << 20) + 1,   20u << 20,
                                            3u << 20,    777777};
    std::vector<Block> blocks;
    unsigned char fill = 1;
    for (int round = 0; round < 4; ++round) {
        for (std::size_t bytes : sizes) {
            auto* memory = static_cast<unsigned char*>(HugePageArena::allocate(bytes));
            ASSERT_NE(memory, nullptr);
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory) % 16, 0u) << bytes << " bytes";
            blocks.push_back({memory, bytes, fill++});
            fillBlock(blocks.back());
        }
    }
    std::vector<std::pair<std::uintptr_t, std::uintptr_t>> ranges;
    for (Block const& b : blocks) {
        EXPECT_TRUE(blockIntact(b)) << b.bytes << " bytes";
        auto const start = reinterpret_cast<std::uintptr_t>(b.memory);
        ranges.emplace_back(start, start + b.bytes);
    }
    std::sort(ranges.begin(), ranges.end());
    for (std::size_t i = 1; i < ranges.size(); ++i)
        EXPECT_LE(ranges[i - 1].second, ranges[i].first) << "blocks overlap";

    std::mt19937 random(3);
    std::shuffle(blocks.begin(), blocks.end(), random);
    for (Block const& b : blocks)
        HugePageArena::deallocate(b.memory, b.bytes);
}

TEST(HugePageArena, MemoryComesBackWhenTheBlocksDo)
{
    // Ten rounds of 512 MB each: unless chunks are unmapped once empty, the process grows by
    // gigabytes.
    std::size_t const before = virtualSize();
    for (int round = 0; round < 10; ++round) {
        std::vector<void*> blocks;
        for (int i = 0; i < 512; ++i) {
            blocks.push_back(HugePageArena::allocate(1u << 20));
            static_cast<char*>(blocks.back())[0] = 1;
        }
        // Out of order: the last one carved is not the first one back.
        std::rotate(blocks.begin(), blocks.begin() + 100, blocks.end());
        for (void* b : blocks)
            HugePageArena::deallocate(b, 1u << 20);
    }
    EXPECT_LT(virtualSize(), before + (200u << 20));
}

TEST(HugePageArena, ShortLivedBlocksReuseTheirPlace)
{
    void* kept = HugePageArena::allocate(100000);
    void* first = HugePageArena::allocate(100000);
    HugePageArena::deallocate(first, 100000);
    void* second = HugePageArena::allocate(100000);
    EXPECT_EQ(first, second);
    HugePageArena::deallocate(second, 100000);
    HugePageArena::deallocate(kept, 100000);
}

TEST(HugePageArena, NothingIsHeldOnceEveryBlockIsBack)
{
    // A thread that has carved from a chunk keeps none of it mapped once its blocks are back,
    // so the memory of a finished triangulation does not add to the next step's peak.
    std::size_t const before = virtualSize();
    std::vector<void*> blocks;
    for (int i = 0; i < 40; ++i)
        blocks.push_back(HugePageArena::allocate(300000));
    EXPECT_GE(virtualSize(), before + 12000000);
    for (void* b : blocks)
        HugePageArena::deallocate(b, 300000);
    EXPECT_LT(virtualSize(), before + (4u << 20));
}

TEST(HugePageArena, BlocksMayBeReturnedByAnotherThread)
{
    std::size_t const before = virtualSize();
    for (int round = 0; round < 6; ++round) {
        std::vector<Block> blocks;
        std::thread maker([&blocks] {
            for (int i = 0; i < 300; ++i) {
                Block b{static_cast<unsigned char*>(HugePageArena::allocate(1u << 20)), 1u << 20,
                        static_cast<unsigned char>(i)};
                fillBlock(b);
                blocks.push_back(b);
            }
        });
        maker.join(); // the maker's thread is gone before its blocks come back
        std::thread returner([&blocks] {
            for (Block const& b : blocks) {
                EXPECT_TRUE(blockIntact(b));
                HugePageArena::deallocate(b.memory, b.bytes);
            }
        });
        returner.join();
    }
    EXPECT_LT(virtualSize(), before + (200u << 20));
}
