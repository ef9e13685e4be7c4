// Project files that must not hurt the user through the main window: archives holding
// symbolic links, archives that would exhaust the machine (zip bombs, a huge "project.xml"
// or attribute), what a save may and may not touch, and a workspace that cannot hold a
// project.
#include "MainWindowTestSupport.h"
#include "ProjectTestSupport.h"

#include "brask/window/ProjectMdiArea.h"
#include "movarin/shell/Project.h"

#include "support/QtPrinters.h"

#include <guimisc/FileSupport.h>
#include <guimisc/UserDialogScript.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace varnel::test {
namespace {

using Script = guimisc::UserDialogScript;

// Runs a program to its end in `folder`; true when it exited with 0.
bool run(const QString& folder, const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

class MainWindowArchiveSafetyTest : public MainWindowTest {
protected:
    QString workspaceFolder() { return window().workspace()->workspace().absolutePath(); }
    // The victim in the home folder, where a crafted archive would aim.
    QString victim() const { return QDir::home().absoluteFilePath(QStringLiteral("victim.txt")); }
};

TEST_F(MainWindowArchiveSafetyTest, ArchivesWithLinksOpenNoProjectAndTouchNothingOutside)
{
    ASSERT_TRUE(writeFileBytes(victim(), "the user's own text\n"));
    const QString outside = QDir::home().absoluteFilePath(QStringLiteral("pictures"));
    ASSERT_TRUE(QDir().mkpath(outside));
    ASSERT_TRUE(writeFileBytes(outside + "/keep.png", "picture"));

    // A good archive unpacked, then one link added and packed again by Info-ZIP with -y, which
    // stores the link itself.
    const QString good = makeArchive(QStringLiteral("good"));
    const QString points = QStringLiteral("coordinatePointsGroup/coordinatePoints1.tpobin");
    struct Case {
        const char* name;
        QString entry;
        QString target;
    };
    const Case cases[] = {
        {"absolute link to a file outside", points, victim()},
        {"relative link out of the work folder", points, "../../../victim.txt"},
        {"link to a folder outside", "images", outside},
        {"link inside the work folder", "points.bin", "project.xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir source;
        ASSERT_TRUE(run(source.path(), "unzip", {"-q", good}));
        ASSERT_TRUE(QDir(source.path()).mkpath(QFileInfo(c.entry).path()));
        ASSERT_TRUE(QFile::link(c.target, source.filePath(c.entry)));
        const QString archive = file(QStringLiteral("crafted.cmvn"));
        QFile::remove(archive);
        ASSERT_TRUE(run(source.path(), "zip", {"-q", "-r", "-y", archive, "."}));

        Script script;
        window().openProject(archive);
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].title, "Error");
        EXPECT_EQ(script.messageBoxes()[0].text, "Could not read project file " + archive + ".");
        EXPECT_EQ(window().project(), nullptr);
        EXPECT_TRUE(window().mdiArea()->subWindowList().isEmpty());
        EXPECT_FALSE(recentProjects().contains(archive));
        EXPECT_TRUE(folderEntries(workspaceFolder()).isEmpty()) << "the work folder is gone";
        EXPECT_EQ(fileBytes(victim()), "the user's own text\n");
        EXPECT_EQ(folderEntries(outside), QStringList{"keep.png"});
    }
    // Without a link the same road opens.
    Script script;
    window().openProject(good);
    EXPECT_NE(window().project(), nullptr);
    EXPECT_TRUE(script.messageBoxes().empty());
}

TEST_F(MainWindowArchiveSafetyTest, BombsGetTheOpenErrorAndLeaveNothingInTheWorkspace)
{
    const QString good = makeArchive(QStringLiteral("good"));
    const std::pair<const char*, qint64> bombs[] = {
        {"unlisted", qint64(256) << 20},
        {"inflating", qint64(256) << 20},
        {"big-xml", (qint64(64) << 20) + 1},
        {"long-attribute", 50000000},
    };
    for (const auto& [kind, argument] : bombs) {
        SCOPED_TRACE(kind);
        const QString archive = file(QLatin1String(kind) + QStringLiteral(".cmvn"));
        QProcess python;
        python.start(QStringLiteral("python3"), {QStringLiteral(MOVARIN_CRAFT_ARCHIVES),
                                                 QLatin1String(kind), good, archive,
                                                 QString::number(argument)});
        ASSERT_TRUE(python.waitForFinished(120000));
        ASSERT_EQ(python.exitCode(), 0);

        Script script;
        window().openProject(archive);
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].title, "Error");
        EXPECT_EQ(script.messageBoxes()[0].text, "Could not read project file " + archive + ".");
        EXPECT_EQ(window().project(), nullptr);
        EXPECT_FALSE(recentProjects().contains(archive));
        EXPECT_TRUE(folderEntries(workspaceFolder()).isEmpty()) << "the work folder is gone";
    }
    Script script;
    window().openProject(good);
    EXPECT_NE(window().project(), nullptr);
    EXPECT_TRUE(script.messageBoxes().empty());
}

