// Temporary names, folder removal, the ASCII copies and the device in front of a standard stream.
#include "TestSupport.h"
#include "guimisc/ErrorMessage.h"
#include "guimisc/FileSupport.h"
#include "guimisc/FolderDeleter.h"
#include "guimisc/OstreamDevice.h"
#include "guimisc/StringSupport.h"
#include "guimisc/TmpFileCopyerFromAscii.h"
#include "guimisc/TmpFileCopyerToAscii.h"
#include "guimisc/exception/QStringRuntimeError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace guimisc;
using hobrintest::readFile;
using hobrintest::writeFile;

namespace {

// Reads a file through the C++ library with an 8-bit name, as GDAL or a point reader would.
std::string readThroughStdio(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool gone(const QString& path)
{
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

} // namespace

TEST(FileSupport, RemovalTakesLinksAsLinksAndReports)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString outside = tmp.filePath("outside");
    ASSERT_TRUE(QDir().mkpath(outside + "/deep"));
    ASSERT_TRUE(writeFile(outside + "/keep.txt", "keep"));
    ASSERT_TRUE(writeFile(outside + "/deep/keep2.txt", "keep"));

    const QString work = tmp.filePath(QString::fromUtf8("work ü/nested"));
    ASSERT_TRUE(QDir().mkpath(work + "/.hidden"));
    ASSERT_TRUE(writeFile(work + "/a.bin", "a"));
    ASSERT_TRUE(writeFile(work + "/.hidden/b", "b"));
    ASSERT_TRUE(QFile::link(outside, work + "/linkToFolder"));
    ASSERT_TRUE(QFile::link(outside + "/keep.txt", work + "/linkToFile"));
    ASSERT_TRUE(QFile::link(tmp.filePath("nothing"), work + "/dangling"));

    const QString top = tmp.filePath(QString::fromUtf8("work ü"));
    EXPECT_TRUE(FileSupport::rmdirRecursively(top));
    EXPECT_TRUE(gone(top));
    EXPECT_EQ(readFile(outside + "/keep.txt"), "keep");
    EXPECT_EQ(readFile(outside + "/deep/keep2.txt"), "keep");

    // A link given as the folder itself goes as a link.
    const QString link = tmp.filePath("link");
    ASSERT_TRUE(QFile::link(outside, link));
    EXPECT_TRUE(FileSupport::rmdirRecursively(link));
    EXPECT_TRUE(gone(link));
    EXPECT_EQ(readFile(outside + "/deep/keep2.txt"), "keep");

    // A plain file is not a folder and stays.
    EXPECT_FALSE(FileSupport::rmdirRecursively(outside + "/keep.txt"));
    EXPECT_EQ(readFile(outside + "/keep.txt"), "keep");

    {
        FolderDeleter deleter(outside);
        EXPECT_TRUE(QFileInfo(outside).isDir());
    }
    EXPECT_TRUE(gone(outside));
}

// The kinds of entry that the project tests do not make: pipes, hard links, dangling links.
// (Links to files and folders outside are refused and cleared there, through the project.)
TEST(FileSupport, PipesHardLinksAndDanglingLinksAreForeignAndWritePathsLoseThem)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString victim = tmp.filePath("victim.txt");
    const QString work = tmp.filePath("work");
    ASSERT_TRUE(writeFile(victim, "victim"));
    ASSERT_TRUE(QDir().mkpath(work + "/sub"));
    ASSERT_TRUE(writeFile(work + "/sub/points.bin", "points"));
    EXPECT_EQ(FileSupport::findForeignEntry(work), QString());

