#include "IoTestSupport.h"

#include "common/exception/FileOpenException.h"
#include "orlin/io/FileBytes.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using tin::io::FileBytes;

TEST(FileBytesTest, HoldsExactlyTheFilesBytes) {
    // Past the size where the block comes from huge pages, with every byte value.
    std::string bytes(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 131) >> 3);
    }
    const std::string path = iotest::scratchFile("bytes.bin");
    iotest::writeFile(path, bytes);
    const FileBytes content(path.c_str());
    EXPECT_EQ(content.view(), bytes);

    const std::string empty = iotest::scratchFile("empty.bin");
    iotest::writeFile(empty, "");
    EXPECT_EQ(FileBytes(empty.c_str()).size(), 0u);
}

TEST(FileBytesTest, ReadsAPipeAsItComes) {
    const std::string path = iotest::scratchFile("pipe");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::string sent;
    for (int i = 0; i < 300000; ++i) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, i).ptr;
        sent.append(digits, end).append(",1,2\n");
    }
    std::thread writer([&] { iotest::writeFile(path, sent); });
    const FileBytes content(path.c_str());
    writer.join();
    EXPECT_EQ(content.view(), sent);
}

TEST(FileBytesTest, MissingFilesAndDirectoriesCannotBeOpened) {
    EXPECT_THROW(FileBytes(iotest::scratchFile("missing.bin").c_str()), common::exception::FileOpenException);
    EXPECT_THROW(FileBytes(iotest::scratchDir().string().c_str()), common::exception::FileOpenException);
}

TEST(FileBytesTest, APlainFileReadIsARegularFileNotALinkAndSaysWhatItWas) {
    const std::string path = iotest::scratchFile("plain.bin");
    iotest::writeFile(path, "twelve bytes");
    struct stat status {};
    const FileBytes content(path.c_str(), &status);
    EXPECT_EQ(content.view(), "twelve bytes");
    struct stat now {};
    ASSERT_EQ(::stat(path.c_str(), &now), 0);
    EXPECT_EQ(status.st_ino, now.st_ino);
    EXPECT_EQ(status.st_size, 12);

    const std::string link = iotest::scratchFile("plain-link.bin");
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    EXPECT_THROW(FileBytes(link.c_str(), &status), common::exception::FileOpenException);
    // A pipe without a writer is refused at once instead of waiting for one.
    const std::string pipe = iotest::scratchFile("plain-pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(FileBytes(pipe.c_str(), &status), common::exception::FileOpenException);
    EXPECT_THROW(FileBytes(iotest::scratchDir().string().c_str(), &status),
                 common::exception::FileOpenException);
}
