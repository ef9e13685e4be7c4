// The project: "project.xml" and external files packed into an archive and read back into
// a new project, the lock and the work folder, new folder names and version numbers.

#include "BraskTestSupport.h"

#include "brask/proj/MemberReadAhead.h"

#include <guimisc/SettingsSupport.h>

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>

#include <unistd.h>

using namespace brasktest;
using mvc::proj::VersionNumber;

namespace {

// The names an independent lister finds in the archive, in stored order.
QStringList unzipList(const QString& archive)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    EXPECT_TRUE(unzip.waitForFinished(30000));
    return QString::fromLocal8Bit(unzip.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The members that unzip lists as stored rather than deflated.
QStringList storedMembers(const QString& archive)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-v"), archive});
    EXPECT_TRUE(unzip.waitForFinished(30000));
    QStringList stored;
    for (const QString& line : QString::fromLocal8Bit(unzip.readAllStandardOutput()).split('\n')) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        if (columns.size() == 8 && columns[1] == QLatin1String("Stored")) {
            stored << columns[7];
        }
    }
    return stored;
}

// The element tree as text: tag, sorted attributes, children in order.
QString elementTree(const QDomElement& element)
{
    QStringList attributes;
    const QDomNamedNodeMap map = element.attributes();
    for (int i = 0; i < map.count(); ++i) {
        attributes << map.item(i).nodeName() + "=" + map.item(i).nodeValue();
    }
    attributes.sort();
    QString text = element.tagName() + "(" + attributes.join(",") + ")[";
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        text += elementTree(child);
    }
    return text + "]";
}

QString elementTreeOf(const QString& path)
{
    QDomDocument document;
    EXPECT_TRUE(document.setContent(readFile(path)));
    return elementTree(document.documentElement());
}

// Records what a project reads ahead: each member's name and bytes when read, and the
// discards.
class RecordingReadAhead : public mvc::proj::MemberReadAhead {
public:
    RecordingReadAhead(QStringList names, QStringList* reads, int* discards)
        : m_names(std::move(names)), m_reads(reads), m_discards(discards)
    {
    }
    QStringList members() const override { return m_names; }
    void read(const QString& path) override
    {
        *m_reads << QFileInfo(path).fileName() + QLatin1Char('=') + QString::fromLatin1(readFile(path));
    }
    void discard() override { ++*m_discards; }

private:
    QStringList m_names;
    QStringList* m_reads;
    int* m_discards;
};

// Two top-level items, one with a sub folder and two files below, and one item that
// names a file it never writes (it holds no data).
struct Tree {
    TestItem* points;
    TestItem* breaklines;
    TestItem* empty;
    TestItem* images;
    TestItem* image;

    explicit Tree(TestProject* project)
    {
        points = project->root()->addTopLevel(QStringLiteral("points"));
        points->setFilename("points.bin");
        breaklines = TestItem::attachedTo(points, QStringLiteral("breaklines"));
        breaklines->setFilename("breaklines.bln");
        empty = TestItem::attachedTo(points, QStringLiteral("empty"));
        empty->setFilename("empty.bin");
        images = project->root()->addTopLevel(QStringLiteral("images"));
        images->setSubPath("images");
        image = TestItem::attachedTo(images, QStringLiteral("image"));
        image->setFilename("background1.png");
    }
};

