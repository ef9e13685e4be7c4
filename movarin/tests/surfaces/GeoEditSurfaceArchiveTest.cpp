// The ".ges" and ".geb" archives, read by outside readers: `tar` lists their entries and
// extracts each TIN entry, which the TIN archive reader must take as a whole file; Python's
// tarfile writes the same entries under other names. Damaged archives (cut anywhere, an
// entry claiming 2 GiB) are refused naming the file, and a write that fails part way leaves
// the earlier archive as it was.
#include "SurfacesTestSupport.h"

#include "movarin/surfaces/GeoEditSurfaceArchive.h"

#include "orlin/io/TinTinImporter.h"

#include <common/exception/InvalidFileFormatException.h>
#include <common/exception/RuntimeException.h>
#include <common/test/FileSizeLimit.h>
#include <common/test/RunCommand.h>
#include <mold/io/MoldExporter.h>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace varnel::test {
namespace {

using common::exception::InvalidFileFormatException;

struct Entry {
    std::string name;
    long long size = 0;
};

// What `tar -tvf` lists: names and sizes in archive order.
std::vector<Entry> tarListing(const std::string& archive)
{
    int status = -1;
    std::istringstream lines(common::test::runCommand("tar -tvf '" + archive + "'", &status));
    EXPECT_EQ(status, 0) << "tar refused " << archive;
    std::vector<Entry> entries;
    std::string permissions, owner, date, time;
    Entry e;
    while (lines >> permissions >> owner >> e.size >> date >> time >> e.name) {
        entries.push_back(e);
    }
    return entries;
}

// The entry extracted by tar into a file of its own, read by the TIN archive reader.
tin::core::Tin extractedTin(const std::string& archive, const std::string& entry, const std::string& to)
{
    int status = -1;
    common::test::runCommand("tar -xOf '" + archive + "' '" + entry + "' > '" + to + "'", &status);
    EXPECT_EQ(status, 0) << "tar could not extract " << entry;
    return tin::io::TinTinImporter().importTin(to.c_str());
}

// Sets the size field of the tar header at `offset` and its checksum, as a damaged or
// hostile archive would carry them.
void setEntrySize(QByteArray& bytes, int offset, unsigned long long size)
{
    const QByteArray field = QByteArray::number(size, 8).rightJustified(11, '0') + '\0';
    bytes.replace(offset + 124, 12, field);
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

    QTemporaryDir m_dir;
    const std::vector<tin::core::Point> m_path{{0.0, 0.0, 5.0}, {10.0, 0.0, 5.5}, {10.0, 8.0, 6.0}};
    const mold::core::Mold m_mold{mold::core::Mold::Subtract, {-4.0, -1.0, 1.0, 4.0}, {2.0, 0.0, 0.0, 2.0}, 0.0, 1.0};
    const tin::core::Tin m_tin = gridTin(2, 100.0);
    const tin::core::Tin m_extended = gridTin(3, 200.0);
    const tin::core::Tin m_added = gridTin(1, 300.0, 0.0, 7.0);
    const tin::core::Tin m_removed = gridTin(2, 300.0);
};

TEST_F(GeoEditSurfaceArchiveTest, MoldSurfaceArchiveHoldsSevenEntriesThatTarAndTheTinReaderTake)
{
    const std::string ges = file("geoedit1.ges");
    GeoEditSurfaceArchive::writeMoldSurface(ges, m_path, m_mold, m_tin, m_extended, m_added,
                                            tin::core::Tin());
    const std::vector<Entry> entries = tarListing(ges);
    ASSERT_EQ(entries.size(), 7u);
    const char* names[] = {"meta.txt", "path.tpobin", "mold.mld", "tin.tin", "extendedtin.tin",
                           "addedtin.tin", "removedtin.tin"};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(entries[i].name, names[i]);
    }
    EXPECT_EQ(entries[0].size, 37);
    EXPECT_EQ(entries[1].size, 64 + 76) << "header, count and three points";
    EXPECT_EQ(entries[2].size, static_cast<long long>(mold::io::MoldExporter(m_mold).binarySize()));
    const tin::core::Tin* tins[] = {&m_tin, &m_extended, &m_added};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(trianglesOf(extractedTin(ges, names[3 + i], file("entry.tin"))), trianglesOf(*tins[i]))
            << names[3 + i];
    }
    EXPECT_TRUE(extractedTin(ges, "removedtin.tin", file("entry.tin")).empty());

    const GeoEditSurfaceArchive::MoldSurface read = GeoEditSurfaceArchive::readMoldSurface(ges);
    ASSERT_EQ(read.path.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read.path[i].x(), m_path[i].x());
        EXPECT_EQ(read.path[i].y(), m_path[i].y());
        EXPECT_EQ(read.path[i].elevation(), m_path[i].elevation());
    }
    EXPECT_EQ(read.mold.editType(), m_mold.editType());
    EXPECT_EQ(read.mold.l(), m_mold.l());
    EXPECT_EQ(read.mold.h(), m_mold.h());
    EXPECT_EQ(trianglesOf(read.tin), trianglesOf(m_tin));
    EXPECT_EQ(trianglesOf(read.extendedTin), trianglesOf(m_extended));
    EXPECT_EQ(trianglesOf(read.addedTin), trianglesOf(m_added));
    EXPECT_TRUE(read.removedTin.empty());
}

