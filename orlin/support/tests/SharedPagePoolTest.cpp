#include "orlin/support/SharedPagePool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <stdexcept>
#include <vector>

using tin::support::SharedPagePool;

namespace {

// A page size no array of the library uses, so that the counts below are this test's alone.
constexpr std::size_t PAGE = 2048;
constexpr std::size_t PER_SLAB = SharedPagePool::SLAB_BYTES / PAGE;

std::uintptr_t addressOf(void const* p)
{
    return reinterpret_cast<std::uintptr_t>(p);
}

// Pages over several slabs: each is aligned, holds its own bytes (nothing overlaps a header
// or another page), starts with one holder, and all go back, slabs included.
TEST(SharedPagePoolTest, PagesOverSeveralSlabsAreDistinctWritableAndAllGoBack)
{
    SharedPagePool& pool = SharedPagePool::of(PAGE);
    ASSERT_EQ(pool.pageBytes(), PAGE);
    std::size_t const pagesBefore = pool.pageCount();
    std::size_t const count = 3 * PER_SLAB + 7;
    std::vector<void*> pages(count);
    pool.allocate(pages.data(), count);
    EXPECT_EQ(pool.pageCount(), pagesBefore + count);
    EXPECT_GE(pool.slabCount(), 4u);

    std::set<std::uintptr_t> slabs;
    for (std::size_t k = 0; k < count; ++k) {
        ASSERT_EQ(addressOf(pages[k]) % PAGE, 0u);
        ASSERT_EQ(SharedPagePool::holders(pages[k]), 1u);
        // Never the first page of a slab: that one holds the header.
        ASSERT_NE(addressOf(pages[k]) % SharedPagePool::SLAB_BYTES, 0u);
        slabs.insert(addressOf(pages[k]) & ~std::uintptr_t(SharedPagePool::SLAB_BYTES - 1));
        std::memset(pages[k], static_cast<int>(k % 251), PAGE);
    }
    EXPECT_EQ(std::set<void*>(pages.begin(), pages.end()).size(), count);
    EXPECT_GE(slabs.size(), 4u);
    for (std::size_t k = 0; k < count; ++k) {
        auto const* bytes = static_cast<unsigned char const*>(pages[k]);
        ASSERT_EQ(bytes[0], k % 251) << "page " << k;
        ASSERT_EQ(bytes[PAGE - 1], k % 251) << "page " << k;
        ASSERT_EQ(SharedPagePool::holders(pages[k]), 1u) << "page " << k << " overwrote a count";
    }

    pool.free(pages.data(), count);
    EXPECT_EQ(pool.pageCount(), pagesBefore);
    if (pagesBefore == 0) {
        // Only the kept empty slab and the spares.
        EXPECT_LE(pool.slabCount(), 1u + SharedPagePool::SPARE_SLABS);
    }

    // The same number again comes from the slabs kept: nothing more is mapped, and every
    // page starts with one holder although its slab held pages before.
    std::size_t const slabsKept = pool.slabCount();
    pool.allocate(pages.data(), count);
    EXPECT_EQ(pool.slabCount(), slabsKept);
    EXPECT_EQ(std::set<void*>(pages.begin(), pages.end()).size(), count);
    for (std::size_t k = 0; k < count; ++k) {
        ASSERT_EQ(SharedPagePool::holders(pages[k]), 1u) << "page " << k;
        std::memset(pages[k], 0x3c, PAGE);
    }
    pool.free(pages.data(), count);
    EXPECT_EQ(pool.pageCount(), pagesBefore);

    // Beyond the spares, emptied slabs go back to the system (lazily: the next large request
    // takes them again before mapping more).
    std::size_t const many = (SharedPagePool::SPARE_SLABS + 8) * PER_SLAB;
    std::vector<void*> more(many);
    pool.allocate(more.data(), many);
    pool.free(more.data(), many);
    EXPECT_GE(pool.slabCount(), slabsKept);
    if (pagesBefore == 0) {
        EXPECT_LE(pool.slabCount(), 1u + SharedPagePool::SPARE_SLABS);
    }
    std::size_t const lazy = pool.lazySlabCount();
    pool.allocate(more.data(), many);
    EXPECT_LT(pool.lazySlabCount(), lazy > 0 ? lazy : 1);
    for (std::size_t k = 0; k < many; ++k) {
        ASSERT_EQ(SharedPagePool::holders(more[k]), 1u) << "page " << k;
        std::memset(more[k], static_cast<int>(k % 251), PAGE);
    }
    for (std::size_t k = 0; k < many; k += 7) {
        auto const* bytes = static_cast<unsigned char const*>(more[k]);
        ASSERT_EQ(bytes[0], k % 251) << "page " << k;
        ASSERT_EQ(bytes[PAGE - 1], k % 251) << "page " << k;
    }
    EXPECT_EQ(std::set<void*>(more.begin(), more.end()).size(), many);
    pool.free(more.data(), many);
}

TEST(SharedPagePoolTest, HoldersCountUpAndTheLastReleaseSaysSo)
{
    SharedPagePool& pool = SharedPagePool::of(PAGE);
    void* page = pool.allocate();
    SharedPagePool::retain(page);
    SharedPagePool::retain(page);
    EXPECT_EQ(SharedPagePool::holders(page), 3u);
    EXPECT_FALSE(SharedPagePool::release(page));
    EXPECT_FALSE(SharedPagePool::release(page));
    EXPECT_TRUE(SharedPagePool::release(page));
    pool.free(page);
}

// Pages freed from among live ones make room: taking as many again maps no slab, and the
// pages handed out are distinct from the live ones, which keep their contents.
TEST(SharedPagePoolTest, FreedPagesMakeRoomWithoutOverlappingLiveOnes)
{
    SharedPagePool& pool = SharedPagePool::of(PAGE);
    std::vector<void*> pages(2 * PER_SLAB);
    pool.allocate(pages.data(), pages.size());
    std::vector<void*> kept;
    std::size_t freed = 0;
    for (std::size_t k = 0; k < pages.size(); ++k) {
        if (k % 97 == 5) {
            pool.free(pages[k]);
            ++freed;
        } else {
            std::memset(pages[k], 0x5a, PAGE);
            kept.push_back(pages[k]);
        }
    }
    std::size_t const slabs = pool.slabCount();
    std::size_t const live = kept.size();
    for (std::size_t n = 0; n < freed; ++n) {
        void* again = pool.allocate();
        std::memset(again, 0x11, PAGE);
        kept.push_back(again);
    }
    EXPECT_EQ(pool.slabCount(), slabs);
    EXPECT_EQ(std::set<void*>(kept.begin(), kept.end()).size(), kept.size());
    for (std::size_t k = 0; k < live; ++k) {
        auto const* bytes = static_cast<unsigned char const*>(kept[k]);
        ASSERT_EQ(bytes[0], 0x5a);
        ASSERT_EQ(bytes[PAGE - 1], 0x5a);
    }
    pool.free(kept.data(), kept.size());
}

TEST(SharedPagePoolTest, SizesThatAreNoPageSizeAreRefused)
{
    EXPECT_THROW(SharedPagePool::of(3000), std::invalid_argument);
    EXPECT_THROW(SharedPagePool::of(32), std::invalid_argument);
    EXPECT_THROW(SharedPagePool::of(SharedPagePool::SLAB_BYTES), std::invalid_argument);
    EXPECT_EQ(&SharedPagePool::of(4096), &SharedPagePool::of(4096));
}

} // namespace
