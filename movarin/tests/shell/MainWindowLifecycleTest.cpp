// The project lifecycle through the real main window: new, save, close and open of a
// create-mode project; the question before a modified project goes; failed saves that must
// not lose the archive or the work; archives that cannot be opened; the recent projects; and
// the conversion to edit mode where it stops.
#include "MainWindowTestSupport.h"
#include "ProjectTestSupport.h"

#include "brask/window/ProjectMdiArea.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"

#include "brask/core/View.h"

#include "support/QtPrinters.h"

#include <guimisc/SettingsSupport.h>
#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using Script = guimisc::UserDialogScript;

/// The shape of the application's override cursor now, -1 without one.
int overrideCursorShape()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? cursor->shape() : -1;
}

/// The override cursor's shape at every paint of a main view, in any window.
class ViewPaintCursors : public QObject {
public:
    ViewPaintCursors() { qApp->installEventFilter(this); }
    ~ViewPaintCursors() override { qApp->removeEventFilter(this); }
    std::vector<int> shapes;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<mvc::core::View*>(object)) {
            shapes.push_back(overrideCursorShape());
        }
        return false;
    }
};

// An archive made by Info-ZIP holding one member with that content.
void zipOneMember(const QString& archive, const QString& member, const QByteArray& content)
{
    QTemporaryDir folder;
    ASSERT_TRUE(writeFileBytes(folder.filePath(member), content));
    QProcess zip;
    zip.setWorkingDirectory(folder.path());
    zip.start("zip", {"-q", archive, member});
    ASSERT_TRUE(zip.waitForFinished(10000));
    ASSERT_EQ(zip.exitCode(), 0);
}

class MainWindowLifecycleTest : public MainWindowTest {
protected:
    bool isModified() const { return m_window->project()->projectFile()->isModified(); }
    void modify() { m_window->project()->projectFile()->setModified(true); }
    QString workspaceFolder() { return m_window->workspace()->workspace().absolutePath(); }
};

TEST_F(MainWindowLifecycleTest, CreateModeProjectIsSavedClosedAndReopened)
{
    Script script;
    window().newCreateProject();
    ASSERT_NE(createModeWindow(), nullptr);
    EXPECT_EQ(window().windowTitle(), "Untitled - Movarin");
    EXPECT_EQ(window().actionManager()->mode(), MainWindowActionManager::CreateMode);
    EXPECT_EQ(window().project()->projectFile()->projectVersion(), window().versionNumber());

    // A changed check state has to survive the round trip (the geographic data of a
    // create-mode project is not stored).
    QStandardItemModel* rows = createModeWindow()->model()->standardItemModel();
    ASSERT_EQ(rows->rowCount(), 5);
    rows->item(0)->setCheckState(Qt::Unchecked);
    rows->item(4)->setCheckState(Qt::Unchecked);
    const auto before = browserRows(createModeWindow());

    script.answerFile(file("x"));
    EXPECT_TRUE(window().saveProjectAs());
    const QString archive = file("x.cmvn");
    ASSERT_TRUE(QFile::exists(archive)) << "the dialog's name gets the project's suffix";
    EXPECT_FALSE(QFile::exists(file("x")));
    EXPECT_EQ(script.records().back().filter, "project file (*.cmvn)");
    EXPECT_EQ(unzipListing(archive).value(0), "project.xml");
    EXPECT_EQ(recentProjects().value(0), archive);
    EXPECT_EQ(window().windowTitle(), "x.cmvn - Movarin");

    EXPECT_TRUE(window().closeProject());
    EXPECT_EQ(window().project(), nullptr);
    EXPECT_EQ(window().windowTitle(), "Movarin");
    EXPECT_TRUE(window().mdiArea()->subWindowList().isEmpty());

    // The reopened view is drawn before the wait cursor goes.
    ViewPaintCursors paints;
    window().openProject(archive);
    ASSERT_FALSE(paints.shapes.empty());
    EXPECT_EQ(paints.shapes.front(), Qt::WaitCursor);
    EXPECT_EQ(overrideCursorShape(), -1);
    ASSERT_NE(createModeWindow(), nullptr);
    EXPECT_EQ(window().actionManager()->mode(), MainWindowActionManager::CreateMode);
    EXPECT_EQ(window().windowTitle(), "x.cmvn - Movarin");
    EXPECT_EQ(browserRows(createModeWindow()), before);
    EXPECT_EQ(window().undoStack()->count(), 0);
    EXPECT_TRUE(window().undoStack()->isClean());
    EXPECT_FALSE(isModified());
    EXPECT_TRUE(script.messageBoxes().empty()) << "nothing was asked on the whole road";
}

