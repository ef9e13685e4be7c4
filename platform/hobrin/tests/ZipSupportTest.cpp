// The zip support against the real Info-ZIP programs, a missing program and a fake one.
#include "TestSupport.h"
#include "guimisc/ZipSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using guimisc::ZipSupport;
using hobrintest::readFile;
using hobrintest::writeFile;

namespace {

const int registered = [] {
    qRegisterMetaType<QProcess::ExitStatus>();
    qRegisterMetaType<QProcess::ProcessError>();
    return 0;
}();

// Waits for a started process as the project code does and tells how it ended.
bool runToEnd(QProcess* process)
{
    return process->waitForFinished(30000) && process->exitStatus() == QProcess::NormalExit
           && process->exitCode() == 0;
}

// Sets PATH for the lifetime of the object.
class PathGuard {
public:
    explicit PathGuard(const QByteArray& path) : m_old(qgetenv("PATH")) { qputenv("PATH", path); }
    ~PathGuard() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(folder).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

} // namespace

TEST(ZipSupport, PacksAndUnpacksAwkwardNamesByteForByte)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString source = tmp.filePath("source");
    const QString target = tmp.filePath("target folder");
    ASSERT_TRUE(QDir().mkpath(source + "/sub dir"));
    ASSERT_TRUE(QDir().mkpath(target));
    const QStringList members{"project.xml", "sub dir/with blank.bin",
                              QString::fromUtf8("測量点 \"quoted\".tpobin"), "-dash.txt"};
    QByteArray binary;
    for (int i = 0; i < 4096; ++i) {
        binary.append(static_cast<char>((i * 7919) & 0xFF));
    }
    const QList<QByteArray> contents{"<Project version=\"1.0\"/>\n", binary,
                                     QByteArray("\x00\x01\xFF points", 10), "dash"};
    for (int i = 0; i < members.size(); ++i) {
        ASSERT_TRUE(writeFile(source + "/" + members[i], contents[i]));
    }
    const QString archive = tmp.filePath(QString::fromUtf8("archive ü.zip"));

    std::unique_ptr<QProcess> zip(ZipSupport::createZipArchiveProcess(archive, source, members));
    ASSERT_TRUE(runToEnd(zip.get())) << zip->readAllStandardError().constData();

    // unzip -l lists the members in the given order.
    bool ok = false;
    const QString listing = QString::fromUtf8(hobrintest::run("unzip", {"-l", archive}, &ok));
    ASSERT_TRUE(ok);
    int last = -1;
    for (const QString& member : members) {
        const int at = listing.indexOf(member);
        EXPECT_GT(at, last) << member.toStdString();
        last = at;
    }

    std::unique_ptr<QProcess> unzip(ZipSupport::createUnzipArchiveProcess(archive, target));
    ASSERT_TRUE(runToEnd(unzip.get())) << unzip->readAllStandardError().constData();
    QStringList expected = members;
    expected.sort();
    EXPECT_EQ(filesBelow(target), expected);
    for (int i = 0; i < members.size(); ++i) {
        EXPECT_EQ(readFile(target + "/" + members[i]), contents[i]) << members[i].toStdString();
    }
}

// The names of a project of 100,000 items run to some 4 MB, twice what a command line may
// hold: given as arguments, the packing could not even start.
TEST(ZipSupport, MembersBeyondTheCommandLineLimitArePackedAllInOrder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString source = tmp.filePath("source");
    // One deep folder of 16 levels of 200 characters: every name in it is some 3.2 KB long.
    QString folder;
    for (int level = 0; level < 16; ++level) {
        folder += (level ? "/" : "") + QString(195, QChar('a' + level)) + QString::number(level);
    }
    ASSERT_TRUE(QDir().mkpath(source + "/" + folder));
    QStringList members;
    qint64 bytes = 0;
    for (int i = 0; bytes < (qint64(3) << 20); ++i) {
        members << folder + QString("/geodata%1.dat").arg(i);
        bytes += members.back().size() + 1;
        ASSERT_TRUE(writeFile(source + "/" + members.back(), QByteArray::number(i)));
    }
    const QString archive = tmp.filePath("many.zip");
    std::unique_ptr<QProcess> zip(
        ZipSupport::createZipArchiveProcess(archive, source, members, {".dat"}));
    ASSERT_TRUE(runToEnd(zip.get())) << zip->readAllStandardError().constData();

    // Python's zipfile lists them in the given order, each holding its own number.
    bool ok = false;
    const QByteArray listing = hobrintest::run(
        "python3",
        {"-c",
         "import sys, zipfile\n"
         "z = zipfile.ZipFile(sys.argv[1])\n"
         "for i in z.infolist(): print(i.filename.rsplit('/', 1)[1], z.read(i).decode())\n",
         archive},
        &ok);
    ASSERT_TRUE(ok);
    const QList<QByteArray> lines = listing.trimmed().split('\n');
    ASSERT_EQ(lines.size(), members.size());
    for (int i = 0; i < lines.size(); i += 97) {
        EXPECT_EQ(lines[i], QString("geodata%1.dat %1").arg(i).toUtf8());
    }
    EXPECT_EQ(lines.back(), QString("geodata%1.dat %1").arg(members.size() - 1).toUtf8());
}

