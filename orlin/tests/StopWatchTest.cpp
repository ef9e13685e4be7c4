#include "orlin/util/StopWatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <cstdint>
#include <locale>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using tin::util::StopWatch;

namespace {

struct Line {
    std::int64_t total = -1;
    std::int64_t sinceLast = -1;
    std::string label;
};

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

Line parse(const std::string& text)
{
    Line l;
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    in >> l.total;
    in.ignore(1, '\t');
    in >> l.sinceLast;
    in.ignore(1, '\t');
    std::getline(in, l.label);
    return l;
}

// Each test writes to its own stream; standard output and a stopped clock are restored
// whatever the test did.
class StopWatchTest : public ::testing::Test {
protected:
    StopWatchTest() { sw.setStream(&out); }
    ~StopWatchTest() override
    {
        sw.setStream(nullptr);
        sw.stop("");
        sw.setStream(&std::cout);
    }

    std::ostringstream out;
    StopWatch& sw = StopWatch::instance();
};

} // namespace

TEST_F(StopWatchTest, ColumnsAreTotalAndSincePreviousLineAndAStartResetsOnlyTheSecond)
{
    sw.start("begin");
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    sw.displayElapsed("first");
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    sw.displayElapsed("second");
    sw.start("again");
    sw.displayElapsed("third");
    const auto text = lines(out.str());
    ASSERT_EQ(text.size(), 5u);
    EXPECT_EQ(text[0], "begin");
    const Line a = parse(text[1]), b = parse(text[2]), c = parse(text[4]);
    EXPECT_EQ(a.label, "first");
    EXPECT_EQ(b.label, "second");
    EXPECT_GE(a.total, 2000);
    EXPECT_EQ(a.sinceLast, a.total);
    EXPECT_GE(b.sinceLast, 2000);
    EXPECT_EQ(b.total, a.total + b.sinceLast);
    EXPECT_GE(c.total, b.total);     // the clock kept running
    EXPECT_EQ(c.sinceLast, c.total); // since-last counts from 0 again
    EXPECT_GE(sw.elapsedTime(), c.total);
}

TEST_F(StopWatchTest, StopPausesTheClock)
{
    sw.start("a");
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    sw.stop("end");
    const int paused = sw.elapsedTime();
    EXPECT_GE(paused, 1000);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(sw.elapsedTime(), paused);
    const auto text = lines(out.str());
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(parse(text[1]).label, "end");
}
