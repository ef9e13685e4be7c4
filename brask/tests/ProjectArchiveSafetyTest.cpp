// Symbolic links that must not lead a save outside the work folder or past the user's own
// link. (Archives holding links are refused in the shell's tests, where they are opened.)

#include "BraskTestSupport.h"

#include <guimisc/FileSupport.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace brasktest;

namespace {

class ArchiveSafetyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ArchiveSafetyTest, ASaveReplacesLinksPutIntoTheWorkFolderInsteadOfWritingThroughThem)
{
    const QString victim = path(QStringLiteral("victim.txt"));
    const QString outside = path(QStringLiteral("outside"));
    ASSERT_TRUE(writeFile(victim, "victim text\n"));
    ASSERT_TRUE(QDir().mkpath(outside));
    ASSERT_TRUE(writeFile(outside + "/background1.png", "outside picture"));

    TestProject project(path(QStringLiteral("work")));
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
    ASSERT_TRUE(QFile::link(victim, work + "/points.bin"));
    ASSERT_TRUE(guimisc::FileSupport::rmdirRecursively(work + "/images"));
    ASSERT_TRUE(QFile::link(outside, work + "/images"));
    ASSERT_TRUE(QFile::remove(work + "/project.xml"));
    ASSERT_TRUE(QFile::link(victim, work + "/project.xml"));

    ASSERT_TRUE(project.save());
    EXPECT_EQ(readFile(victim), "victim text\n");
    EXPECT_EQ(QDir(outside).entryList(QDir::Files), QStringList{"background1.png"});
    EXPECT_EQ(readFile(outside + "/background1.png"), "outside picture");
    EXPECT_EQ(guimisc::FileSupport::findForeignEntry(work), QString());
    EXPECT_EQ(readFile(work + "/points.bin"), "points");
    EXPECT_EQ(readFile(work + "/images/background1.png"), "picture");
    EXPECT_TRUE(readFile(work + "/project.xml").startsWith("<?xml"));
}

TEST_F(ArchiveSafetyTest, SavingOntoALinkReplacesWhatItLeadsToAndKeepsTheLink)
{
    TestProject project(path(QStringLiteral("work")));
    ASSERT_TRUE(project.save());
    const QString real = path(QStringLiteral("real"));
    ASSERT_TRUE(QDir().mkpath(real));
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
        EXPECT_TRUE(QFileInfo(path(link)).isSymLink());
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), real + "/" + target});
        ASSERT_TRUE(unzip.waitForFinished(30000));
        EXPECT_EQ(unzip.readAllStandardOutput(), "project.xml\n");
    }
    EXPECT_EQ(QDir(real).entryList(QDir::Files), QStringList({"new.cmvn", "river.cmvn"}));
}