TEST_F(MainWindowArchiveSafetyTest, AnArchiveIsNeverSavedWhereTheProjectWillDeleteIt)
{
    window().newCreateProject();
    const QString work = window().project()->workFolder();
    // Straight into the work folder, into a folder below it, and through a link leading there.
    ASSERT_TRUE(QDir(work).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(work + "/sub/linked.cmvn", file(QStringLiteral("link.cmvn"))));
    for (const QString& target : {work + "/x.cmvn", work + "/sub/x.cmvn", file("link.cmvn")}) {
        SCOPED_TRACE(target.toStdString());
        Script script;
        script.answerFile(target);
        EXPECT_FALSE(window().saveProjectAs());
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].kind, guimisc::UserDialogs::Kind::Warning);
        EXPECT_TRUE(script.messageBoxes()[0].text.endsWith("Choose a folder outside the workspace."))
            << script.messageBoxes()[0].text.toStdString();
        EXPECT_TRUE(window().project()->filename().isEmpty());
        EXPECT_EQ(window().windowTitle(), "Untitled - Movarin");
        EXPECT_TRUE(recentProjects().isEmpty());
    }
    EXPECT_EQ(folderEntries(work + "/sub"), QStringList());
    EXPECT_FALSE(QFileInfo::exists(work + "/x.cmvn"));
}

TEST_F(MainWindowArchiveSafetyTest, AWorkspaceThatCannotBeMadeStopsNewAndOpenWithAnError)
{
    const QString archive = makeArchive(QStringLiteral("x"));
    const QString workspace = workspaceFolder();
    ASSERT_TRUE(guimisc::FileSupport::rmdirRecursively(workspace));
    ASSERT_TRUE(writeFileBytes(workspace, "a file where the workspace was"));

    const std::pair<const char*, std::function<void()>> commands[] = {
        {"New Project", [&] { window().newCreateProject(); }},
        {"new edit-mode project", [&] { window().newEditProject(); }},
        {"Open", [&] { window().openProject(archive); }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        Script script;
        command();
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].title, "Error");
        EXPECT_TRUE(script.messageBoxes()[0].text.contains(QDir::toNativeSeparators(workspace)))
            << script.messageBoxes()[0].text.toStdString();
        EXPECT_EQ(window().project(), nullptr);
        EXPECT_EQ(window().windowTitle(), "Movarin");
    }
    EXPECT_EQ(fileBytes(workspace), "a file where the workspace was");

    // Once the way is free the folder is made again.
    ASSERT_TRUE(QFile::remove(workspace));
    Script script;
    window().openProject(archive);
    EXPECT_NE(window().project(), nullptr);
    EXPECT_TRUE(script.messageBoxes().empty());
}

} // namespace
} // namespace varnel::test
