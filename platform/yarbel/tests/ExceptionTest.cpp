#include "common/exception/InvalidFileFormatException.h"

#include <gtest/gtest.h>

using common::exception::InvalidFileFormatException;

TEST(InvalidFileFormatExceptionTest, TextJoinsWhatWasGivenAndKeepsPartsApart) {
    EXPECT_STREQ(InvalidFileFormatException("Invalid file format").what(), "Invalid file format");
    EXPECT_STREQ(InvalidFileFormatException("Invalid file size", "river.tin").what(), "Invalid file size: river.tin");
    const InvalidFileFormatException withLine("Missing vertex", 7);
    EXPECT_STREQ(withLine.what(), "Missing vertex (line 7)");
    EXPECT_FALSE(withLine.hasFileName());

    const InvalidFileFormatException all("Invalid file format", "a.tpo", 12345);
    EXPECT_STREQ(all.what(), "Invalid file format: a.tpo (line 12345)");
    EXPECT_EQ(all.message(), "Invalid file format");
    EXPECT_EQ(all.fileName(), "a.tpo");
    EXPECT_EQ(all.line(), 12345);
}
