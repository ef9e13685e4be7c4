#include "orlin/support/FixedSizePool.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <vector>

using tin::support::FixedSizePool;
using tin::support::FixedSizePoolAllocatorT;

namespace {

bool aligned(void const* p, std::size_t alignment)
{
    return reinterpret_cast<std::uintptr_t>(p) % alignment == 0;
}

struct Tracked {
    static int alive;
    explicit Tracked(int v) : value(v) { ++alive; }
    ~Tracked() { --alive; }
    int value;
    char pad[40];
};
int Tracked::alive = 0;

} // namespace

TEST(FixedSizePoolTest, ReleasedChunkIsReusedBySameSizeClassOnly)
{
    FixedSizePool& pool = FixedSizePool::instance();
    void* a = pool.allocate(40);
    void* b = pool.allocate(40);
    EXPECT_NE(a, b);
    pool.deallocate(a, 40);
    // 33..40 bytes share a class; a different class must not get the chunk.
    void* other = pool.allocate(48);
    EXPECT_NE(other, a);
    void* again = pool.allocate(33);
    EXPECT_EQ(again, a);
    pool.deallocate(again, 33);
    pool.deallocate(b, 40);
    pool.deallocate(other, 48);
}

// Released chunks are kept on several lists per class; reuse must still be exactly
// last-released-first, also when releases and allocations alternate, checked against a stack.
TEST(FixedSizePoolTest, ReleasedChunksComeBackInReverseOrderOfRelease)
{
    FixedSizePool& pool = FixedSizePool::instance();
    std::size_t const bytes = 72;
    std::vector<void*> chunks;
    for (int i = 0; i < 50; ++i) {
        chunks.push_back(pool.allocate(bytes));
    }
    // Chunks released before this test lie below ours; while ours last, only ours come back.
    std::vector<void*> stack;
    auto release = [&](void* p) {
        pool.deallocate(p, bytes);
        stack.push_back(p);
    };
    auto takeBack = [&] {
        void* p = pool.allocate(bytes);
        EXPECT_EQ(p, stack.back());
        stack.pop_back();
        return p;
    };
    for (int i = 0; i < 50; ++i) {
        release(chunks[static_cast<std::size_t>(i * 7 % 50)]);
    }
    std::vector<void*> held;
    for (int round = 0; round < 20; ++round) {
        for (int k = 0; k < round % 11 + 1 && !stack.empty(); ++k) {
            held.push_back(takeBack());
        }
        for (int k = 0; k < round % 5 + 1 && !held.empty(); ++k) {
            release(held.back());
            held.pop_back();
        }
    }
    while (!stack.empty()) {
        held.push_back(takeBack());
    }
    EXPECT_EQ(std::set<void*>(held.begin(), held.end()), std::set<void*>(chunks.begin(), chunks.end()));
    for (void* p : held) {
        pool.deallocate(p, bytes);
    }
}

TEST(FixedSizePoolTest, ManyChunksAreDistinctAlignedWritableAndNamedByTheirReference)
{
    FixedSizePool& pool = FixedSizePool::instance();
    std::size_t const live = pool.liveChunks();
    std::size_t const count = 100000; // 100000 * 80 B spans several 2 MiB blocks
    std::vector<unsigned char*> chunks;
    chunks.reserve(count);
    std::set<std::uint32_t> references;
    for (std::size_t i = 0; i < count; ++i) {
        auto* p = static_cast<unsigned char*>(pool.allocate(80));
        ASSERT_TRUE(aligned(p, FixedSizePool::GRANULE));
        ASSERT_TRUE(pool.owns(p));
        ASSERT_TRUE(pool.owns(p + 79));
        std::uint32_t const r = pool.referenceOf(p + 16);
        ASSERT_NE(r, 0u);
        ASSERT_EQ(pool.addressOf(r), p + 16);
        references.insert(r);
        std::memset(p, static_cast<int>(i & 0xff), 80);
        chunks.push_back(p);
    }
    EXPECT_EQ(pool.liveChunks(), live + count);
    EXPECT_GE(pool.blockCount(), 80 * count / FixedSizePool::BLOCK);
    EXPECT_EQ(references.size(), count);
    std::set<unsigned char*> distinct(chunks.begin(), chunks.end());
    EXPECT_EQ(distinct.size(), count);
    // Neighbours overwriting each other would show here.
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(chunks[i][0], static_cast<unsigned char>(i & 0xff));
        ASSERT_EQ(chunks[i][79], static_cast<unsigned char>(i & 0xff));
    }
    for (auto* p : chunks) {
        pool.deallocate(p, 80);
    }
    EXPECT_EQ(pool.liveChunks(), live);
    // Everything freed: the same number of chunks again takes no new block.
    std::size_t const blocks = pool.blockCount();
    for (std::size_t i = 0; i < count; ++i) {
        chunks[i] = static_cast<unsigned char*>(pool.allocate(80));
    }
    EXPECT_EQ(pool.blockCount(), blocks);
    EXPECT_EQ(std::set<unsigned char*>(chunks.begin(), chunks.end()), distinct);
    for (auto* p : chunks) {
        pool.deallocate(p, 80);
    }
    EXPECT_FALSE(pool.owns(&live));
}