TEST(ZipSupport, MembersWithAStoredSuffixAreStoredAndTheOthersDeflated)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString source = tmp.filePath("source");
    const QString target = tmp.filePath("target");
    ASSERT_TRUE(QDir().mkpath(source + "/sub"));
    ASSERT_TRUE(QDir().mkpath(target));
    // All three deflate to a fraction; the suffix alone decides. ".TIN" is another suffix.
    const QStringList members{"breakline1.bln", "sub/points.tpobin", "a.tin", "B.TIN"};
    for (int i = 0; i < members.size(); ++i) {
        ASSERT_TRUE(writeFile(source + "/" + members[i],
                              QByteArray("0123456789,\n").repeated(5000 + i)));
    }
    const QString archive = tmp.filePath("packed.zip");
    std::unique_ptr<QProcess> zip(
        ZipSupport::createZipArchiveProcess(archive, source, members, {".tpobin", ".tin"}));
    ASSERT_TRUE(runToEnd(zip.get())) << zip->readAllStandardError().constData();

    // Python's zipfile names each member's method: 0 stored, 8 deflated.
    bool ok = false;
    const QByteArray methods = hobrintest::run(
        "python3",
        {"-c",
         "import sys, zipfile\n"
         "for i in zipfile.ZipFile(sys.argv[1]).infolist(): print(i.filename, i.compress_type)\n",
         archive},
        &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(QString::fromUtf8(methods).split('\n', Qt::SkipEmptyParts),
              (QStringList{"breakline1.bln 8", "sub/points.tpobin 0", "a.tin 0", "B.TIN 8"}));

    std::unique_ptr<QProcess> unzip(ZipSupport::createUnzipArchiveProcess(archive, target));
    ASSERT_TRUE(runToEnd(unzip.get()));
    for (const QString& member : members) {
        EXPECT_EQ(readFile(target + "/" + member), readFile(source + "/" + member))
            << member.toStdString();
    }
}

TEST(ZipSupport, EntriesNamedOutsideStayInsideTheFolder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString folder = tmp.filePath("work/inner");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString archive = tmp.filePath("evil.zip");
    bool ok = false;
    hobrintest::run("python3",
                    {"-c",
                     "import sys, zipfile\n"
                     "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                     "    z.writestr('../outside.txt', 'escaped')\n"
                     "    z.writestr('../../outside2.txt', 'escaped')\n"
                     "    z.writestr('/tmp/absolute.txt', 'escaped')\n"
                     "    z.writestr('inside.txt', 'fine')\n",
                     archive},
                    &ok);
    ASSERT_TRUE(ok);
    std::unique_ptr<QProcess> unzip(ZipSupport::createUnzipArchiveProcess(archive, folder));
    ASSERT_TRUE(unzip->waitForFinished(30000));

    EXPECT_EQ(readFile(folder + "/inside.txt"), "fine");
    const QStringList outside = filesBelow(tmp.path());
    for (const QString& file : outside) {
        EXPECT_TRUE(file.startsWith("work/inner/") || file == "evil.zip") << file.toStdString();
    }
}

TEST(ZipSupport, MissingProgramFailsWithoutFinishing)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const PathGuard path(QFile::encodeName(tmp.path())); // a folder holding no zip at all
    ASSERT_TRUE(writeFile(tmp.filePath("a.txt"), "a"));

    for (bool packing : {true, false}) {
        SCOPED_TRACE(packing ? "zip" : "unzip");
        std::unique_ptr<QProcess> process(
            packing ? ZipSupport::createZipArchiveProcess(tmp.filePath("x.zip"), tmp.path(), {"a.txt"})
                    : ZipSupport::createUnzipArchiveProcess(tmp.filePath("x.zip"), tmp.path()));
        QSignalSpy finished(process.get(), SIGNAL(finished(int, QProcess::ExitStatus)));
        QSignalSpy failed(process.get(), &QProcess::errorOccurred);
        QElapsedTimer clock;
        clock.start();
        // As the project code waits: the wait returns at once instead of hanging.
        EXPECT_FALSE(process->waitForFinished(3000));
        if (failed.isEmpty()) {
            failed.wait(1000);
        }
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(process->state(), QProcess::NotRunning);
        EXPECT_EQ(process->error(), QProcess::FailedToStart);
        ASSERT_EQ(failed.size(), 1);
        EXPECT_EQ(failed[0][0].value<QProcess::ProcessError>(), QProcess::FailedToStart);
        EXPECT_TRUE(finished.isEmpty());
    }
}

