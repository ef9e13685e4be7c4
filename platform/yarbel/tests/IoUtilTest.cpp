#include "common/exception/FileOpenException.h"
#include "common/exception/RuntimeException.h"
#include "common/io/FileUtil.h"
#include "common/io/IoUtil.h"

#include "common/test/ScratchDir.h"

#include <Poco/BinaryReader.h>
#include <Poco/BinaryWriter.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using common::io::FileUtil;
using common::io::IoUtil;

using common::test::scratchFile;

TEST(IoUtilTest, OutputTruncatesAndInputReadsBack) {
    const auto path = scratchFile("truncate.bin");
    {
        auto out = IoUtil::openOutBinary(path);
        out << "a much longer first content";
    }
    {
        auto out = IoUtil::openOutBinary(path);
        out << "short";
    }
    EXPECT_EQ(std::filesystem::file_size(path), 5u);
    auto in = IoUtil::openInAscii(path);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "short");
}

TEST(IoUtilTest, UnopenablePathThrowsNamingThePath) {
    const std::string missing = "/nonexistent-dir-for-yarbel/sub/file.tin";
    for (auto open : {+[](const std::string& p) { IoUtil::openInBinary(p); },
                      +[](const std::string& p) { IoUtil::openInAscii(p); },
                      +[](const std::string& p) { IoUtil::openOutBinary(p); },
                      +[](const std::string& p) { IoUtil::openOutAscii(p); }}) {
        try {
            open(missing);
            FAIL() << "no exception";
        } catch (const common::exception::FileOpenException& e) {
            EXPECT_EQ(e.fileName(), missing);
            EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
        }
    }
}

TEST(IoUtilTest, DirectoryIsNotOpenedAsAnEmptyFile) {
    const auto dir = common::test::scratchDir().string();
    EXPECT_THROW(IoUtil::openInBinary(dir), common::exception::FileOpenException);
    EXPECT_THROW(IoUtil::openInAscii(dir), common::exception::FileOpenException);
    EXPECT_THROW(IoUtil::openOutBinary(dir), common::exception::FileOpenException);
}

TEST(IoUtilTest, WriteWithSizeCutsOrPadsWithNul) {
    std::ostringstream out;
    Poco::BinaryWriter writer(out, Poco::BinaryWriter::NATIVE_BYTE_ORDER);
    IoUtil::writeWithSize(writer, "TIN exported", 80);
    IoUtil::writeWithSize(writer, "abcdef", 3);
    IoUtil::writeWithSize(writer, "", 0);
    writer.flush();
    const std::string bytes = out.str();
    ASSERT_EQ(bytes.size(), 83u);
    EXPECT_EQ(bytes.substr(0, 12), "TIN exported");
    EXPECT_EQ(bytes.substr(12, 68), std::string(68, '\0'));
    EXPECT_EQ(bytes.substr(80), "abc");
    EXPECT_THROW(IoUtil::writeWithSize(writer, "x", -1), common::exception::RuntimeException);
}

TEST(FileUtilTest, HeaderLayoutByteForByteWithOverlongPartsCut) {
    std::ostringstream out;
    Poco::BinaryWriter writer(out, Poco::BinaryWriter::NATIVE_BYTE_ORDER);
    FileUtil::writeHeader(writer, "Points binary file", "v0.1");
    FileUtil::writeHeader(writer, std::string(60, 'T'), std::string(20, 'V'));
    writer << static_cast<int>(0x01020304);
    writer.flush();
    const std::string bytes = out.str();
    ASSERT_EQ(FileUtil::headerSize(), 64);
    ASSERT_EQ(bytes.size(), 132u);
    std::string expected(64, '\0');
    expected.replace(0, 18, "Points binary file");
    expected.replace(48, 4, "v0.1");
    // Little-endian data follow the header directly.
    expected += std::string(48, 'T') + std::string(16, 'V') + std::string("\x04\x03\x02\x01", 4);
    EXPECT_EQ(bytes, expected);
}

TEST(FileUtilTest, SkipHeaderConsumesExactlyTheHeader) {
    std::ostringstream out;
    Poco::BinaryWriter writer(out, Poco::BinaryWriter::NATIVE_BYTE_ORDER);
    FileUtil::writeHeader(writer, "Points binary file", "v0.1");
    writer << 42 << 2.5;
    writer.flush();
    std::istringstream in(out.str());
    Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
    FileUtil::skipHeader(reader);
    int count = 0;
    double value = 0;
    reader >> count >> value;
    EXPECT_TRUE(reader.good());
    EXPECT_EQ(count, 42);
    EXPECT_EQ(value, 2.5);
}
