#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"
#include "common/file/TarHeaderBlock.h"

#include "common/test/RunCommand.h"
#include "common/test/ScratchDir.h"

#include <Poco/BinaryReader.h>
#include <Poco/BinaryWriter.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

using common::exception::InvalidFileFormatException;
using common::file::TarHeaderBlock;
using common::test::runCommand;
using common::test::scratchDir;

namespace {

struct Entry {
    std::string name;
    std::string content;
};

std::string headerBytes(const std::string& name, unsigned int size) {
    std::ostringstream out;
    Poco::BinaryWriter writer(out, Poco::BinaryWriter::NATIVE_BYTE_ORDER);
    TarHeaderBlock block;
    block.setName(name);
    block.setSize(size);
    block.write(writer);
    writer.flush();
    return out.str();
}

// Frames entries exactly as the archive writers of the system do.
std::string archiveBytes(const std::vector<Entry>& entries) {
    std::ostringstream out;
    Poco::BinaryWriter writer(out, Poco::BinaryWriter::NATIVE_BYTE_ORDER);
    for (const Entry& e : entries) {
        TarHeaderBlock block;
        block.setName(e.name);
        block.setSize(static_cast<unsigned int>(e.content.size()));
        block.write(writer);
        writer.writeRaw(e.content);
        TarHeaderBlock::writeOffset(writer, block.offset());
    }
    TarHeaderBlock::writeEndOfArchive(writer);
    writer.flush();
    return out.str();
}

std::vector<Entry> readArchive(const std::string& bytes) {
    std::istringstream in(bytes);
    Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
    std::vector<Entry> entries;
    // Positional reading as the system does it: the caller knows the entry count.
    for (int k = 0; k < 3; ++k) {
        TarHeaderBlock block;
        block.read(reader);
        Entry e{block.name(), {}};
        reader.readRaw(static_cast<std::streamsize>(block.size()), e.content);
        std::string padding;
        reader.readRaw(block.offset(), padding);
        entries.push_back(e);
    }
    TarHeaderBlock::skipEndOfArchive(reader);
    EXPECT_EQ(in.tellg(), static_cast<std::streamoff>(bytes.size()));
    return entries;
}

unsigned int independentChecksum(const std::string& block) {
    unsigned int sum = 0;
    for (std::size_t i = 0; i < block.size(); ++i) {
        sum += (i >= 148 && i < 156) ? 32u : static_cast<unsigned char>(block[i]);
    }
    return sum;
}

const std::vector<Entry> kEntries = {
    {"meta.txt", "This file is reserved for future use."},
    {"points.tpobin", std::string(512, '\x7f')},
    {std::string(100, 'n'), std::string(1000, 'z')},
};

} // namespace

TEST(TarHeaderBlockTest, HeaderLayoutByteForByte) {
    const std::string bytes = headerBytes("meta.txt", 37);
    ASSERT_EQ(bytes.size(), 512u);
    auto field = [&](std::size_t at, std::size_t n) { return bytes.substr(at, n); };
    EXPECT_EQ(field(0, 100), std::string("meta.txt") + std::string(92, '\0'));
    EXPECT_EQ(field(100, 8), std::string("0000644\0", 8));
    EXPECT_EQ(field(108, 8), std::string("0000000\0", 8));
    EXPECT_EQ(field(116, 8), std::string("0000000\0", 8));
    EXPECT_EQ(field(124, 12), std::string("00000000045\0", 12)); // 37 in octal
    EXPECT_EQ(field(136, 12), std::string("00000000000\0", 12)); // mtime 0
    EXPECT_EQ(bytes[156], '0');
    EXPECT_EQ(field(157, 100), std::string(100, '\0'));
    EXPECT_EQ(field(257, 6), std::string("ustar\0", 6));
    EXPECT_EQ(field(263, 2), "00");
    EXPECT_EQ(field(345, 167), std::string(167, '\0'));

    char expected[8];
    std::snprintf(expected, sizeof expected, "%06o", independentChecksum(bytes));
    EXPECT_EQ(field(148, 6), std::string(expected, 6));
    EXPECT_EQ(bytes[154], '\0');
    EXPECT_EQ(bytes[155], ' ');

    // Reproducible output: the same entry gives the same bytes.
    EXPECT_EQ(headerBytes("meta.txt", 37), bytes);
}

TEST(TarHeaderBlockTest, PaddingCompletesTheLastRecord) {
    const std::vector<std::pair<unsigned int, int>> cases = {{0, 0}, {1, 511}, {37, 475}, {511, 1}, {512, 0}, {513, 511}};
    for (const auto& [size, offset] : cases) {
        TarHeaderBlock block;
        block.setSize(size);
        EXPECT_EQ(block.offset(), offset) << size;
        EXPECT_EQ(block.contentSize(), static_cast<int>(size) + offset) << size;
    }
}

TEST(TarHeaderBlockTest, ArchiveRoundTripsAndHasPredictedSize) {
    const std::string bytes = archiveBytes(kEntries);
    std::size_t predicted = TarHeaderBlock::endOfArchiveSize();
    for (const Entry& e : kEntries) {
        TarHeaderBlock block;
        block.setSize(static_cast<unsigned int>(e.content.size()));
        predicted += TarHeaderBlock::headerSize() + block.contentSize();
    }
    EXPECT_EQ(bytes.size(), predicted);
    const auto back = readArchive(bytes);
    ASSERT_EQ(back.size(), kEntries.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].name, kEntries[i].name);
        EXPECT_EQ(back[i].content, kEntries[i].content);
    }
}