TEST(ZipSupport, FakeZipFirstOnPathIsTheOneThatRuns)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString bin = tmp.filePath("bin");
    const QString work = tmp.filePath("work");
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(work));
    // The fake records its folder, its arguments and then its input, one per line, and fails.
    const QString log = tmp.filePath("fake.log");
    ASSERT_TRUE(writeFile(bin + "/zip", QString("#!/bin/sh\npwd > '%1'\nfor a in \"$@\"; do "
                                               "printf '%s\\n' \"$a\" >> '%1'; done\n"
                                               "cat >> '%1'\nexit 3\n")
                                           .arg(log)
                                           .toUtf8()));
    ASSERT_TRUE(QFile::setPermissions(bin + "/zip", QFile::ReadOwner | QFile::WriteOwner
                                                        | QFile::ExeOwner | QFile::ExeGroup
                                                        | QFile::ExeOther));
    const PathGuard path(QFile::encodeName(bin) + ":" + qgetenv("PATH"));

    std::unique_ptr<QProcess> zip(
        ZipSupport::createZipArchiveProcess(tmp.filePath("out.zip"), work, {"a b.txt", "c.txt"}));
    QSignalSpy finished(zip.get(), SIGNAL(finished(int, QProcess::ExitStatus)));
    ASSERT_TRUE(zip->waitForFinished(30000));
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(zip->exitCode(), 3);
    const QStringList lines = QString::fromUtf8(readFile(log)).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, (QStringList{QDir(work).canonicalPath(), "-q", tmp.filePath("out.zip"), "-@",
                                  "a b.txt", "c.txt"}));
}