TEST_F(MainWindowLifecycleTest, ModifiedProjectAsksBeforeItGoes)
{
    window().newCreateProject();
    modify();
    {
        SCOPED_TRACE("Cancel keeps the project");
        Script script;
        script.answer(QMessageBox::Cancel);
        EXPECT_FALSE(window().closeProject());
        ASSERT_EQ(script.records().size(), 1u);
        const Script::Record& question = script.records()[0];
        EXPECT_EQ(question.title, "Warning");
        EXPECT_EQ(question.text, "This Project is modified. Do you want to save?");
        EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(question.defaultButton, QMessageBox::Cancel);
        EXPECT_NE(window().project(), nullptr);
    }
    {
        SCOPED_TRACE("Cancel on the window's close keeps it open");
        Script script;
        script.answer(QMessageBox::Cancel);
        EXPECT_FALSE(window().close());
        EXPECT_TRUE(window().isVisible());
        EXPECT_EQ(script.records().size(), 1u);
    }
    {
        SCOPED_TRACE("Yes on a project without a name, then cancelling the save dialog");
        Script script;
        script.answer(QMessageBox::Yes).answerCancel();
        EXPECT_FALSE(window().close());
        EXPECT_TRUE(window().isVisible());
        ASSERT_EQ(script.records().size(), 2u);
        EXPECT_EQ(script.records()[1].kind, guimisc::UserDialogs::Kind::SaveFileName);
        EXPECT_NE(window().project(), nullptr);
        EXPECT_TRUE(isModified());
    }
    {
        SCOPED_TRACE("No lets a new project replace it unsaved");
        Script script;
        script.answer(QMessageBox::No);
        const Project* old = window().project();
        window().newCreateProject();
        EXPECT_EQ(script.records().size(), 1u);
        EXPECT_NE(window().project(), old);
        EXPECT_TRUE(folderEntries(m_files.path()).isEmpty()) << "nothing was saved";
    }
    {
        SCOPED_TRACE("Yes saves through the dialog, then the window closes");
        modify();
        Script script;
        script.answer(QMessageBox::Yes).answerFile(file("y"));
        EXPECT_TRUE(window().close());
        EXPECT_EQ(window().project(), nullptr);
        EXPECT_EQ(unzipListing(file("y.cmvn")).value(0), "project.xml");
        EXPECT_EQ(recentProjects().value(0), file("y.cmvn"));
    }
}

// A save that fails must keep the archive of the last good save, the modified flag (so that
// closing still asks), the title, and leave nothing behind in the workspace.
class FailedSaveTest : public MainWindowLifecycleTest {
protected:
    void SetUp() override
    {
        MainWindowLifecycleTest::SetUp();
        window().newCreateProject();
        m_archive = saveAs("x");
        ASSERT_EQ(m_archive, file("x.cmvn"));
        m_bytes = fileBytes(m_archive);
        ASSERT_FALSE(m_bytes.isEmpty());
        createModeWindow()->model()->standardItemModel()->item(0)->setCheckState(Qt::Unchecked);
        modify();
    }

    void expectNothingLost(const Script& script)
    {
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        const Script::Record box = script.messageBoxes()[0];
        EXPECT_EQ(box.kind, guimisc::UserDialogs::Kind::Critical);
        EXPECT_EQ(box.title, "Error");
        EXPECT_EQ(box.text, "Saving project failed.");
        EXPECT_EQ(fileBytes(m_archive), m_bytes);
        EXPECT_TRUE(isModified());
        EXPECT_EQ(window().windowTitle(), "x.cmvn - Movarin");
        EXPECT_EQ(window().project()->filename(), m_archive);
        QStringList leftovers;
        for (const QString& name : folderEntries(workspaceFolder())) {
            if (!QFileInfo(QDir(workspaceFolder()).absoluteFilePath(name)).isDir()) {
                leftovers << name;
            }
        }
        EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(", ").toStdString();
        Script closing;
        closing.answer(QMessageBox::Cancel);
        EXPECT_FALSE(window().closeProject()) << "the next close asks";
        EXPECT_EQ(closing.records().size(), 1u);
    }

    QString m_archive;
    QByteArray m_bytes;
};

