#include "orlin/core/FixedBlockPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

using tin::core::FixedBlockPool;

TEST(FixedBlockPoolTest, BlocksAreDistinctAlignedAndKeepTheirBytesAcrossChunks)
{
    FixedBlockPool pool(70);
    EXPECT_EQ(pool.blockSize(), 72u);
    const std::size_t n = 3 * FixedBlockPool::CHUNK_SIZE / pool.blockSize();
    std::vector<unsigned char*> blocks;
    for (std::size_t i = 0; i < n; ++i) {
        auto* b = static_cast<unsigned char*>(pool.allocate());
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(b) % FixedBlockPool::BLOCK_ALIGNMENT, 0u);
        ASSERT_TRUE(pool.owns(b) && pool.owns(b + pool.blockSize() - 1));
        std::memset(b, static_cast<int>(i & 0xff), pool.blockSize());
        blocks.push_back(b);
    }
    EXPECT_GE(pool.chunkCount(), 3u);
    EXPECT_EQ(std::set<unsigned char*>(blocks.begin(), blocks.end()).size(), n);
    // Overlapping blocks would have overwritten each other's fill.
    for (std::size_t i = 0; i < n; i += 97) {
        for (std::size_t k = 0; k < pool.blockSize(); ++k)
            ASSERT_EQ(blocks[i][k], i & 0xff) << i;
    }
    int outside = 0;
    EXPECT_FALSE(pool.owns(&outside));
}

TEST(FixedBlockPoolTest, FreedBlocksAreReusedBeforeNewChunks)
{
    FixedBlockPool pool(64);
    std::vector<void*> blocks;
    for (int i = 0; i < 1000; ++i)
        blocks.push_back(pool.allocate());
    const std::size_t chunks = pool.chunkCount();
    const std::set<void*> first(blocks.begin(), blocks.end());
    for (void* b : blocks)
        pool.deallocate(b);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(first.count(pool.allocate()), 1u);
    EXPECT_EQ(pool.chunkCount(), chunks);
    pool.deallocate(nullptr); // ignored
}

TEST(FixedBlockPoolTest, BlocksFreedOnOtherThreadsComeBack)
{
    FixedBlockPool pool(48);
    std::vector<void*> blocks;
    for (int i = 0; i < 40000; ++i)
        blocks.push_back(pool.allocate());
    const std::set<void*> given(blocks.begin(), blocks.end());
    const std::size_t chunks = pool.chunkCount();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&pool, &blocks, t] {
            for (std::size_t i = t; i < blocks.size(); i += 4)
                pool.deallocate(blocks[i]);
        });
    }
    for (auto& t : threads)
        t.join();
    // Every block pushed concurrently is on the free list once: none lost, none twice.
    std::set<void*> again;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        again.insert(pool.allocate());
    EXPECT_EQ(again, given);
    EXPECT_EQ(pool.chunkCount(), chunks);
}
