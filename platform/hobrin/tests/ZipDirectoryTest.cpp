// The member list read from a zip's central directory, against `unzip -Z1` on archives that
// Python's zipfile writes (UTF-8 names, a comment, a stub before the archive, ZIP64 records),
// and the files that are no archive.
#include "TestSupport.h"
#include "guimisc/ZipDirectory.h"
#include "guimisc/exception/QStringRuntimeError.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using guimisc::ZipDirectory;
using guimisc::exception::QStringRuntimeError;

namespace {

// Runs a Python program that writes the archive at sys.argv[1] with zipfile.
bool makeArchive(const QString& path, const QString& program)
{
    bool ok = false;
    hobrintest::run("python3", {"-c", "import sys, zipfile\n" + program, path}, &ok);
    return ok;
}

QStringList unzipListing(const QString& path)
{
    bool ok = false;
    const QByteArray out = hobrintest::run("unzip", {"-Z1", path}, &ok);
    EXPECT_TRUE(ok) << path.toStdString();
    return QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(ZipDirectory, ListsWhatUnzipLists)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    struct Case {
        const char* name;
        const char* program;
    };
    const Case cases[] = {
        {"plain.zip", "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED)\n"
                      "z.writestr('project.xml', '<Project/>' * 100)\n"
                      "z.writestr('tinItem/tin.tin', b'x' * 5000)\n"
                      "z.writestr('backgroundImageGroup/', '')\n"
                      "z.close()"},
        {"utf8-and-comment.zip", "z = zipfile.ZipFile(sys.argv[1], 'w')\n"
                                 "z.writestr('河川/測量 ß.tpo', '1,2,3')\n"
                                 "z.writestr('project.xml', '')\n"
                                 "z.comment = b'saved by a survey office'\n"
                                 "z.close()"},
        {"many.zip", "z = zipfile.ZipFile(sys.argv[1], 'w')\n"
                     "for i in range(70000): z.writestr('f%d' % i, '')\n"
                     "z.close()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = tmp.filePath(c.name);
        ASSERT_TRUE(makeArchive(path, c.program));
        const QStringList names = ZipDirectory::memberNames(path);
        EXPECT_EQ(names, unzipListing(path));
        EXPECT_FALSE(names.isEmpty());
    }
    // The 70,000 entries need the ZIP64 records: the plain count holds at most 65,535.
    EXPECT_EQ(ZipDirectory::memberNames(tmp.filePath("many.zip")).size(), 70000);

    // A stub in front, as self-extractors have: offsets in the archive no longer match.
    const QString plain = tmp.filePath("plain.zip");
    const QString prefixed = tmp.filePath("prefixed.zip");
    ASSERT_TRUE(hobrintest::writeFile(prefixed, QByteArray(3000, '#') + hobrintest::readFile(plain)));
    EXPECT_EQ(ZipDirectory::memberNames(prefixed), ZipDirectory::memberNames(plain));

    const QString empty = tmp.filePath("empty.zip");
    ASSERT_TRUE(makeArchive(empty, "zipfile.ZipFile(sys.argv[1], 'w').close()"));
    EXPECT_TRUE(ZipDirectory::memberNames(empty).isEmpty());
}

TEST(ZipDirectory, FilesThatAreNoArchiveAreNamedInTheError)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString plain = tmp.filePath("plain.zip");
    ASSERT_TRUE(makeArchive(plain, "z = zipfile.ZipFile(sys.argv[1], 'w')\n"
                                   "z.writestr('project.xml', 'x' * 300)\n"
                                   "z.close()"));
    const QByteArray whole = hobrintest::readFile(plain);
    const std::pair<const char*, QByteArray> files[] = {
        {"text.cmvn", "a text file renamed\n"},
        {"empty.cmvn", ""},
        {"zeros.emvn", QByteArray(100000, '\0')},
        {"cut-end.cmvn", whole.left(whole.size() - 10)},
        {"cut-directory.cmvn", whole.left(whole.size() - 40) + whole.right(22)},
        {"solid.stl", "solid x\nendsolid x\n"},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const QString path = tmp.filePath(name);
        ASSERT_TRUE(hobrintest::writeFile(path, bytes));
        try {
            ZipDirectory::memberNames(path);
            ADD_FAILURE() << "read as an archive";
        } catch (const QStringRuntimeError& e) {
            EXPECT_EQ(e.message(), "Not a zip archive: " + QDir::toNativeSeparators(path));
        }
    }
    EXPECT_THROW(ZipDirectory::memberNames(tmp.filePath("missing.zip")), QStringRuntimeError);
    EXPECT_THROW(ZipDirectory::memberNames(tmp.path()), QStringRuntimeError) << "a folder";
}

// What the zip tools write passes the check before unpacking: Python's zipfile deflating,
// storing, with ZIP64 records forced, streaming with data descriptors, and Info-ZIP's own
// archive of stored and deflated files; unzip restores each as declared. A stub in front,
// encryption or another method, which the unpacking check cannot vouch for, are refused.
TEST(ZipDirectory, ArchivesOfTheZipToolsPassTheUnpackingCheckAndOthersAreNamed)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const char* passing[][2] = {
        {"deflated.zip", "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED)\n"
                         "z.writestr('project.xml', '<Project/>' * 100000)\n"
                         "z.writestr('empty.txt', '')\n"
                         "z.writestr('dir/', '')\n"
                         "z.close()"},
        {"stored.zip", "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_STORED)\n"
                       "z.writestr('tin.tin', bytes(range(256)) * 400)\n"
                       "z.close()"},
        {"zip64.zip", "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED)\n"
                      "with z.open('big.bin', 'w', force_zip64=True) as f: f.write(b'ab' * 70000)\n"
                      "with z.open('small.bin', 'w', force_zip64=True) as f: f.write(b'c')\n"
                      "z.close()"},
        {"streamed.zip", "import io\n"
                         "class Pipe(io.RawIOBase):\n"
                         "    def __init__(s, f): s.f = f\n"
                         "    def writable(s): return True\n"
                         "    def write(s, b): return s.f.write(b)\n"
                         "f = open(sys.argv[1], 'wb')\n"
                         "z = zipfile.ZipFile(Pipe(f), 'w', zipfile.ZIP_DEFLATED)\n"
                         "z.writestr('a.txt', 'streamed ' * 1000)\n"
                         "z.writestr('b.txt', 'x')\n"
                         "z.close(); f.close()"},
    };
    for (const auto& [name, program] : passing) {
        SCOPED_TRACE(name);
        const QString path = tmp.filePath(name);
        ASSERT_TRUE(makeArchive(path, program));
        EXPECT_NO_THROW(ZipDirectory::checkForUnpacking(path, {}));
    }
    // Info-ZIP's own, as a project is packed: stored and deflated members.
    ASSERT_TRUE(hobrintest::writeFile(tmp.filePath("project.xml"), QByteArray(200000, 'p')));
    ASSERT_TRUE(hobrintest::writeFile(tmp.filePath("tin.tin"), QByteArray(100000, 't')));
    bool ok = false;
    hobrintest::run("sh", {"-c", "cd '" + tmp.path() + "' && zip -q -n .tin infozip.zip project.xml tin.tin"},
                    &ok);
    ASSERT_TRUE(ok);
    const QString infozip = tmp.filePath("infozip.zip");
    EXPECT_NO_THROW(ZipDirectory::checkForUnpacking(infozip, {}));
    // Its limits: the total and the named member, each just met and just passed.
    ZipDirectory::Limits limits;
    limits.totalBytes = 300000;
    limits.named = QStringLiteral("project.xml");
    limits.namedBytes = 200000;
    EXPECT_NO_THROW(ZipDirectory::checkForUnpacking(infozip, limits));
    limits.namedBytes = 199999;
    EXPECT_THROW(ZipDirectory::checkForUnpacking(infozip, limits), QStringRuntimeError);
    limits.namedBytes = 200000;
    limits.totalBytes = 299999;
    EXPECT_THROW(ZipDirectory::checkForUnpacking(infozip, limits), QStringRuntimeError);

