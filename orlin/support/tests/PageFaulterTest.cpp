#include "orlin/support/PageFaulter.h"

#include "orlin/support/AlignedMapping.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

using tin::support::AlignedMapping;
using tin::support::PageFaulter;

namespace {

// Pages of [memory, memory + bytes) that are resident, as the system tells (mincore).
std::size_t residentPages(void* memory, std::size_t bytes)
{
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> flags((bytes + page - 1) / page);
    if (mincore(memory, bytes, flags.data()) != 0) {
        return 0;
    }
    std::size_t count = 0;
    for (unsigned char f : flags) {
        count += f & 1;
    }
    return count;
}

} // namespace

TEST(PageFaulter, QueuedMemoryIsResidentAfterwardsAndWhatTheOwnerWroteStays)
{
    if (!PageFaulter::supported()) {
        GTEST_SKIP() << "the system cannot fault pages in on another thread";
    }
    const std::size_t bytes = 16 * AlignedMapping::ALIGNMENT;
    auto* memory = static_cast<std::uint64_t*>(AlignedMapping::map(bytes, true));
    ASSERT_NE(memory, nullptr);
    const std::size_t words = bytes / sizeof(std::uint64_t);
    EXPECT_EQ(residentPages(memory, bytes), 0u);

    // Queued in pieces while this thread writes the same memory from the front.
    for (std::size_t part = 0; part < 4; ++part) {
        PageFaulter::faultInLater(reinterpret_cast<char*>(memory) + part * (bytes / 4), bytes / 4);
    }
    for (std::size_t i = 0; i < words; i += 509) {
        memory[i] = i * 2654435761u;
    }
    PageFaulter::waitUntilIdle();

    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    EXPECT_EQ(residentPages(memory, bytes), bytes / page);
    for (std::size_t i = 0; i < words; ++i) {
        ASSERT_EQ(memory[i], i % 509 == 0 ? i * 2654435761u : 0u) << "word " << i;
    }
    munmap(memory, bytes);
}

TEST(PageFaulter, NothingHappensToNullEmptyOrVanishedRanges)
{
    PageFaulter::faultInLater(nullptr, 4096);
    int local = 7;
    PageFaulter::faultInLater(&local, 0);
    // A range unmapped before the helper comes to it ends that request and no other.
    const std::size_t bytes = 4 * AlignedMapping::ALIGNMENT;
    void* gone = AlignedMapping::map(bytes, true);
    ASSERT_NE(gone, nullptr);
    munmap(gone, bytes);
    PageFaulter::faultInLater(gone, bytes);
    void* kept = AlignedMapping::map(bytes, true);
    ASSERT_NE(kept, nullptr);
    PageFaulter::faultInLater(kept, bytes);
    PageFaulter::waitUntilIdle();
    if (PageFaulter::supported() && kept != gone) {
        EXPECT_EQ(residentPages(kept, bytes), bytes / static_cast<std::size_t>(sysconf(_SC_PAGESIZE)));
    }
    EXPECT_EQ(local, 7);
    munmap(kept, bytes);
}

TEST(PageFaulter, AFullQueueDropsRequestsInsteadOfWaiting)
{
    // Many more requests than the queue holds, from several threads: every call returns, and
    // the helper ends idle.
    const std::size_t bytes = AlignedMapping::ALIGNMENT;
    std::vector<void*> ranges;
    for (std::size_t k = 0; k < 4 * PageFaulter::QUEUE; ++k) {
        ranges.push_back(AlignedMapping::map(bytes, true));
        ASSERT_NE(ranges.back(), nullptr);
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t k = t; k < ranges.size(); k += 4) {
                PageFaulter::faultInLater(ranges[k], bytes);
            }
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    PageFaulter::waitUntilIdle();
    for (void* r : ranges) {
        munmap(r, bytes);
    }
}

TEST(PageFaulter, TheBackHalfOfALargeBlockIsFaultedInAndTheFrontLeftToItsWriter)
{
    if (!PageFaulter::supported()) {
        GTEST_SKIP() << "the system cannot fault pages in on another thread";
    }
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t bytes = PageFaulter::HALVES_FROM + 3 * AlignedMapping::ALIGNMENT;
    auto* memory = static_cast<char*>(AlignedMapping::map(bytes, true));
    ASSERT_NE(memory, nullptr);
    PageFaulter::faultInBackHalf(memory, bytes);
    PageFaulter::waitUntilIdle();
    EXPECT_EQ(residentPages(memory, bytes / 2), 0u);
    const std::size_t tail = bytes / 2 - AlignedMapping::ALIGNMENT;
    EXPECT_EQ(residentPages(memory + bytes - tail, tail), tail / page);
    munmap(memory, bytes);

    // Below the limit nothing is queued.
    const std::size_t small = PageFaulter::HALVES_FROM - AlignedMapping::ALIGNMENT;
    auto* other = static_cast<char*>(AlignedMapping::map(small, true));
    ASSERT_NE(other, nullptr);
    PageFaulter::faultInBackHalf(other, small);
    PageFaulter::waitUntilIdle();
    EXPECT_EQ(residentPages(other, small), 0u);
    munmap(other, small);
}