TEST_F(GeoEditSurfaceArchiveTest, BrushArchiveHoldsThreeEntriesFoundByPositionWhateverTheirNames)
{
    const std::string geb = file("geoedit1.geb");
    GeoEditSurfaceArchive::writeBrushSurface(geb, tin::core::Tin(), tin::core::Tin());
    std::vector<Entry> entries = tarListing(geb);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].name, "addedtin.tin");
    EXPECT_EQ(entries[2].name, "removedtin.tin");
    GeoEditSurfaceArchive::BrushSurface read = GeoEditSurfaceArchive::readBrushSurface(geb);
    EXPECT_TRUE(read.addedTin.empty());
    EXPECT_TRUE(read.removedTin.empty());

    // Python's tarfile writes the same contents under other names and pads to its own record.
    GeoEditSurfaceArchive::writeBrushSurface(geb, m_added, m_removed);
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
    entries = tarListing(renamed);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].name, "entry2");
    read = GeoEditSurfaceArchive::readBrushSurface(renamed);
    EXPECT_EQ(trianglesOf(read.addedTin), trianglesOf(m_added));
    EXPECT_EQ(trianglesOf(read.removedTin), trianglesOf(m_removed));
}

TEST_F(GeoEditSurfaceArchiveTest, DamagedArchivesAreRefusedNamingTheFile)
{
    const QString ges = QString::fromStdString(file("whole.ges"));
    GeoEditSurfaceArchive::writeMoldSurface(ges.toStdString(), m_path, m_mold, m_tin, m_extended,
                                            m_added, m_removed);
    const QByteArray whole = fileBytes(ges);
    const QString cut = QString::fromStdString(file("cut.ges"));
    // The end-of-archive blocks are not read: any cut before them is a damaged archive.
    std::vector<int> lengths;
    for (int at = 0; at < whole.size() - 1024; at += 512) {
        lengths.insert(lengths.end(), {at, at + 1, at + 37, at + 511});
    }
    for (int length : lengths) {
        SCOPED_TRACE(length);
        ASSERT_TRUE(writeFileBytes(cut, whole.left(length)));
        try {
            GeoEditSurfaceArchive::readMoldSurface(cut.toStdString());
            ADD_FAILURE() << "a cut archive was read";
        } catch (const InvalidFileFormatException& e) {
            EXPECT_EQ(e.fileName(), "cut.ges") << e.what();
        }
    }

    // The first entry's header claims 2 GiB: refused by its size before anything is skipped
    // (skipping would only fail at the end of the file, as "Invalid file format").
    QByteArray claiming = whole;
    setEntrySize(claiming, 0, 2ull << 30);
    ASSERT_TRUE(writeFileBytes(cut, claiming));
    try {
        GeoEditSurfaceArchive::readMoldSurface(cut.toStdString());
        ADD_FAILURE() << "the claim was believed";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(std::string(e.what()), "Invalid file size: cut.ges");
    }
}

TEST_F(GeoEditSurfaceArchiveTest, FailedWriteLeavesTheEarlierArchive)
{
    const std::string geb = file("geoedit1.geb");
    GeoEditSurfaceArchive::writeBrushSurface(geb, m_added, m_removed);
    const QByteArray before = fileBytes(QString::fromStdString(geb));
    const tin::core::Tin big = gridTin(60);
    {
        common::test::FileSizeLimit limit(static_cast<rlim_t>(before.size()) + 4096);
        ASSERT_TRUE(limit.active());
        EXPECT_THROW(GeoEditSurfaceArchive::writeBrushSurface(geb, big, big),
                     common::exception::RuntimeException);
    }
    EXPECT_EQ(fileBytes(QString::fromStdString(geb)), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"geoedit1.geb"});
}

} // namespace
} // namespace varnel::test