TEST(FixedSizePoolTest, LastReleaseOfALargeCarvingStartsAfreshInTheSamePages)
{
    FixedSizePool& pool = FixedSizePool::instance();
    if (pool.liveChunks() != 0) {
        GTEST_SKIP() << "other objects of this process live in the pool";
    }
    std::size_t const count = FixedSizePool::RELEASE_THRESHOLD / 64 + 1000;
    std::vector<unsigned char*> chunks(count);
    for (auto& p : chunks) {
        p = static_cast<unsigned char*>(pool.allocate(64));
        std::memset(p, 0xab, 64);
    }
    EXPECT_GT(pool.carvedBytes(), FixedSizePool::RELEASE_THRESHOLD);
    for (std::size_t i = 1; i < count; ++i) {
        pool.deallocate(chunks[i], 64);
    }
    EXPECT_GT(pool.carvedBytes(), 0u); // one chunk still lives: nothing is given back
    pool.deallocate(chunks[0], 64);
    EXPECT_EQ(pool.carvedBytes(), 0u);
    EXPECT_EQ(pool.liveChunks(), 0u);
    // The free lists are forgotten: chunks come from the start again, in pages the system
    // may have taken (zeroed) or left as they were, and every one of them is writable again.
    std::vector<unsigned char*> again(count);
    for (std::size_t i = 0; i < count; ++i) {
        again[i] = static_cast<unsigned char*>(pool.allocate(64));
        std::memset(again[i], 0x5c, 64);
    }
    EXPECT_EQ(pool.referenceOf(again[0]), 0u);
    for (std::size_t i = 0; i < count; i += 997) {
        ASSERT_EQ(again[i][0], 0x5c);
        ASSERT_EQ(again[i][63], 0x5c);
    }
    // The same stretch again, not fresh memory past it.
    EXPECT_LE(*std::max_element(again.begin(), again.end()),
              *std::max_element(chunks.begin(), chunks.end()));
    for (unsigned char* p : again) {
        pool.deallocate(p, 64);
    }
}

TEST(FixedSizePoolTest, AllocatorServesSharedObjectsAndFallsBackForArraysAndLargeTypes)
{
    FixedSizePool& pool = FixedSizePool::instance();
    std::size_t const live = pool.liveChunks();
    {
        std::vector<std::shared_ptr<Tracked>> objects;
        for (int i = 0; i < 1000; ++i) {
            objects.push_back(std::allocate_shared<Tracked>(FixedSizePoolAllocatorT<Tracked>(), i));
        }
        EXPECT_EQ(Tracked::alive, 1000);
        EXPECT_EQ(pool.liveChunks(), live + 1000);
        for (int i = 0; i < 1000; ++i) {
            EXPECT_EQ(objects[i]->value, i);
            EXPECT_TRUE(aligned(objects[i].get(), alignof(Tracked)));
            EXPECT_TRUE(pool.owns(objects[i].get()));
        }
    }
    EXPECT_EQ(Tracked::alive, 0);
    EXPECT_EQ(pool.liveChunks(), live);

    // Arrays and types beyond the pool's limits go through operator new.
    std::vector<double, FixedSizePoolAllocatorT<double>> values(10000, 1.5);
    EXPECT_EQ(values.back(), 1.5);
    EXPECT_FALSE(pool.owns(values.data()));
    struct alignas(64) Wide {
        char bytes[64];
    };
    EXPECT_FALSE(FixedSizePool::serves(sizeof(Wide), alignof(Wide)));
    auto wide = std::allocate_shared<Wide>(FixedSizePoolAllocatorT<Wide>());
    EXPECT_TRUE(aligned(wide.get(), 64));
    EXPECT_FALSE(pool.owns(wide.get()));
    EXPECT_FALSE(FixedSizePool::serves(0, 1));
    EXPECT_FALSE(FixedSizePool::serves(FixedSizePool::MAX_CHUNK + 1, 8));
}

TEST(FixedSizePoolTest, PagesFaultedInAheadOnAnotherThreadKeepWhatIsCarvedThere)
{
    // A thread populates the committed stretch ahead of the carving (and over chunks already
    // written) while this one carves and writes: nothing written may change, and every chunk
    // carved lies in what commitAhead said was committed.
    FixedSizePool& pool = FixedSizePool::instance();
    std::size_t const ahead = 3 * FixedSizePool::BLOCK + 123;
    char* const end = pool.commitAhead(ahead);
    char* const from = pool.cursorBlock();
    ASSERT_NE(end, nullptr);
    ASSERT_NE(from, nullptr);
    EXPECT_EQ(static_cast<std::size_t>(end - from) % FixedSizePool::BLOCK, 0u);
    EXPECT_GE(static_cast<std::size_t>(end - from), ahead);

    std::vector<std::uint64_t*> chunks;
    std::thread pager([&] {
        for (char* block = from; block < end; block += FixedSizePool::BLOCK) {
            FixedSizePool::populate(block, FixedSizePool::BLOCK);
        }
    });
    for (std::size_t k = 0; k < ahead / 64; ++k) {
        auto* chunk = static_cast<std::uint64_t*>(pool.allocate(64));
        for (int i = 0; i < 8; ++i) {
            chunk[i] = 8 * k + static_cast<std::uint64_t>(i);
        }
        chunks.push_back(chunk);
    }
    pager.join();
    for (char* block = from; block < end; block += FixedSizePool::BLOCK) {
        FixedSizePool::populate(block, FixedSizePool::BLOCK);
    }
    for (std::size_t k = 0; k < chunks.size(); ++k) {
        auto const* c = reinterpret_cast<char const*>(chunks[k]);
        EXPECT_TRUE(pool.owns(c));
        EXPECT_LT(c, end);
        for (int i = 0; i < 8; ++i) {
            ASSERT_EQ(chunks[k][i], 8 * k + static_cast<std::uint64_t>(i)) << "chunk " << k;
        }
    }
    for (std::uint64_t* chunk : chunks) {
        pool.deallocate(chunk, 64);
    }
}