    const QString prefixed = tmp.filePath("prefixed.zip");
    ASSERT_TRUE(hobrintest::writeFile(prefixed, QByteArray(3000, '#') + hobrintest::readFile(infozip)));
    const QString bzip2 = tmp.filePath("bzip2.zip");
    ASSERT_TRUE(makeArchive(bzip2, "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_BZIP2)\n"
                                   "z.writestr('a.txt', 'x' * 1000)\n"
                                   "z.close()"));
    hobrintest::run("sh", {"-c", "cd '" + tmp.path() + "' && zip -q -P secret encrypted.zip tin.tin"},
                    &ok);
    ASSERT_TRUE(ok);
    const std::pair<QString, QString> refused[] = {
        {prefixed, "the directory is not where the end record says"},
        {bzip2, "a.txt is packed by method 12"},
        {tmp.filePath("encrypted.zip"), "tin.tin is encrypted"},
    };
    for (const auto& [path, why] : refused) {
        SCOPED_TRACE(path.toStdString());
        try {
            ZipDirectory::checkForUnpacking(path, {});
            ADD_FAILURE() << "passed";
        } catch (const QStringRuntimeError& e) {
            EXPECT_EQ(e.message(), QDir::toNativeSeparators(path) + ": " + why);
        }
    }
}

