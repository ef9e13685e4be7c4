// What an archive or the disk may hold that must not lead the project outside its folders:
// symbolic links and other foreign entries in an opened archive, links put into the work
// folder before a save.

#include "BraskTestSupport.h"

#include <guimisc/FileSupport.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace brasktest;

namespace {

// One entry of an archive made by Python's zipfile: a file with its content, or a symbolic
// link (stored as Info-ZIP stores one: Unix mode 0120777, the target as content).
struct Entry {
    enum Kind { File, Link } kind;
    QString name;
    QString value;
};

bool makeArchive(const QString& archive, const std::vector<Entry>& entries)
{
    QStringList arguments{QStringLiteral("-c"),
                          QStringLiteral("import sys, zipfile\n"
                                         "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                                         "    for kind, name, value in zip(*[iter(sys.argv[2:])] * 3):\n"
                                         "        info = zipfile.ZipInfo(name)\n"
                                         "        if kind == 'link':\n"
                                         "            info.create_system = 3\n"
                                         "            info.external_attr = 0o120777 << 16\n"
                                         "        z.writestr(info, value)\n"),
                          archive};
    for (const Entry& entry : entries) {
        arguments << (entry.kind == Entry::Link ? QStringLiteral("link") : QStringLiteral("file"))
                  << entry.name << entry.value;
    }
    QProcess python;
    python.start(QStringLiteral("python3"), arguments);
    return python.waitForFinished(30000) && python.exitCode() == 0;
}

class ArchiveSafetyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(writeFile(m_victim, "victim text\n"));
        ASSERT_TRUE(QDir().mkpath(m_outside));
        ASSERT_TRUE(writeFile(m_outside + "/background1.png", "outside picture"));
    }
    // The file and the folder beside the work folder keep their bytes and their entries.
    void expectOutsideUntouched()
    {
        EXPECT_EQ(readFile(m_victim), "victim text\n");
        EXPECT_EQ(QDir(m_outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{"background1.png"});
        EXPECT_EQ(readFile(m_outside + "/background1.png"), "outside picture");
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    const QString m_victim = m_dir.filePath(QStringLiteral("victim.txt"));
    const QString m_outside = m_dir.filePath(QStringLiteral("outside"));
    const QString m_work = m_dir.filePath(QStringLiteral("work"));
};

} // namespace