TEST(TarHeaderBlockTest, PythonTarfileListsNamesSizesAndContents) {
    const auto path = scratchDir() / "framing.tar";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << archiveBytes(kEntries);
    }
    const std::string script =
        "import sys, tarfile\n"
        "with tarfile.open(sys.argv[1], 'r:') as t:\n"
        "    for m in t.getmembers():\n"
        "        data = t.extractfile(m).read()\n"
        "        print(m.name, m.size, m.mtime, oct(m.mode), m.isfile(), len(data), data[-1:].hex())\n";
    const auto scriptPath = scratchDir() / "list_tar.py";
    {
        std::ofstream out(scriptPath, std::ios::trunc);
        out << script;
    }
    const std::string listing = runCommand("python3 " + scriptPath.string() + " " + path.string() + " 2>&1");
    EXPECT_EQ(listing, "meta.txt 37 0 0o644 True 37 2e\n"
                       "points.tpobin 512 0 0o644 True 512 7f\n" +
                           std::string(100, 'n') + " 1000 0 0o644 True 1000 7a\n");

    // GNU tar agrees too (when installed).
    const std::string tarListing = runCommand("command -v tar >/dev/null && tar tf " + path.string() + " 2>&1");
    if (!tarListing.empty()) {
        EXPECT_EQ(tarListing, kEntries[0].name + "\n" + kEntries[1].name + "\n" + kEntries[2].name + "\n");
    }
}

TEST(TarHeaderBlockTest, ReadsAnArchiveWrittenByPythonTarfile) {
    const auto path = scratchDir() / "python.tar";
    const std::string command =
        "python3 -c \"import io, tarfile, sys\n"
        "with tarfile.open(sys.argv[1], 'w', format=tarfile.USTAR_FORMAT) as t:\n"
        "    for name, data in [('meta.txt', b'abc'), ('points.tpobin', b'x' * 700), ('tin.tin', b'')]:\n"
        "        info = tarfile.TarInfo(name); info.size = len(data)\n"
        "        t.addfile(info, io.BytesIO(data))\n\" " +
        path.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(path, std::ios::binary);
    Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
    const std::vector<std::pair<std::string, unsigned int>> expected = {
        {"meta.txt", 3}, {"points.tpobin", 700}, {"tin.tin", 0}};
    for (const auto& [name, size] : expected) {
        TarHeaderBlock block;
        block.read(reader);
        EXPECT_EQ(block.name(), name);
        EXPECT_EQ(block.size(), size);
        std::string skipped;
        reader.readRaw(static_cast<std::streamsize>(block.contentSize()), skipped);
    }
    EXPECT_NO_THROW(TarHeaderBlock::skipEndOfArchive(reader));
}

TEST(TarHeaderBlockTest, DamagedHeaderIsRejected) {
    const std::string good = headerBytes("tin.tin", 1234);
    auto readBack = [](const std::string& bytes) {
        std::istringstream in(bytes);
        Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
        TarHeaderBlock block;
        block.read(reader);
        return block;
    };
    EXPECT_EQ(readBack(good).size(), 1234u);

    std::string flippedName = good;
    flippedName[2] ^= 0x01;
    EXPECT_THROW(readBack(flippedName), InvalidFileFormatException);

    std::string flippedSize = good;
    flippedSize[130] = flippedSize[130] == '1' ? '2' : '1';
    EXPECT_THROW(readBack(flippedSize), InvalidFileFormatException);

    std::string badMagic = good;
    badMagic[257] = 'X';
    EXPECT_THROW(readBack(badMagic), InvalidFileFormatException);

    EXPECT_THROW(readBack(std::string(512, '\0')), InvalidFileFormatException);
    EXPECT_THROW(readBack(good.substr(0, 300)), InvalidFileFormatException);
    EXPECT_THROW(readBack("garbage"), InvalidFileFormatException);
}

TEST(TarHeaderBlockTest, DamagedEndOfArchiveIsRejected) {
    auto skip = [](const std::string& bytes) {
        std::istringstream in(bytes);
        Poco::BinaryReader reader(in, Poco::BinaryReader::NATIVE_BYTE_ORDER);
        TarHeaderBlock::skipEndOfArchive(reader);
    };
    EXPECT_NO_THROW(skip(std::string(1024, '\0')));
    EXPECT_THROW(skip(std::string(1000, '\0')), InvalidFileFormatException);
    std::string dirty(1024, '\0');
    dirty[700] = 'a';
    EXPECT_THROW(skip(dirty), InvalidFileFormatException);
}

TEST(TarHeaderBlockTest, NameLongerThanHundredBytesThrows) {
    TarHeaderBlock block;
    EXPECT_NO_THROW(block.setName(std::string(100, 'a')));
    EXPECT_THROW(block.setName(std::string(101, 'a')), common::exception::RuntimeException);
    EXPECT_EQ(block.name(), std::string(100, 'a'));
}