TEST_F(FailedSaveTest, FailingZipToolKeepsTheEarlierArchive)
{
    // Writes half an archive where it was told to, then fails.
    FakeTool zip("zip", "printf 'PK broken' > \"$2\"; exit 12");
    Script script;
    EXPECT_FALSE(window().saveProject());
    expectNothingLost(script);
    EXPECT_EQ(recentProjects().value(0), m_archive);
}

TEST_F(FailedSaveTest, CancelledSlowZipToolKeepsTheEarlierArchiveAndTheWindowOpen)
{
    FakeTool zip("zip", "printf 'PK partial' > \"$2\"; exec sleep 30");
    bool closed = true;
    int cursor = -1;
    WaitDialogCanceller canceller([&] {
        cursor = overrideCursorShape();
        closed = window().close();
    });
    Script script;
    EXPECT_FALSE(window().saveProject());
    EXPECT_TRUE(canceller.cancelled());
    EXPECT_EQ(cursor, Qt::WaitCursor) << "the packing keeps the wait cursor";
    EXPECT_EQ(overrideCursorShape(), -1);
    EXPECT_FALSE(closed) << "a close while saving is ignored";
    EXPECT_TRUE(window().isVisible());
    expectNothingLost(script);
}

TEST_F(FailedSaveTest, SavingOntoAFolderSaysWhyInOneBox)
{
    const QString folder = file("taken.cmvn");
    ASSERT_TRUE(QDir().mkdir(folder));
    Script script;
    script.answerFile(folder);
    EXPECT_FALSE(window().saveProjectAs());
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Error");
    EXPECT_EQ(script.messageBoxes()[0].text,
              "Could not overwrite " + QDir::toNativeSeparators(folder) + ".");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(isModified());
    EXPECT_EQ(window().project()->filename(), m_archive);
    EXPECT_EQ(fileBytes(m_archive), m_bytes);

    // The next save fails before packing ("project.xml" cannot be written): that is told, even
    // though the packing reported its own failure last time.
    const QString mainFile = window().project()->absoluteFileName("project.xml");
    ASSERT_TRUE(QFile::remove(mainFile));
    ASSERT_TRUE(QDir().mkdir(mainFile));
    script.clearRecords();
    EXPECT_FALSE(window().saveProject());
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].text, "Saving project failed.");
    EXPECT_EQ(fileBytes(m_archive), m_bytes);
}

TEST_F(MainWindowLifecycleTest, OpeningIsCancelledSilentlyAndRefusesToClose)
{
    const QString archive = makeArchive("x");
    FakeTool unzip("unzip", "exec sleep 30");
    bool closed = true;
    int cursor = -1;
    WaitDialogCanceller canceller([&] {
        cursor = overrideCursorShape();
        closed = window().close();
    });
    Script script;
    window().openProject(archive);
    EXPECT_TRUE(canceller.cancelled());
    EXPECT_EQ(cursor, Qt::WaitCursor);
    EXPECT_EQ(overrideCursorShape(), -1);
    EXPECT_FALSE(closed) << "a close while opening is ignored";
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().project(), nullptr);
    EXPECT_TRUE(script.records().empty()) << "a cancel is not an error";
    EXPECT_EQ(window().windowTitle(), "Movarin");
}

TEST_F(MainWindowLifecycleTest, ArchivesThatCannotBeOpenedLeaveNoProject)
{
    const QString archive = makeArchive("x");
    guimisc::SettingsSupport::setValue("general/recentprojects", QStringList{file("gone.cmvn"), archive});
    struct Case {
        const char* name;
        QString path;
        QString message;
    };
    ASSERT_TRUE(writeFileBytes(file("y.cmvn"), "this is no zip archive\n"));
    QFile::copy(archive, file("x.emvn"));
    QFile::copy(archive, file("data.STL"));
    const QString windowError = "The project file does not contain a window of this project type.";
    const Case cases[] = {
        {"missing file", file("gone.cmvn"),
         "Project file " + file("gone.cmvn") + " does not exists."},
        {"text file", file("y.cmvn"), "Could not read project file " + file("y.cmvn") + "."},
        {"create-mode archive named as edit mode", file("x.emvn"), windowError},
        {"upper-case STL suffix is an archive", file("data.STL"), windowError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script script;
        window().openProject(c.path);
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].text, c.message);
        EXPECT_EQ(window().project(), nullptr);
        EXPECT_TRUE(window().mdiArea()->subWindowList().isEmpty());
        EXPECT_EQ(window().windowTitle(), "Movarin");
        EXPECT_FALSE(recentProjects().contains(c.path));
    }
    EXPECT_EQ(recentProjects(), QStringList{archive}) << "only the missing file left the list";
    // Nothing of the failed projects stays in the workspace.
    EXPECT_TRUE(folderEntries(workspaceFolder()).isEmpty());
}

