#include "mold/core/Mold.h"
#include "mold/io/MoldExporter.h"
#include "mold/io/MoldImporter.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"
#include "common/io/FileUtil.h"

#include <Poco/BinaryReader.h>
#include <Poco/BinaryWriter.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>

using common::exception::InvalidFileFormatException;
using mold::core::Mold;
using mold::io::MoldExporter;
using mold::io::MoldImporter;
namespace fs = std::filesystem;

namespace {

const std::size_t kHeader = static_cast<std::size_t>(common::io::FileUtil::headerSize());

Mold sample()
{
    // Values that a lossy or reordered writer would change: a negative zero, a subnormal,
    // digits beyond what text keeps by default.
    return Mold(Mold::Subtract, {-12.5, -0.0, 3.141592653589793, 4.9e-324},
                {1.0 / 3.0, 0.0, -2.75, 1e300}, 0.125, -7.5);
}

class MoldIoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::path(MOVARIN_BINARY_DIR) / "zelmo-test" / info->name();
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }

    std::string file(const std::string& name) const { return (m_dir / name).string(); }

    static std::string readAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void writeAll(const std::string& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    static std::string entryBytes(const Mold& mold,
                                  Poco::BinaryWriter::StreamByteOrder order
                                  = Poco::BinaryWriter::NATIVE_BYTE_ORDER)
    {
        std::ostringstream out(std::ios::out | std::ios::binary);
        Poco::BinaryWriter writer(out, order);
        MoldExporter(mold).exportMoldBinary(&writer);
        writer.flush();
        return out.str();
    }

    static Mold readEntry(const std::string& bytes, std::size_t size)
    {
        std::istringstream in(bytes, std::ios::in | std::ios::binary);
        Poco::BinaryReader reader(in);
        return MoldImporter().importMold(&reader, size);
    }

    static void expectSame(const Mold& a, const Mold& b)
    {
        EXPECT_EQ(a.editType(), b.editType());
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            // Bitwise, so that -0.0 and subnormals count.
            EXPECT_EQ(std::memcmp(&a.l()[i], &b.l()[i], sizeof(double)), 0) << "l " << i;
            EXPECT_EQ(std::memcmp(&a.h()[i], &b.h()[i], sizeof(double)), 0) << "h " << i;
        }
        EXPECT_EQ(a.baseL(), b.baseL());
        EXPECT_EQ(a.baseH(), b.baseH());
    }

    fs::path m_dir;
};

std::int32_t int32At(const std::string& bytes, std::size_t offset)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) {
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    }
    return static_cast<std::int32_t>(u);
}

double float64At(const std::string& bytes, std::size_t offset)
{
    std::uint64_t u = 0;
    for (int i = 0; i < 8; ++i) {
        u |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    }
    double d;
    std::memcpy(&d, &u, 8);
    return d;
}

} // namespace

TEST_F(MoldIoTest, FileIsExactlyTheEntryAndBothReadBack)
{
    const Mold mold = sample();
    const std::string path = file("mold1.mld");
    MoldExporter().exportMold(path.c_str(), mold);

    const std::string fileBytes = readAll(path);
    const std::string entry = entryBytes(mold);
    EXPECT_EQ(fileBytes, entry);
    EXPECT_EQ(MoldExporter(mold).binarySize(), entry.size());
    EXPECT_EQ(entry.size(), kHeader + 24 + 16 * mold.size());
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    const Mold fromFile = MoldImporter().importMold(path.c_str());
    const Mold fromEntry = readEntry(entry, entry.size());
    expectSame(fromFile, mold);
    expectSame(fromEntry, mold);

    // Writing what was read gives the same bytes again.
    EXPECT_EQ(entryBytes(fromFile), entry);

    const Mold empty(Mold::Add, {}, {}, 1.0, 2.0);
    MoldExporter().exportMold(path.c_str(), empty);
    EXPECT_EQ(readAll(path).size(), kHeader + 24);
    expectSame(MoldImporter().importMold(path.c_str()), empty);
}

TEST_F(MoldIoTest, LayoutIsLittleEndianWhateverTheWriterOrder)
{
    const Mold mold = sample();
    const std::string bytes = entryBytes(mold, Poco::BinaryWriter::BIG_ENDIAN_BYTE_ORDER);
    EXPECT_EQ(bytes, entryBytes(mold, Poco::BinaryWriter::LITTLE_ENDIAN_BYTE_ORDER));
    EXPECT_EQ(bytes.compare(0, 16, "Mold binary file"), 0);

    // Decoded by hand, independent of the importer.
    EXPECT_EQ(int32At(bytes, kHeader), 1);
    EXPECT_EQ(float64At(bytes, kHeader + 4), 0.125);
    EXPECT_EQ(float64At(bytes, kHeader + 12), -7.5);
    ASSERT_EQ(int32At(bytes, kHeader + 20), 4);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(float64At(bytes, kHeader + 24 + 16 * i), mold.l()[i]);
        EXPECT_EQ(float64At(bytes, kHeader + 32 + 16 * i), mold.h()[i]);
    }
}

