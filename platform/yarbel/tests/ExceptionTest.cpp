#include "common/exception/InvalidFileFormatException.h"

#include <gtest/gtest.h>

using common::exception::InvalidFileFormatException;

TEST(InvalidFileFormatExceptionTest, TextJoinsWhatWasGivenAndKeepsPartsApart) {
    const InvalidFileFormatException bare("Invalid file format");
    EXPECT_STREQ(bare.what(), "Invalid file format");
    EXPECT_FALSE(bare.hasFileName());
    EXPECT_FALSE(bare.hasLine());

    const InvalidFileFormatException withFile("Invalid file size", "river.tin");
    EXPECT_STREQ(withFile.what(), "Invalid file size: river.tin");
    EXPECT_EQ(withFile.message(), "Invalid file size");
    EXPECT_EQ(withFile.fileName(), "river.tin");
    EXPECT_FALSE(withFile.hasLine());

    const InvalidFileFormatException withLine("Missing vertex", 7);
    EXPECT_STREQ(withLine.what(), "Missing vertex (line 7)");
    EXPECT_EQ(withLine.line(), 7);
    EXPECT_FALSE(withLine.hasFileName());

    const InvalidFileFormatException all("Invalid file format", "a.tpo", 12345);
    EXPECT_STREQ(all.what(), "Invalid file format: a.tpo (line 12345)");
    EXPECT_EQ(all.message(), "Invalid file format");
    EXPECT_EQ(all.fileName(), "a.tpo");
    EXPECT_EQ(all.line(), 12345);
}