    const std::pair<const char*, std::function<bool(const QString&)>> kinds[] = {
        {"pipe", [](const QString& at) { return ::mkfifo(QFile::encodeName(at), 0600) == 0; }},
        {"hard link", [&](const QString& at) {
             return ::link(QFile::encodeName(victim), QFile::encodeName(at)) == 0;
         }},
        {"dangling link", [&](const QString& at) { return QFile::link(work + "/none", at); }},
    };
    // Among many plain files, which a few threads examine at once, as well.
    ASSERT_TRUE(QDir().mkpath(work + "/many/deeper"));
    for (int i = 0; i < 6000; ++i) {
        ASSERT_TRUE(writeFile(work + QString("/many/geodata%1.dat").arg(i), "g"));
    }
    EXPECT_EQ(FileSupport::findForeignEntry(work), QString());
    for (const auto& [kind, make] : kinds) {
        SCOPED_TRACE(kind);
        for (const QString entry : {"sub/entry", "many/entry", "many/deeper/entry"}) {
            const QString at = work + "/" + entry;
            ASSERT_TRUE(make(at));
            EXPECT_EQ(FileSupport::findForeignEntry(work), entry);
            FileSupport::clearWritePath(work, entry);
            EXPECT_EQ(FileSupport::findForeignEntry(work), QString());
            if (!entry.startsWith("sub")) {
                QFile::remove(at);
            }
        }
        const QString at = work + "/sub/entry";
        // A hard-linked file keeps its bytes in a copy of its own; the others are gone.
        ASSERT_EQ(readFile(at), kind == std::string("hard link") ? "victim" : "");
        ASSERT_TRUE(writeFile(at, "written after the clearing"));
        QFile::remove(at);
    }
    EXPECT_EQ(readFile(victim), "victim");
    EXPECT_FALSE(QFileInfo::exists(work + "/none"));
    EXPECT_THROW(FileSupport::clearWritePath(work, "../victim.txt"), ErrorMessage);
}

// The list of examined folders that one save keeps: it gains the plain folders of the paths
// and never a file, a listed folder is passed over, and the entry at the end of a path is
// examined whatever the list holds.
TEST(FileSupport, WritePathsWithAListOfCheckedFoldersStillLoseLinksAtTheirEnds)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString victim = tmp.filePath("victim.txt");
    const QString work = tmp.filePath("work");
    ASSERT_TRUE(writeFile(victim, "victim"));
    ASSERT_TRUE(QDir().mkpath(work + "/sub/deeper"));
    ASSERT_TRUE(writeFile(work + "/sub/deeper/a.dat", "a"));

    QSet<QString> checked;
    FileSupport::clearWritePath(work, "sub/deeper/a.dat", &checked);
    const QString absolute = QDir(work).absolutePath();
    EXPECT_EQ(checked, (QSet<QString>{absolute + "/sub", absolute + "/sub/deeper"}));
    EXPECT_EQ(readFile(work + "/sub/deeper/a.dat"), "a");

    // A link at the end of a path below listed folders goes all the same.
    ASSERT_TRUE(QFile::link(victim, work + "/sub/deeper/b.dat"));
    FileSupport::clearWritePath(work, "sub/deeper/b.dat", &checked);
    EXPECT_FALSE(QFileInfo(work + "/sub/deeper/b.dat").isSymLink());
    EXPECT_FALSE(QFileInfo::exists(work + "/sub/deeper/b.dat"));

    // A folder missing from the list is examined: become a link, it goes.
    ASSERT_TRUE(QDir().mkpath(tmp.filePath("outside")));
    ASSERT_TRUE(QFile::link(tmp.filePath("outside"), work + "/other"));
    FileSupport::clearWritePath(work, "other/c.dat", &checked);
    EXPECT_FALSE(QFileInfo(work + "/other").isSymLink());
    EXPECT_FALSE(checked.contains(absolute + "/other"));
    EXPECT_EQ(readFile(victim), "victim");
    EXPECT_TRUE(QFileInfo(tmp.filePath("outside")).isDir());
}