TEST_F(MoldIoTest, EntryIsReadInPlaceInsideALargerStream)
{
    const Mold mold = sample();
    const std::string entry = entryBytes(mold);
    const std::string stream = entry + "next entry";
    std::istringstream in(stream, std::ios::in | std::ios::binary);
    Poco::BinaryReader reader(in);
    expectSame(MoldImporter().importMold(&reader, entry.size()), mold);
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "next");
}

TEST_F(MoldIoTest, ReaderRejectsTruncatedMoldFile)
{
    const std::string full = entryBytes(sample());
    const std::string path = file("cut.mld");
    for (std::size_t length = 0; length < full.size(); ++length) {
        writeAll(path, full.substr(0, length));
        EXPECT_THROW(MoldImporter().importMold(path.c_str()), InvalidFileFormatException)
            << "length " << length;
    }
}

TEST_F(MoldIoTest, ReaderRejectsTrailingBytesAndWrongDeclaredSize)
{
    const std::string full = entryBytes(sample());
    const std::string path = file("long.mld");
    writeAll(path, full + '\0');
    EXPECT_THROW(MoldImporter().importMold(path.c_str()), InvalidFileFormatException);

    EXPECT_THROW(readEntry(full, full.size() - 1), InvalidFileFormatException);
    EXPECT_THROW(readEntry(full + std::string(16, '\0'), full.size() + 16),
                 InvalidFileFormatException);
    // A size beyond the stream's end: the data run out before the size is reached.
    EXPECT_THROW(readEntry(full, full.size() + 16), InvalidFileFormatException);
}

TEST_F(MoldIoTest, ReaderRejectsCorruptFields)
{
    const std::string good = entryBytes(sample());
    auto withInt32 = [&](std::size_t offset, std::int32_t value) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) {
            bytes[offset + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
        }
        return bytes;
    };
    auto withFloat64 = [&](std::size_t offset, double value) {
        std::string bytes = good;
        std::uint64_t u;
        std::memcpy(&u, &value, 8);
        for (int i = 0; i < 8; ++i) {
            bytes[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
        }
        return bytes;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::string cases[] = {
        withInt32(kHeader, 2),                        // edit type
        withInt32(kHeader, -1),                       // edit type
        withFloat64(kHeader + 4, nan),                // baseL
        withFloat64(kHeader + 12, inf),               // baseH
        withInt32(kHeader + 20, -1),                  // negative count
        withInt32(kHeader + 20, 3),                   // count too small for the size
        withInt32(kHeader + 20, 5),                   // count too large for the size
        withInt32(kHeader + 20, 0x7fffffff),          // would allocate 32 GiB if trusted
        withFloat64(kHeader + 24 + 16 * 2, nan),      // an offset
        withFloat64(kHeader + 32 + 16 * 3, -inf),     // a height
    };
    int index = 0;
    for (const std::string& bytes : cases) {
        EXPECT_THROW(readEntry(bytes, bytes.size()), InvalidFileFormatException) << "case " << index;
        ++index;
    }

    std::string otherTitle = good;
    otherTitle.replace(0, 18, "Points binary file");
    EXPECT_THROW(readEntry(otherTitle, otherTitle.size()), InvalidFileFormatException);
}

TEST_F(MoldIoTest, FileErrorsNameTheFile)
{
    const std::string path = file("bad type.mld");
    std::string bytes = entryBytes(sample());
    bytes[kHeader] = 9;
    writeAll(path, bytes);
    try {
        MoldImporter().importMold(path.c_str());
        FAIL() << "no exception";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(e.fileName(), path);
        EXPECT_NE(std::string(e.what()).find("edit type 9"), std::string::npos) << e.what();
    }
    EXPECT_THROW(MoldImporter().importMold(file("missing.mld").c_str()),
                 common::exception::FileOpenException);
}

TEST_F(MoldIoTest, WriterRefusesWhatCannotBeReadBackAndKeepsTheOldFile)
{
    const std::string path = file("kept.mld");
    MoldExporter().exportMold(path.c_str(), sample());
    const std::string before = readAll(path);

    Mold unknownType = sample();
    unknownType.setEditType(static_cast<Mold::EditType>(5));
    EXPECT_THROW(MoldExporter().exportMold(path.c_str(), unknownType),
                 common::exception::RuntimeException);
    Mold notFinite = sample();
    notFinite.setLH(1, std::numeric_limits<double>::quiet_NaN(), 0.0);
    EXPECT_THROW(MoldExporter().exportMold(path.c_str(), notFinite),
                 common::exception::RuntimeException);

    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    std::ostringstream out;
    Poco::BinaryWriter writer(out);
    EXPECT_THROW(MoldExporter(notFinite).exportMoldBinary(&writer),
                 common::exception::RuntimeException);
    writer.flush();
    EXPECT_TRUE(out.str().empty());
}

TEST_F(MoldIoTest, WriterReportsAnUnwritablePath)
{
    const std::string path = file("no/such/dir/mold.mld");
    EXPECT_THROW(MoldExporter().exportMold(path.c_str(), sample()),
                 common::exception::RuntimeException);
    EXPECT_THROW(MoldExporter().binarySize(), common::exception::RuntimeException);
}