// Files that cannot be project archives are refused before the open project is given up:
// no question about saving it, and it stays with its windows and its changes.
TEST_F(MainWindowLifecycleTest, FileThatIsNoProjectArchiveKeepsTheOpenProject)
{
    ASSERT_TRUE(writeFileBytes(file("notes.cmvn"), "a text file renamed\n"));
    QFile::copy(QStringLiteral(MOVARIN_SHARED_DATA_DIR "/real/stl/numpystl_ascii_Moon.stl"),
                file("surface"));
    zipOneMember(file("other.emvn"), "readme.txt", "no project here\n");

    window().newCreateProject();
    const Project* open = window().project();
    modify();
    const QString readError = "Could not read project file %1.";
    const std::pair<QString, QString> cases[] = {
        {file("notes.cmvn"), readError.arg(file("notes.cmvn"))},
        {file("surface"), readError.arg(file("surface"))},
        {file("other.emvn"), readError.arg(file("other.emvn"))},
        {file("gone.emvn"), "Project file " + file("gone.emvn") + " does not exists."},
    };
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(path.toStdString());
        Script script;
        window().openProject(path);
        ASSERT_EQ(script.records().size(), 1u) << "one message, no question about saving";
        EXPECT_EQ(script.records()[0].text, message);
        EXPECT_EQ(window().project(), open);
        EXPECT_TRUE(isModified());
        EXPECT_EQ(window().mdiArea()->subWindowList().size(), 1);
        EXPECT_EQ(window().windowTitle(), "Untitled - Movarin");
        EXPECT_TRUE(window().actionManager()->action("Save")->isEnabled());
    }
    EXPECT_TRUE(recentProjects().isEmpty());
}