TEST_F(ArchiveSafetyTest, ArchivesHoldingLinksAreRefusedBeforeAnythingIsRead)
{
    const Entry projectXml{Entry::File, "project.xml", "<Project version=\"1.0\"/>"};
    const QString points = QStringLiteral("coordinatePointsGroup/coordinatePoints1.tpobin");
    struct Case {
        const char* name;
        std::vector<Entry> entries;
    };
    const Case cases[] = {
        {"absolute link to a file outside", {projectXml, {Entry::Link, points, m_victim}}},
        {"relative link out of the folder", {projectXml, {Entry::Link, points, "../../victim.txt"}}},
        {"link to a folder outside",
         {projectXml, {Entry::Link, "images", m_outside}, {Entry::File, "images/background1.png", "x"}}},
        {"link inside the folder", {projectXml, {Entry::Link, "points.bin", "project.xml"}}},
        {"project file as a link", {{Entry::Link, "project.xml", m_victim}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString archive = path(QStringLiteral("crafted.cmvn"));
        QFile::remove(archive);
        ASSERT_TRUE(makeArchive(archive, c.entries));
        {
            TestProject project(m_work);
            EXPECT_FALSE(project.unzipFrom(archive));
            EXPECT_TRUE(project.filename().isEmpty());
        }
        EXPECT_FALSE(QFileInfo::exists(m_work));
        expectOutsideUntouched();
    }

    // Info-ZIP's own way of storing a link (zip -y) is refused the same way, and the same
    // archive without the link opens.
    const QString source = path(QStringLiteral("source"));
    ASSERT_TRUE(QDir().mkpath(source));
    ASSERT_TRUE(writeFile(source + "/project.xml", "<Project version=\"1.0\"/>"));
    ASSERT_TRUE(QFile::link(m_victim, source + "/points.bin"));
    for (const bool withLink : {true, false}) {
        const QString archive = path(withLink ? "y.cmvn" : "plain.cmvn");
        QProcess zip;
        zip.setWorkingDirectory(source);
        zip.start(QStringLiteral("zip"), withLink ? QStringList{"-q", "-y", archive, "project.xml", "points.bin"}
                                                  : QStringList{"-q", archive, "project.xml"});
        ASSERT_TRUE(zip.waitForFinished(30000));
        ASSERT_EQ(zip.exitCode(), 0);
        TestProject project(m_work);
        EXPECT_EQ(project.unzipFrom(archive), !withLink);
    }
    expectOutsideUntouched();
}

TEST_F(ArchiveSafetyTest, ASaveReplacesLinksPutIntoTheWorkFolderInsteadOfWritingThroughThem)
{
    TestProject project(m_work);
    TestItem* points = project.root()->addTopLevel(QStringLiteral("points"));
    points->setFilename("points.bin");
    points->payload = "points";
    TestItem* images = project.root()->addTopLevel(QStringLiteral("images"));
    images->setSubPath("images");
    TestItem* image = TestItem::attachedTo(images, QStringLiteral("image"));
    image->setFilename("background1.png");
    image->payload = "picture";
    ASSERT_TRUE(project.save());

    // Behind the program's back: the file, the item's folder and the main file become links.
    const QString work = project.workFolder();
    ASSERT_TRUE(QFile::remove(work + "/points.bin"));
    ASSERT_TRUE(QFile::link(m_victim, work + "/points.bin"));
    ASSERT_TRUE(guimisc::FileSupport::rmdirRecursively(work + "/images"));
    ASSERT_TRUE(QFile::link(m_outside, work + "/images"));
    ASSERT_TRUE(QFile::remove(work + "/project.xml"));
    ASSERT_TRUE(QFile::link(m_victim, work + "/project.xml"));

    ASSERT_TRUE(project.save());
    expectOutsideUntouched();
    EXPECT_EQ(guimisc::FileSupport::findForeignEntry(work), QString());
    EXPECT_EQ(readFile(work + "/points.bin"), "points");
    EXPECT_EQ(readFile(work + "/images/background1.png"), "picture");
    EXPECT_TRUE(readFile(work + "/project.xml").startsWith("<?xml"));
}

TEST_F(ArchiveSafetyTest, SavingOntoALinkReplacesWhatItLeadsToAndKeepsTheLink)
{
    TestProject project(m_work);
    ASSERT_TRUE(project.save());
    const QString real = path(QStringLiteral("real"));
    ASSERT_TRUE(QDir().mkpath(real));
    ASSERT_TRUE(writeFile(real + "/river.cmvn", "an older archive"));
    ASSERT_TRUE(QFile::link(real + "/river.cmvn", path(QStringLiteral("absolute.cmvn"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("real/river.cmvn"), path(QStringLiteral("relative.cmvn"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("absolute.cmvn"), path(QStringLiteral("chain.cmvn"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("real/new.cmvn"), path(QStringLiteral("dangling.cmvn"))));

    const std::pair<const char*, const char*> cases[] = {{"absolute.cmvn", "river.cmvn"},
                                                        {"relative.cmvn", "river.cmvn"},
                                                        {"chain.cmvn", "river.cmvn"},
                                                        {"dangling.cmvn", "new.cmvn"}};
    for (const auto& [link, target] : cases) {
        SCOPED_TRACE(link);
        ASSERT_TRUE(writeFile(real + "/river.cmvn", "an older archive"));
        ASSERT_TRUE(project.zipTo(path(link)));
        EXPECT_EQ(project.filename(), path(link)) << "the project keeps the name it was given";
        EXPECT_TRUE(QFileInfo(path(link)).isSymLink());
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), real + "/" + target});
        ASSERT_TRUE(unzip.waitForFinished(30000));
        EXPECT_EQ(unzip.readAllStandardOutput(), "project.xml\n");
    }
    EXPECT_EQ(QDir(real).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"new.cmvn", "river.cmvn"}));
}
