// The ".ges" and ".geb" archives, read by outside readers: `tar` lists their entries and
// extracts each TIN entry, which the TIN archive reader must take as a whole file; Python's
// tarfile writes the same entries under other names. Damaged archives (cut anywhere, an
// entry claiming 2 GiB) are refused naming the file.
#include "SurfacesTestSupport.h"

#include "movarin/surfaces/GeoEditSurfaceArchive.h"

#include "orlin/io/TinTinImporter.h"

#include <common/exception/InvalidFileFormatException.h>
#include <common/test/RunCommand.h>
#include <mold/io/MoldExporter.h>

#include <QDir>

#include <gtest/gtest.h>

#include <sstream>

namespace varnel::test {
namespace {

// What `tar -tvf` lists: the entries' names and sizes in archive order.
std::vector<std::pair<std::string, long long>> tarListing(const std::string& archive)
{
    int status = -1;
    std::istringstream lines(common::test::runCommand("tar -tvf '" + archive + "'", &status));
    EXPECT_EQ(status, 0) << "tar refused " << archive;
    std::vector<std::pair<std::string, long long>> entries;
    std::string permissions, owner, date, time, name;
    long long size = 0;
    while (lines >> permissions >> owner >> size >> date >> time >> name) {
        entries.emplace_back(name, size);
    }
    return entries;
}

// Sets the size field of the tar header at `offset` and its checksum.
void setEntrySize(QByteArray& bytes, int offset, unsigned long long size)
{
    bytes.replace(offset + 124, 12, QByteArray::number(size, 8).rightJustified(11, '0') + '\0');
    bytes.replace(offset + 148, 8, QByteArray(8, ' '));
    unsigned sum = 0;
    for (int i = 0; i < 512; ++i) {
        sum += static_cast<unsigned char>(bytes[offset + i]);
    }
    bytes.replace(offset + 148, 8, QByteArray::number(sum, 8).rightJustified(6, '0') + '\0' + ' ');
}

class GeoEditSurfaceArchiveTest : public ::testing::Test {
protected:
    std::string file(const char* name) const { return QDir(m_dir.path()).filePath(name).toStdString(); }

    void writeMoldSurface(const std::string& path) const
    {
        GeoEditSurfaceArchive::writeMoldSurface(path, m_path, m_mold, m_tins[0], m_tins[1], m_tins[2],
                                                tin::core::Tin());
    }

