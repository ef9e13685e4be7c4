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