TEST(ZipSupport, LargeMembersUnpackSideBySideAsOneProgramWouldUnpackThem)
{
    // Stored large members (three plain top-level names, one in a folder, one whose name unzip
    // would take as a pattern) among small ones: split over programs, every file comes out
    // byte for byte; an archive of large members only needs no program for the rest.
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString source = tmp.filePath("source");
    ASSERT_TRUE(QDir().mkpath(source + "/data"));
    // Large from 64 KiB here: the split is the same at 16 MiB without a gigabyte on the disk.
    const quint64 big = 64 << 10;
    const QList<QPair<QString, quint64>> files{
        {"project.xml", 100},         {"points1.dat", big + 5},    {"tin.tin", 2 * big + 11},
        {"points2.dat", big},         {"data/deep.bin", big + 1},  {"odd[1].bin", big + 2},
        {"small.txt", 17},            {"-edge.bin", big + 3}};
    QStringList members;
    for (const auto& [name, size] : files) {
        QByteArray bytes(static_cast<int>(size), '\0');
        for (int i = 0; i < bytes.size(); i += 4099) {
            bytes[i] = static_cast<char>((i / 4099 + name.size()) & 0xFF);
        }
        bytes[bytes.size() - 1] = static_cast<char>(name.size());
        ASSERT_TRUE(writeFile(source + "/" + name, bytes));
        members << name;
    }
    const QString archive = tmp.filePath("big.zip");
    std::unique_ptr<QProcess> zip(ZipSupport::createZipArchiveProcess(
        archive, source, members, {".dat", ".tin", ".bin"}));
    ASSERT_TRUE(runToEnd(zip.get())) << zip->readAllStandardError().constData();

    {
        // Below SPLIT_FROM, as every member is here, the whole archive goes to one program.
        const QString target = tmp.filePath("target-default");
        ASSERT_TRUE(QDir().mkpath(target));
        const QList<QProcess*> processes = ZipSupport::createUnzipArchiveProcesses(archive, target, 4);
        ASSERT_EQ(processes.size(), 1);
        EXPECT_TRUE(runToEnd(processes.front()));
        delete processes.front();
        EXPECT_EQ(filesBelow(target), filesBelow(source));
    }
    for (int programs : {1, 2, 4}) {
        SCOPED_TRACE(programs);
        const QString target = tmp.filePath(QString("target%1").arg(programs));
        ASSERT_TRUE(QDir().mkpath(target));
        const QList<QProcess*> processes =
            ZipSupport::createUnzipArchiveProcesses(archive, target, programs, big, nullptr);
        // points1, tin, points2 and -edge are split off, each with a program of its own
        // when there are enough; the rest goes to one more.
        EXPECT_EQ(processes.size(), programs == 1 ? 1 : programs);
        for (QProcess* process : processes) {
            EXPECT_TRUE(runToEnd(process)) << process->readAllStandardError().constData();
            delete process;
        }
        EXPECT_EQ(filesBelow(target), filesBelow(source));
        for (const QString& name : members) {
            ASSERT_EQ(readFile(target + "/" + name), readFile(source + "/" + name)) << name.toStdString();
        }
    }

    // The project file, and the large or small members read with it, by a program of their
    // own, first, so that they can be read while the rest unpacks; names the archive does not
    // hold are left out. With one program, or in an archive of nothing else, nothing is
    // split off.
    const QList<QPair<QStringList, QStringList>> firsts{
        {{"project.xml"}, {"project.xml"}},
        {{"project.xml", "missing.tin", "tin.tin", "small.txt", "project.xml"},
         {"project.xml", "tin.tin", "small.txt"}},
        {{"missing.xml", "points2.dat"}, {"points2.dat"}}};
    for (const quint64 splitFrom : {big, ZipSupport::SPLIT_FROM}) {
        for (int programs : {1, 2, 3, 4}) {
            for (int f = 0; f < firsts.size(); ++f) {
                const auto& [first, held] = firsts[f];
                SCOPED_TRACE(QString("%1 programs, large from %2, first %3")
                                 .arg(programs)
                                 .arg(splitFrom)
                                 .arg(first.join(' '))
                                 .toStdString());
                const QString target =
                    tmp.filePath(QString("first%1-%2-%3").arg(programs).arg(splitFrom).arg(f));
                ASSERT_TRUE(QDir().mkpath(target));
                bool alone = true;
                const QList<QProcess*> processes = ZipSupport::createUnzipArchiveProcesses(
                    archive, target, programs, splitFrom, first, &alone);
                EXPECT_EQ(alone, programs >= 2);
                EXPECT_LE(processes.size(), programs);
                if (alone) {
                    const QStringList arguments = processes.front()->arguments();
                    EXPECT_EQ(arguments.mid(2),
                              (QStringList{QFileInfo(archive).absoluteFilePath()} + held
                               + QStringList{"-d", QFileInfo(target).absoluteFilePath()}));
                }
                for (QProcess* process : processes) {
                    EXPECT_TRUE(runToEnd(process)) << process->readAllStandardError().constData();
                    delete process;
                }
                EXPECT_EQ(filesBelow(target), filesBelow(source));
                for (const QString& name : members) {
                    ASSERT_EQ(readFile(target + "/" + name), readFile(source + "/" + name))
                        << name.toStdString();
                }
            }
        }
    }
    {
        const QString lone = tmp.filePath("lone.zip");
        std::unique_ptr<QProcess> zip3(
            ZipSupport::createZipArchiveProcess(lone, source, {"project.xml"}));
        ASSERT_TRUE(runToEnd(zip3.get()));
        bool alone = true;
        const QString target = tmp.filePath("target-lone");
        ASSERT_TRUE(QDir().mkpath(target));
        const QList<QProcess*> processes =
            ZipSupport::createUnzipArchiveProcesses(lone, target, 4, big, {"project.xml"}, &alone);
        EXPECT_FALSE(alone);
        ASSERT_EQ(processes.size(), 1);
        EXPECT_TRUE(runToEnd(processes.front()));
        delete processes.front();
        EXPECT_EQ(filesBelow(target), QStringList{"project.xml"});
    }

    const QString onlyLarge = tmp.filePath("large-only.zip");
    std::unique_ptr<QProcess> zip2(ZipSupport::createZipArchiveProcess(
        onlyLarge, source, {"points1.dat", "tin.tin"}, {".dat", ".tin"}));
    ASSERT_TRUE(runToEnd(zip2.get()));
    const QString target = tmp.filePath("target-large");
    ASSERT_TRUE(QDir().mkpath(target));
    const QList<QProcess*> processes = ZipSupport::createUnzipArchiveProcesses(onlyLarge, target, 4, big, nullptr);
    EXPECT_EQ(processes.size(), 2);
    for (QProcess* process : processes) {
        EXPECT_TRUE(runToEnd(process));
        delete process;
    }
    EXPECT_EQ(filesBelow(target), (QStringList{"points1.dat", "tin.tin"}));

    // Not an archive: the one program, which fails as it always did.
    const QString text = tmp.filePath("plain.txt");
    ASSERT_TRUE(writeFile(text, "no archive"));
    const QList<QProcess*> one = ZipSupport::createUnzipArchiveProcesses(text, target, 4, big, nullptr);
    ASSERT_EQ(one.size(), 1);
    EXPECT_FALSE(runToEnd(one.front()));
    delete one.front();
}
