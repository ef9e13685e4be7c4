#include "orlin/util/AssertError.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(AssertErrorTest, IsALogicErrorCarryingItsMessage)
{
    try {
        throw tin::util::AssertError("Point not found");
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Point not found");
        return;
    }
    FAIL() << "not caught as std::logic_error";
}