class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ProjectTest, SavedPackedUnpackedAndLoadedProjectIsTheSame)
{
    TestMainWindow window;
    const QString archive = path(QStringLiteral("river.cmvn"));
    QString firstXml;
    {
        TestProject first(path(QStringLiteral("first")), &window);
        first.file()->setProjectVersion(VersionNumber(1, 2, 0, 7));
        Tree tree(&first);
        tree.points->payload = QByteArray("points\0\x01\x02", 9).repeated(300);
        tree.breaklines->payload = QByteArray("1,2\n3,4\n").repeated(300);
        tree.image->payload = QByteArray(3000, '\xab');
        // Every payload deflates well: the suffix alone stores the two.
        first.setStoredSuffixes({QStringLiteral(".bin"), QStringLiteral(".png")});
        tree.breaklines->setUnchecked();
        first.mainfile()->setModified(true);

        ASSERT_TRUE(first.save());
        EXPECT_FALSE(first.mainfile()->isModified());
        EXPECT_EQ(window.modelessDepth, 0);
        ASSERT_TRUE(first.zipTo(archive));
        EXPECT_EQ(first.filename(), archive);
        firstXml = elementTreeOf(first.absoluteFileName(QStringLiteral("project.xml")));
        EXPECT_TRUE(firstXml.contains(QStringLiteral("version=1.2.0.7")));

        EXPECT_EQ(unzipList(archive),
                  QStringList({"project.xml", "points.bin", "breaklines.bln",
                               "images/background1.png"}));
        EXPECT_EQ(storedMembers(archive), QStringList({"points.bin", "images/background1.png"}));

        TestProject second(path(QStringLiteral("second")), &window);
        Tree copy(&second);
        ASSERT_TRUE(second.unzipFrom(archive));
        EXPECT_EQ(second.filename(), archive);
        second.load();
        EXPECT_EQ(second.file()->projectVersion(), VersionNumber(1, 2, 0, 7));
        EXPECT_FALSE(copy.breaklines->isChecked());
        EXPECT_EQ(copy.image->payload, tree.image->payload);

        // Saved again, the second project writes what the first wrote.
        QFile::remove(second.absoluteFileName(QStringLiteral("project.xml")));
        ASSERT_TRUE(second.save());
        EXPECT_EQ(elementTreeOf(second.absoluteFileName(QStringLiteral("project.xml"))),
                  firstXml);
        for (const QString name : {"points.bin", "breaklines.bln", "images/background1.png"}) {
            EXPECT_EQ(readFile(second.absoluteFileName(name)), readFile(first.absoluteFileName(name)))
                << name.toStdString();
        }
    }
    // Nothing of the two projects is left in the folders.
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("first"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("second"))));
    EXPECT_TRUE(QDir(window.workspace()->workspace())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
}

// The members read ahead are unpacked with the project file and read before the rest is
// there; what was read goes after the load, and with an archive that is refused. A member
// that is a link is never read.
TEST_F(ProjectTest, MembersReadAheadAreReadOnceUnpackedAndDroppedAfterTheLoadOrARefusal)
{
    TestMainWindow window;
    const QString source = path(QStringLiteral("source"));
    ASSERT_TRUE(QDir().mkpath(source));
    ASSERT_TRUE(writeFile(source + "/project.xml", "<Project/>\n"));
    ASSERT_TRUE(writeFile(source + "/a.tin", "alpha"));
    ASSERT_TRUE(writeFile(source + "/b.tin", "beta"));
    QStringList rest;
    for (int i = 0; i < 50; ++i) {
        rest << QStringLiteral("rest%1.dat").arg(i);
        ASSERT_TRUE(writeFile(source + "/" + rest.back(), QByteArray(1000, 'r')));
    }
    ASSERT_EQ(::symlink("a.tin", QFile::encodeName(source + "/link.tin").constData()), 0);
    const auto pack = [&](const QString& archive, const QStringList& members) {
        QProcess zip;
        zip.setWorkingDirectory(source);
        zip.start(QStringLiteral("zip"), QStringList{"-q", "-y", archive} + members);
        ASSERT_TRUE(zip.waitForFinished(60000));
        ASSERT_EQ(zip.exitCode(), 0);
    };
    const QString good = path(QStringLiteral("good.cmvn"));
    const QString linked = path(QStringLiteral("linked.cmvn"));
    pack(good, QStringList{"project.xml", "a.tin", "b.tin"} + rest);
    pack(linked, QStringList{"project.xml", "a.tin", "link.tin"} + rest);
    {
        TestProject project(path(QStringLiteral("work1")), &window);
        QStringList reads;
        int discards = 0;
        project.setMemberReadAhead(std::make_unique<RecordingReadAhead>(
            QStringList{"b.tin", "missing.tin", "a.tin"}, &reads, &discards));
        ASSERT_TRUE(project.unzipFrom(good));
        EXPECT_EQ(reads, (QStringList{"b.tin=beta", "a.tin=alpha"}));
        EXPECT_EQ(discards, 0);
        try {
            project.load();
        } catch (const std::exception&) {
            // The bare test file is no project of a kind: the read ahead goes all the same.
        }
        EXPECT_EQ(discards, 1);
    }
    {
        TestProject project(path(QStringLiteral("work2")), &window);
        QStringList reads;
        int discards = 0;
        project.setMemberReadAhead(std::make_unique<RecordingReadAhead>(
            QStringList{"link.tin", "a.tin"}, &reads, &discards));
        EXPECT_FALSE(project.unzipFrom(linked));
        EXPECT_EQ(reads, QStringList{"a.tin=alpha"});
        EXPECT_EQ(discards, 1);
    }
}