TEST(TmpFileCopyer, AsciiCopyOfImageAndItsWorldFiles)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString source = tmp.filePath(QString::fromUtf8("写真 フォルダ"));
    const QString work = tmp.filePath("work");
    ASSERT_TRUE(QDir().mkpath(source));
    ASSERT_TRUE(QDir().mkpath(work));
    const QString image = source + QString::fromUtf8("/航空.写真.png");
    ASSERT_TRUE(writeFile(image, QByteArray("\x89PNG pixels\0\1", 14)));
    ASSERT_TRUE(writeFile(source + QString::fromUtf8("/航空.写真.pgw"), "0.5\n0\n0\n-0.5\n1000\n2000\n"));
    ASSERT_TRUE(writeFile(source + QString::fromUtf8("/航空.写真.png.aux.xml"), "<PAMDataset/>"));
    ASSERT_TRUE(writeFile(source + QString::fromUtf8("/航空.pgw"), "other base name"));
    ASSERT_TRUE(writeFile(source + QString::fromUtf8("/航空.写真2.png"), "other image"));

    std::string copy;
    {
        TmpFileCopyerToAscii copier(image, work, true);
        copy = copier.filename();
        const QString copyPath = QString::fromLocal8Bit(copy.c_str());
        EXPECT_TRUE(StringSupport::isAscii(copyPath));
        EXPECT_FALSE(StringSupport::isAscii(image));
        EXPECT_EQ(QFileInfo(copyPath).suffix(), "png");
        EXPECT_EQ(readThroughStdio(copy), std::string("\x89PNG pixels\0\1", 14));
        const std::string base = copy.substr(0, copy.size() - 4);
        EXPECT_EQ(readThroughStdio(base + ".pgw"), "0.5\n0\n0\n-0.5\n1000\n2000\n");
        EXPECT_EQ(readThroughStdio(base + ".png.aux.xml"), "<PAMDataset/>");
        // Only the files of this base name came along.
        EXPECT_EQ(QDir(work).entryList(QDir::Files).size(), 3);
    }
    EXPECT_TRUE(QDir(work).entryList(QDir::Files).isEmpty());

    {
        // A missing source is reported by the reader, as any missing file.
        TmpFileCopyerToAscii missing(source + "/none.tif", work);
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(missing.filename())));
    }
    EXPECT_TRUE(QDir(work).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(QDir(source).entryList(QDir::Files).size(), 5); // sources untouched
}

TEST(TmpFileCopyer, WrittenAsciiFileReplacesTargetWhole)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString work = tmp.filePath("work");
    ASSERT_TRUE(QDir().mkpath(work));
    const QString target = tmp.filePath(QString::fromUtf8("出力 結果.stl"));
    ASSERT_TRUE(writeFile(target, "old content"));

    std::string written;
    {
        TmpFileCopyerFromAscii copier(target, work);
        written = copier.filename();
        EXPECT_TRUE(StringSupport::isAscii(QString::fromStdString(written)));
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(written)));
        // Nothing written yet: the target stays and the error names it.
        try {
            copier.copy();
            ADD_FAILURE() << "copy without a written file succeeded";
        } catch (const exception::QStringRuntimeError& e) {
            EXPECT_TRUE(e.message().contains(target));
        }
        EXPECT_EQ(readFile(target), "old content");

        std::ofstream(written, std::ios::binary) << "solid new\n";
        copier.copy();
        EXPECT_EQ(readFile(target), "solid new\n");
    }
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(written)));
    // Only the target and the work folder remain: no staging file beside the target.
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);

    // A target that cannot be a file: a folder, or inside a missing folder.
    for (const QString& bad : {tmp.filePath("work"), tmp.filePath("missing/x.stl")}) {
        TmpFileCopyerFromAscii copier(bad, work);
        std::ofstream(copier.filename(), std::ios::binary) << "data";
        EXPECT_THROW(copier.copy(), exception::QStringRuntimeError) << bad.toStdString();
    }
    EXPECT_TRUE(QFileInfo(tmp.filePath("work")).isDir());
    EXPECT_TRUE(QDir(work).entryList(QDir::Files).isEmpty());
}

// Qt's XML writer through a standard stream: the same bytes as through Qt's own buffer, bytes
// written to the device between two writer calls in place, and a failed stream reported as
// the writer's error rather than dropped.
TEST(OstreamDevice, CarriesQtWritersIntoAStandardStream)
{
    const auto document = [](QIODevice* device) {
        QXmlStreamWriter writer(device);
        writer.setAutoFormatting(true);
        writer.writeStartDocument();
        writer.writeStartElement(QStringLiteral("Pnts"));
        writer.writeCharacters(QString());
        device->write("<P id=\"1\">1 2 3</P>");
        writer.writeEndElement();
        writer.writeTextElement(QStringLiteral("Name"), QString::fromUtf8("river \xe2\x80\x94 <a&b>"));
        writer.writeEndDocument();
        return !writer.hasError();
    };

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(document(&buffer));
    std::ostringstream stream;
    OstreamDevice device(stream);
    ASSERT_TRUE(document(&device));
    EXPECT_EQ(stream.str(), buffer.data().toStdString());
    EXPECT_NE(stream.str().find("<Pnts><P id=\"1\">1 2 3</P></Pnts>"), std::string::npos);

    std::ostream failed(nullptr);
    OstreamDevice failing(failed);
    EXPECT_FALSE(document(&failing));
}