// Every member of an archive goes through the same inflating stream: one that inflates past
// or short of its declared size is named wherever it stands among many good ones, members
// larger than the stream's buffer and empty ones among them, and the good ones all pass, as
// `unzip -t` finds them.
TEST(ZipDirectory, EachOfManyMembersIsInflatedOnItsOwn)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString good = tmp.filePath("many.zip");
    // Member i holds a run of bytes of its own; 7 is empty, 13 and 29 exceed 256 KiB.
    ASSERT_TRUE(makeArchive(good, "import random\n"
                                  "r = random.Random(59)\n"
                                  "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED)\n"
                                  "for i in range(40):\n"
                                  "    n = 0 if i == 7 else (300000 if i in (13, 29) else r.randrange(1, 5000))\n"
                                  "    z.writestr('m%02d' % i, bytes(r.randrange(0, 8) for _ in range(n)))\n"
                                  "z.close()"));
    bool ok = false;
    hobrintest::run("unzip", {"-tq", good}, &ok);
    ASSERT_TRUE(ok);
    EXPECT_NO_THROW(ZipDirectory::checkForUnpacking(good, {}));

    // The same archive with one member's declared size in the directory changed by `delta`.
    const auto withSize = [&](const char* member, int delta) {
        const QString path = tmp.filePath(QStringLiteral("%1%2.zip").arg(member).arg(delta));
        const QString program = QStringLiteral(
            "import struct\n"
            "b = bytearray(open('%1', 'rb').read())\n"
            "at = b.find(b'PK\\x01\\x02')\n"
            "while at >= 0:\n"
            "    n, = struct.unpack_from('<H', b, at + 28)\n"
            "    if b[at + 46:at + 46 + n] == b'%2':\n"
            "        size, = struct.unpack_from('<I', b, at + 24)\n"
            "        struct.pack_into('<I', b, at + 24, size + %3)\n"
            "    at = b.find(b'PK\\x01\\x02', at + 46)\n"
            "open(sys.argv[1], 'wb').write(b)\n")
                                    .arg(good, member)
                                    .arg(delta);
        EXPECT_TRUE(makeArchive(path, program));
        return path;
    };
    const std::pair<const char*, int> changes[] = {{"m03", -1}, {"m13", -1}, {"m21", 1},
                                                   {"m29", 1},  {"m39", -1}};
    for (const auto& [member, delta] : changes) {
        SCOPED_TRACE(std::string(member) + " " + std::to_string(delta));
        const QString path = withSize(member, delta);
        try {
            ZipDirectory::checkForUnpacking(path, {});
            ADD_FAILURE() << "passed";
        } catch (const QStringRuntimeError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral(": %1 does not inflate").arg(member)))
                << e.message().toStdString();
        }
    }
}