// The archive holds the project file and each file an item names that is a file in the work
// folder (a link to one too), in the items' order; a name with nothing there, or with a
// folder there, is left out.
TEST_F(ProjectTest, ThePackedMembersAreTheNamedFilesThatAreThere)
{
    TestMainWindow window;
    TestProject project(path(QStringLiteral("work")), &window);
    const QStringList names{"top.bin",      "sub/a.bin",  "sub/missing.bin", "sub/folder.bin",
                            "sub/link.bin", "gone/x.bin", "other/deep/b.bin"};
    for (const QString& name : names) {
        TestItem* item = project.root()->addTopLevel(name);
        item->setFilename(name.toStdString()); // holds no data: the save writes none of them
    }
    ASSERT_TRUE(project.save());
    const QString work = project.workFolder();
    ASSERT_TRUE(QDir().mkpath(work + "/sub/folder.bin"));
    ASSERT_TRUE(QDir().mkpath(work + "/other/deep"));
    for (const QString name : {"top.bin", "sub/a.bin", "other/deep/b.bin"}) {
        ASSERT_TRUE(writeFile(work + "/" + name, name.toUtf8()));
    }
    ASSERT_TRUE(QFile::link(work + "/sub/a.bin", work + "/sub/link.bin"));
    QStringList expected{"project.xml"};
    for (const QString& name : names) {
        if (QFileInfo(QDir(work).absoluteFilePath(name)).isFile()) {
            expected << name;
        }
    }
    EXPECT_EQ(expected, (QStringList{"project.xml", "top.bin", "sub/a.bin", "sub/link.bin",
                                     "other/deep/b.bin"}));
    const QString archive = path(QStringLiteral("members.cmvn"));
    ASSERT_TRUE(project.zipTo(archive));
    EXPECT_EQ(unzipList(archive), expected);
}

TEST_F(ProjectTest, TheLockLivesWithTheProjectAndTheWorkFolderGoesAfterIt)
{
    const QString work = path(QStringLiteral("work"));
    {
        TestProject project(work);
        EXPECT_TRUE(project.isLocked());
        EXPECT_TRUE(QFileInfo(QDir(work).filePath(QStringLiteral("lock"))).isFile());
        QFile extra(project.absoluteFileName(QStringLiteral("extra.txt")));
        ASSERT_TRUE(extra.open(QIODevice::WriteOnly));
        extra.write("x");
    }
    EXPECT_FALSE(QFileInfo::exists(work));
}

TEST_F(ProjectTest, NewWorkFolderNamesAreFreshHexDigests)
{
    const QRegularExpression hex(QStringLiteral("^[0-9a-f]{32}$"));
    QStringList seen;
    for (int i = 0; i < 20; ++i) {
        const QString name = mvc::proj::Project::newWorkfolderName(m_dir.path());
        const QFileInfo info(name);
        EXPECT_EQ(info.absolutePath(), QDir(m_dir.path()).absolutePath());
        EXPECT_TRUE(hex.match(info.fileName()).hasMatch()) << name.toStdString();
        EXPECT_FALSE(info.exists());
        EXPECT_FALSE(seen.contains(name));
        seen << name;
        ASSERT_TRUE(QDir().mkdir(name));
    }
    // A folder given up is no reason to hand its name out again: one name a time, each
    // removed before the next, 1,000 times, and none comes twice.
    QSet<QString> freed;
    for (int i = 0; i < 1000; ++i) {
        const QString name = mvc::proj::Project::newWorkfolderName(m_dir.path());
        ASSERT_FALSE(freed.contains(name)) << "after " << i << " names";
        freed.insert(name);
        ASSERT_TRUE(QDir().mkdir(name));
        ASSERT_TRUE(QDir().rmdir(name));
    }
}

