#include "orlin/support/BlockWork.h"
#include "orlin/support/LaneThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using tin::support::BlockWork;
using tin::support::LaneThreads;

// Every index is worked once, in blocks of the size asked (the last one shorter), whatever
// the number of helpers, with the caller busy elsewhere between start and finish.
TEST(BlockWorkTest, EveryIndexIsWorkedOnceInBlocks)
{
    for (const int helpers : {0, 1, 2}) {
        for (const std::size_t count : {std::size_t(0), std::size_t(1), std::size_t(100), std::size_t(10007)}) {
            SCOPED_TRACE(testing::Message() << helpers << " helpers, " << count << " indices");
            LaneThreads::setForTests(helpers);
            std::vector<std::atomic<int>> done(count);
            std::atomic<int> wrongBlocks{0};
            {
                BlockWork work(count, 64, 128, [&](std::size_t begin, std::size_t end) {
                    if (begin % 64 != 0 || (end - begin != 64 && end != count)) {
                        ++wrongBlocks;
                    }
                    for (std::size_t i = begin; i < end; ++i) {
                        ++done[i];
                    }
                });
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                work.finish();
            }
            LaneThreads::setForTests(-1);
            EXPECT_EQ(wrongBlocks.load(), 0);
            for (std::size_t i = 0; i < count; ++i) {
                ASSERT_EQ(done[i].load(), 1) << i;
            }
        }
    }
}

// Destroyed unfinished, it waits for the helpers' blocks and starts no more: no index twice,
// and nothing runs after it has gone.
TEST(BlockWorkTest, DestroyedUnfinishedStopsItsHelpers)
{
    LaneThreads::setForTests(2);
    const std::size_t count = 100000;
    std::vector<std::atomic<int>> done(count);
    {
        BlockWork work(count, 16, 0, [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                ++done[i];
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        });
    }
    LaneThreads::setForTests(-1);
    int total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_LE(done[i].load(), 1) << i;
        total += done[i].load();
    }
    EXPECT_LT(total, static_cast<int>(count));
    const int after = total;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    int again = 0;
    for (std::size_t i = 0; i < count; ++i) {
        again += done[i].load();
    }
    EXPECT_EQ(again, after);
}
