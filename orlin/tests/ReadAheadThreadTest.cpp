#include "orlin/io/ReadAheadThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

using tin::io::ReadAheadThread;

TEST(ReadAheadThreadTest, ConsumerSeesEveryPublishedItemWritten)
{
    std::vector<int> items(100000, -1);
    ReadAheadThread producer([&](const ReadAheadThread::Publish& publish) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            items[i] = static_cast<int>(i) * 3;
            if (i % 1000 == 999 && !publish(i + 1))
                return;
        }
        publish(items.size());
    });
    std::size_t consumed = 0;
    for (bool done = false; !done;) {
        const std::size_t ready = producer.wait(consumed + 5000, done);
        ASSERT_GE(ready, consumed);
        for (; consumed < ready; ++consumed)
            ASSERT_EQ(items[consumed], static_cast<int>(consumed) * 3);
    }
    EXPECT_EQ(consumed, items.size());
}

TEST(ReadAheadThreadTest, ProducerFailureReachesTheConsumer)
{
    ReadAheadThread producer([](const ReadAheadThread::Publish& publish) {
        publish(10);
        throw std::runtime_error("bad record");
    });
    bool done = false;
    std::size_t ready = 0;
    try {
        while (!done)
            ready = producer.wait(ready + 1, done);
        FAIL() << "the failure was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "bad record");
    }
}

TEST(ReadAheadThreadTest, AConsumerThatGivesUpStopsTheProducer)
{
    std::atomic<std::size_t> produced{0};
    {
        ReadAheadThread producer([&](const ReadAheadThread::Publish& publish) {
            // Would run for ever unless told to stop.
            for (std::size_t i = 1;; ++i) {
                produced = i;
                if (!publish(i))
                    return;
            }
        });
        bool done = false;
        EXPECT_GE(producer.wait(100, done), 100u);
        EXPECT_FALSE(done);
    } // joins
    const std::size_t atEnd = produced;
    EXPECT_GE(atEnd, 100u);
    EXPECT_EQ(produced.load(), atEnd);
}