TEST_F(ProjectTest, UnpackingFailsForATextFileAndForAnArchiveWithoutProjectXml)
{
    const QString text = path(QStringLiteral("notes.cmvn"));
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not an archive\n");
    }
    const QString other = path(QStringLiteral("other.zip"));
    QProcess zip;
    zip.setWorkingDirectory(m_dir.path());
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), other, QStringLiteral("notes.cmvn")});
    ASSERT_TRUE(zip.waitForFinished(30000));
    ASSERT_EQ(zip.exitCode(), 0);

    TestProject project(path(QStringLiteral("work")));
    EXPECT_FALSE(project.unzipFrom(text));
    EXPECT_FALSE(project.unzipFrom(other));
    EXPECT_FALSE(project.unzipFrom(path(QStringLiteral("missing.cmvn"))));
    EXPECT_TRUE(project.filename().isEmpty());
}

TEST_F(ProjectTest, AProjectXmlThatCannotBeWrittenKeepsTheFlag)
{
    TestProject project(path(QStringLiteral("work")));
    ASSERT_TRUE(QDir().mkdir(project.absoluteFileName(QStringLiteral("project.xml"))));
    project.mainfile()->setModified(true);
    EXPECT_FALSE(project.save());
    EXPECT_TRUE(project.mainfile()->isModified());
    EXPECT_TRUE(QFileInfo(project.absoluteFileName(QStringLiteral("project.xml"))).isDir());
}

TEST(VersionNumberTest, ReadsWritesAndComparesVersions)
{
    EXPECT_EQ(VersionNumber(QStringLiteral("1.2")), VersionNumber(1, 2, 0, 0));
    EXPECT_EQ(VersionNumber(QStringLiteral("1..3")), VersionNumber(1, 0, 3, 0));
    EXPECT_EQ(VersionNumber(QStringLiteral("")), VersionNumber());
    EXPECT_EQ(VersionNumber(1, 2, 0, 0).toString(), QStringLiteral("1.2"));
    EXPECT_EQ(VersionNumber(1, 2, 0, 7).toString(), QStringLiteral("1.2.0.7"));
    EXPECT_EQ(VersionNumber(1, 2, 0, 7).toAboutString(), QStringLiteral("1.2.0 Revision 7"));
    EXPECT_EQ(VersionNumber(VersionNumber(0, 0, 3, 0).toString()), VersionNumber(0, 0, 3, 0));

    const VersionNumber v25(2, 5, 0, 0);
    EXPECT_TRUE(v25.compatibleWith(VersionNumber(2, 3, 0, 0)));
    EXPECT_TRUE(v25.compatibleWith(VersionNumber(2, 5, 0, 0)));
    EXPECT_TRUE(v25.compatibleWith(VersionNumber(2, 5, 9, 9))) << "fix and build do not count";
    EXPECT_FALSE(v25.compatibleWith(VersionNumber(2, 6, 0, 0)));
    EXPECT_FALSE(v25.compatibleWith(VersionNumber(3, 0, 0, 0)));
}

TEST_F(ProjectTest, TheWorkspaceComesFromTheSettingsAndASaveTakesNoneOfItsFiles)
{
    const QString folder = path(QStringLiteral("space"));
    guimisc::SettingsSupport::setValue(QStringLiteral("general/workspace"), folder);
    TestMainWindow window(QStringLiteral(".unused"));
    guimisc::SettingsSupport::remove(QStringLiteral("general/workspace"));
    ASSERT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(window.workspace()->tmpFileName()).absolutePath(),
              QDir(folder).absolutePath());

    // The user keeps files in the folder named as the zip tool names its temporary files.
    const QStringList users{"zia", "ziaXY.tmp", "zi123abc", "zipcodes", "zig.cmvn"};
    for (const QString& name : users) {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
    {
        TestProject project(QDir(folder).filePath(QStringLiteral("work")), &window);
        ASSERT_TRUE(project.save());
        // Saving over one of them replaces that one only.
        const QString archive = QDir(folder).filePath(QStringLiteral("zig.cmvn"));
        ASSERT_TRUE(project.zipTo(archive));
        EXPECT_EQ(unzipList(archive), QStringList{"project.xml"});
    }
    QStringList expected = users;
    expected.sort();
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                     QDir::Name),
              expected);
    for (const QString& name : users.mid(0, 4)) {
        EXPECT_EQ(readFile(QDir(folder).filePath(name)), name.toUtf8());
    }
}