// An archive that passes the first look but does not load leaves no project, and the window
// then offers what it offers at start.
TEST_F(MainWindowLifecycleTest, FailedOpenLeavesTheActionsOfNoProject)
{
    const QString archive = makeArchive("x");
    QFile::copy(archive, file("x.emvn"));
    window().newCreateProject();
    Script script;
    window().openProject(file("x.emvn"));
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(window().project(), nullptr);
    MainWindowActionManager* manager = window().actionManager();
    EXPECT_EQ(manager->mode(), MainWindowActionManager::NoProject);
    for (const char* title : {"Edit", "View", "Tool", "Import", "Export", "Add/Import"}) {
        EXPECT_FALSE(manager->menu(title)->menuAction()->isEnabled()) << title;
    }
    for (const char* name : {"Save", "Save As", "Property", "Fit", "Focus Main Window"}) {
        EXPECT_FALSE(manager->action(name)->isEnabled()) << name;
    }
    for (const char* name : {"Open", "New Project", "Preferences"}) {
        EXPECT_TRUE(manager->action(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(menuTexts(manager->menu("File")).contains("Save as Edit mode project"));
}

TEST_F(MainWindowLifecycleTest, DamagedProjectFileShowsItsErrorAndClosesTheProject)
{
    zipOneMember(file("broken.cmvn"), "project.xml",
                 "<?xml version=\"1.0\"?>\n<Project version=\"1.0\"><Windows>");

    Script script;
    window().openProject(file("broken.cmvn"));
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Error");
    EXPECT_FALSE(script.messageBoxes()[0].text.isEmpty());
    EXPECT_EQ(window().project(), nullptr);
    EXPECT_TRUE(recentProjects().isEmpty());
}

// The file dialogs start where the user last opened or saved a project.
TEST_F(MainWindowLifecycleTest, FileDialogsStartInTheFolderOfTheLastOpenOrSave)
{
    const QString opened = file("opened");
    const QString saved = file("saved");
    ASSERT_TRUE(QDir().mkpath(opened));
    ASSERT_TRUE(QDir().mkpath(saved));
    const QString archive = makeArchive("x");
    ASSERT_TRUE(QFile::rename(archive, opened + "/x.cmvn"));

    Script script;
    script.answerFile(opened + "/x.cmvn");
    window().openProject();
    ASSERT_NE(window().project(), nullptr);
    script.answerCancel();
    window().openProject();
    EXPECT_EQ(script.records().back().kind, guimisc::UserDialogs::Kind::OpenFileName);
    EXPECT_EQ(QDir(script.records().back().directory), QDir(opened)) << "after an open";

    script.answerFile(saved + "/y");
    ASSERT_TRUE(window().saveProjectAs());
    script.answerCancel();
    window().saveProjectAs();
    EXPECT_EQ(script.records().back().kind, guimisc::UserDialogs::Kind::SaveFileName);
    EXPECT_EQ(QDir(script.records().back().directory), QDir(saved)) << "after a save";
    script.answerCancel();
    window().openProject();
    EXPECT_EQ(QDir(script.records().back().directory), QDir(saved));
    EXPECT_TRUE(script.messageBoxes().empty());
}

TEST_F(MainWindowLifecycleTest, RecentProjectsKeepTenNewestFirstAndOpenFromTheMenu)
{
    window().newCreateProject();
    QStringList saved;
    for (int i = 0; i < 11; ++i) {
        saved.prepend(saveAs(QStringLiteral("p%1").arg(i)));
    }
    EXPECT_EQ(recentProjects(), saved.mid(0, 10));

    saveAs("p4");
    QStringList expected = saved.mid(0, 10);
    expected.removeAll(file("p4.cmvn"));
    expected.prepend(file("p4.cmvn"));
    EXPECT_EQ(recentProjects(), expected) << "a path saved again moves to the top, once";

    QMenu* menu = window().actionManager()->recentProjectsMenu();
    emit menu->aboutToShow();
    const QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 10);
    EXPECT_EQ(entries[0]->text(), "&1 " + QDir::toNativeSeparators(file("p4.cmvn")));
    EXPECT_EQ(entries[9]->text(), "&10 " + QDir::toNativeSeparators(expected[9]));
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().size(), 10) << "the menu is rebuilt, not appended to";

    Script script;
    menu->actions()[2]->trigger();
    ASSERT_NE(window().project(), nullptr);
    EXPECT_EQ(window().project()->filename(), expected[2]);
    EXPECT_EQ(recentProjects().value(0), expected[2]);
    EXPECT_TRUE(script.messageBoxes().empty());
}

TEST_F(MainWindowLifecycleTest, SaveAsEditModeStopsWithoutLosingTheProject)
{
    window().newCreateProject();
    modify();
    {
        SCOPED_TRACE("No, then the save dialog is cancelled");
        Script script;
        script.answer(QMessageBox::No).answerCancel();
        EXPECT_FALSE(window().saveProjectAsEdit());
        ASSERT_EQ(script.records().size(), 2u);
        EXPECT_EQ(script.records()[0].text,
                  "This Project is modified. Do you want to save it before migrating to Edit mode?");
        EXPECT_EQ(script.records()[1].filter, "project file (*.emvn)");
        ASSERT_NE(window().project(), nullptr);
        EXPECT_TRUE(isModified());
    }
    {
        SCOPED_TRACE("No, a name, then no TIN to convert");
        Script script;
        script.answer(QMessageBox::No).answerFile(file("e"));
        EXPECT_FALSE(window().saveProjectAsEdit());
        ASSERT_EQ(script.messageBoxes().size(), 2u);
        EXPECT_EQ(script.messageBoxes()[1].title, "Warning");
        EXPECT_EQ(script.messageBoxes()[1].text, "No relevant data is found for Edit mode.");
        ASSERT_NE(window().project(), nullptr);
        EXPECT_TRUE(isModified());
        EXPECT_EQ(window().actionManager()->mode(), MainWindowActionManager::CreateMode);
        EXPECT_FALSE(QFile::exists(file("e.emvn")));
    }
    {
        SCOPED_TRACE("Commands that need a project do nothing without one");
        Script script;
        script.answer(QMessageBox::No);
        ASSERT_TRUE(window().closeProject());
        EXPECT_FALSE(window().saveProject());
        EXPECT_FALSE(window().saveProjectAs());
        EXPECT_FALSE(window().saveProjectAsEdit());
        window().focusBirdEyeWindow();
        window().showProjectPropertyDialog();
        window().calculateSoilVolumeDialog();
        EXPECT_EQ(script.records().size(), 1u);
    }
}

} // namespace
} // namespace varnel::test