    QTemporaryDir m_dir;
    const std::vector<tin::core::Point> m_path{{0.0, 0.0, 5.0}, {10.0, 0.0, 5.5}, {10.0, 8.0, 6.0}};
    const mold::core::Mold m_mold{mold::core::Mold::Subtract, {-4.0, 4.0}, {2.0, 0.0}, 0.0, 1.0};
    const tin::core::Tin m_tins[3] = {gridTin(2, 100.0), gridTin(3, 200.0), gridTin(1, 300.0, 0.0, 7.0)};
};

TEST_F(GeoEditSurfaceArchiveTest, MoldSurfaceArchiveHoldsSevenEntriesThatTarAndTheTinReaderTake)
{
    const std::string ges = file("geoedit1.ges");
    writeMoldSurface(ges);
    const auto entries = tarListing(ges);
    const std::vector<std::string> names = {"meta.txt", "path.tpobin", "mold.mld", "tin.tin",
                                            "extendedtin.tin", "addedtin.tin", "removedtin.tin"};
    ASSERT_EQ(entries.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(entries[i].first, names[i]);
    }
    EXPECT_EQ(entries[0].second, 37);
    EXPECT_EQ(entries[1].second, 64 + 76) << "header, count and three points";
    EXPECT_EQ(entries[2].second, static_cast<long long>(mold::io::MoldExporter(m_mold).binarySize()));
    // Each TIN entry is a whole TIN archive; the empty one too.
    for (std::size_t i = 3; i < 7; ++i) {
        int status = -1;
        common::test::runCommand("tar -xOf '" + ges + "' " + names[i] + " > '" + file("entry.tin") + "'", &status);
        ASSERT_EQ(status, 0);
        const tin::core::Tin entry = tin::io::TinTinImporter().importTin(file("entry.tin").c_str());
        EXPECT_EQ(trianglesOf(entry), i < 6 ? trianglesOf(m_tins[i - 3]) : std::set<TriangleKey>()) << names[i];
    }

    const GeoEditSurfaceArchive::MoldSurface read = GeoEditSurfaceArchive::readMoldSurface(ges);
    ASSERT_EQ(read.path.size(), 3u);
    EXPECT_EQ(read.path[2].y(), 8.0);
    EXPECT_EQ(read.path[2].elevation(), 6.0);
    EXPECT_EQ(read.mold.editType(), m_mold.editType());
    EXPECT_EQ(read.mold.h(), m_mold.h());
    EXPECT_EQ(trianglesOf(read.extendedTin), trianglesOf(m_tins[1]));
    EXPECT_TRUE(read.removedTin.empty());
}

TEST_F(GeoEditSurfaceArchiveTest, BrushArchiveHoldsThreeEntriesFoundByPositionWhateverTheirNames)
{
    const std::string geb = file("geoedit1.geb");
    GeoEditSurfaceArchive::writeBrushSurface(geb, m_tins[0], m_tins[1]);
    EXPECT_EQ(tarListing(geb).size(), 3u);
    // Python's tarfile writes the same contents under other names and pads to its own record.
    const std::string renamed = file("renamed.geb");
    int status = -1;
    common::test::runCommand(
        "python3 -c 'import sys, tarfile\n"
        "with tarfile.open(sys.argv[1]) as t, tarfile.open(sys.argv[2], \"w\", format=tarfile.USTAR_FORMAT) as o:\n"
        "    for i, m in enumerate(t.getmembers()):\n"
        "        f = t.extractfile(m)\n"
        "        m.name = \"entry%d\" % i\n"
        "        o.addfile(m, f)\n' '"
            + geb + "' '" + renamed + "'",
        &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(tarListing(renamed)[2].first, "entry2");
    const GeoEditSurfaceArchive::BrushSurface read = GeoEditSurfaceArchive::readBrushSurface(renamed);
    EXPECT_EQ(trianglesOf(read.addedTin), trianglesOf(m_tins[0]));
    EXPECT_EQ(trianglesOf(read.removedTin), trianglesOf(m_tins[1]));
}

TEST_F(GeoEditSurfaceArchiveTest, DamagedArchivesAreRefusedNamingTheFile)
{
    writeMoldSurface(file("whole.ges"));
    const QByteArray whole = fileBytes(QString::fromStdString(file("whole.ges")));
    const QString cut = QString::fromStdString(file("cut.ges"));
    const auto expectRefused = [&](const QByteArray& bytes, const char* message) {
        ASSERT_TRUE(writeFileBytes(cut, bytes));
        try {
            GeoEditSurfaceArchive::readMoldSurface(cut.toStdString());
            ADD_FAILURE() << "a damaged archive was read";
        } catch (const common::exception::InvalidFileFormatException& e) {
            EXPECT_EQ(e.fileName(), "cut.ges") << e.what();
            EXPECT_TRUE(!message || e.message() == message) << e.what();
        }
    };
    // The end-of-archive blocks are not read: any cut before them is a damaged archive.
    for (int at = 0; at < whole.size() - 1024; at += 512) {
        for (int length : {at, at + 1, at + 37, at + 511}) {
            SCOPED_TRACE(length);
            expectRefused(whole.left(length), nullptr);
        }
    }
    // The first entry claims 2 GiB: refused by its size before anything is skipped (skipping
    // would only fail at the end of the file, as "Invalid file format").
    QByteArray claiming = whole;
    setEntrySize(claiming, 0, 2ull << 30);
    expectRefused(claiming, "Invalid file size");
}

} // namespace
} // namespace varnel::test