TEST_F(ProjectTest, FoldersThatCannotBeMadeAreSaidNotFoundAtSave)
{
    // A workspace whose parents are missing is made whole.
    const QString deep = path(QStringLiteral("not/yet/ws"));
    guimisc::SettingsSupport::setValue(QStringLiteral("general/workspace"), deep);
    {
        mvc::proj::ProjectWorkspace workspace(QStringLiteral(".unused"), nullptr);
        EXPECT_TRUE(QFileInfo(deep).isDir());
        EXPECT_TRUE(workspace.makeFolder());
    }
    // A file in the way: neither the workspace nor a work folder below it can be made.
    const QString blocker = path(QStringLiteral("plain.txt"));
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    guimisc::SettingsSupport::setValue(QStringLiteral("general/workspace"), blocker + "/ws");
    mvc::proj::ProjectWorkspace workspace(QStringLiteral(".unused"), nullptr);
    guimisc::SettingsSupport::remove(QStringLiteral("general/workspace"));
    EXPECT_FALSE(workspace.makeFolder());
    TestProject lost(blocker + "/ws/work");
    EXPECT_FALSE(lost.isLocked());
    EXPECT_TRUE(QFileInfo(blocker).isFile());
}

// Large members unpack side by side, the largest waited for first: the others end while it
// runs, and each must still count as unpacked.
TEST_F(ProjectTest, MembersUnpackedSideBySideThatEndFirstCountAsUnpacked)
{
    TestMainWindow window;
    const QString source = path(QStringLiteral("source"));
    ASSERT_TRUE(QDir().mkpath(source));
    // Incompressible, so that each is stored at its size: above the size from which members
    // get a program of their own.
    std::mt19937 random(3);
    const auto writeRandom = [&](const QString& name, int mebibytes) -> int {
        QByteArray bytes(mebibytes << 20, Qt::Uninitialized);
        for (int k = 0; k + 4 <= bytes.size(); k += 4) {
            const std::uint32_t word = random();
            std::memcpy(bytes.data() + k, &word, 4);
        }
        QFile file(source + QLatin1Char('/') + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return bytes.size();
    };
    const int large = writeRandom(QStringLiteral("large.bin"), 48);
    const int smaller = writeRandom(QStringLiteral("smaller.bin"), 17);
    const int small = writeRandom(QStringLiteral("small.bin"), 17);
    {
        QFile xml(source + QStringLiteral("/project.xml"));
        ASSERT_TRUE(xml.open(QIODevice::WriteOnly));
        xml.write("<Project/>\n");
    }
    const QString archive = path(QStringLiteral("large.cmvn"));
    QProcess zip;
    zip.setWorkingDirectory(source);
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("-0"), archive,
                                      QStringLiteral("project.xml"), QStringLiteral("large.bin"),
                                      QStringLiteral("smaller.bin"), QStringLiteral("small.bin")});
    ASSERT_TRUE(zip.waitForFinished(60000));
    ASSERT_EQ(zip.exitCode(), 0);
    QDir(source).removeRecursively();

    for (int round = 0; round < 3; ++round) {
        const QString folder = path(QStringLiteral("work%1").arg(round));
        TestProject project(folder, &window);
        ASSERT_TRUE(project.unzipFrom(archive)) << "round " << round;
        EXPECT_EQ(QFileInfo(folder + QStringLiteral("/large.bin")).size(), large);
        EXPECT_EQ(QFileInfo(folder + QStringLiteral("/smaller.bin")).size(), smaller);
        EXPECT_EQ(QFileInfo(folder + QStringLiteral("/small.bin")).size(), small);
        EXPECT_EQ(window.modelessDepth, 0);
    }
}
