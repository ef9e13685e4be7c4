// Packing with a zip tool that fails: fakes placed first on PATH exit with an error, kill
// themselves, write half an archive, take their time or are missing. The earlier archive
// must stay byte for byte and nothing of the attempt may be left in the workspace.

#include "BraskTestSupport.h"

#include "guimisc/UserDialogScript.h"
#include "guimisc/dialog/WaitDialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace brasktest;

namespace {

// Names and contents of an archive's members as unzip gives them back. Two packs of one tree
// differ in their bytes when a file was read in between: zip stores each member's access time.
QByteArray membersOf(const QString& archive)
{
    QProcess names;
    names.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    names.waitForFinished();
    QProcess contents;
    contents.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive});
    contents.waitForFinished();
    return names.readAllStandardOutput() + contents.readAllStandardOutput();
}

guimisc::dialog::WaitDialog* visibleWaitDialog(QString* message = nullptr)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto dialog = qobject_cast<guimisc::dialog::WaitDialog*>(widget);
        if (dialog && dialog->isVisible()) {
            if (message) {
                message->clear();
                for (QLabel* label : dialog->findChildren<QLabel*>()) {
                    *message += label->text();
                }
            }
            return dialog;
        }
    }
    return nullptr;
}

class ArchiveFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_bin = m_dir.filePath(QStringLiteral("bin"));
        ASSERT_TRUE(QDir().mkdir(m_bin));
        m_oldPath = qgetenv("PATH");
        m_window = std::make_unique<TestMainWindow>(QStringLiteral("faultspace"));
        m_project = std::make_unique<TestProject>(m_dir.filePath(QStringLiteral("work")),
                                                  m_window.get());
        TestItem* item = m_project->root()->addTopLevel(QStringLiteral("points"));
        item->setFilename("points.bin");
        item->payload = "some points";
        ASSERT_TRUE(m_project->save());

        // A good archive made by the real tool is what a failed pack must not harm.
        m_archive = m_dir.filePath(QStringLiteral("river.cmvn"));
        ASSERT_TRUE(m_project->zipTo(m_archive));
        m_good = readFile(m_archive);
        ASSERT_FALSE(m_good.isEmpty());
    }
    void TearDown() override
    {
        qputenv("PATH", m_oldPath);
        m_project.reset();
        EXPECT_TRUE(workspaceEntries().isEmpty()) << workspaceEntries().join(' ').toStdString();
        m_window.reset();
    }

    // Puts a fake "zip" running `body` (a shell script) first on PATH.
    void fakeZip(const QByteArray& body, bool alone = false)
    {
        QFile script(QDir(m_bin).filePath(QStringLiteral("zip")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + body + "\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup
                              | QFileDevice::ExeOther);
        qputenv("PATH", alone ? QFile::encodeName(m_bin)
                              : QFile::encodeName(m_bin) + ":" + m_oldPath);
    }
    QStringList workspaceEntries() const
    {
        return m_window->workspace()->workspace().entryList(QDir::AllEntries
                                                            | QDir::NoDotAndDotDot
                                                            | QDir::Hidden);
    }
    void expectOldArchiveAndNoLeftovers()
    {
        EXPECT_EQ(readFile(m_archive), m_good);
        EXPECT_TRUE(workspaceEntries().isEmpty()) << workspaceEntries().join(' ').toStdString();
        EXPECT_EQ(m_project->filename(), m_archive);
    }

    QTemporaryDir m_dir;
    QString m_bin;
    QByteArray m_oldPath;
    std::unique_ptr<TestMainWindow> m_window;
    std::unique_ptr<TestProject> m_project;
    QString m_archive;
    QByteArray m_good;
};

} // namespace

TEST_F(ArchiveFaultTest, AToolThatFailsOrDiesLeavesTheOldArchive)
{
    // $2 is the archive; the tool's own temporary file lies beside it.
    const QByteArray failures[] = {
        "exit 1",
        "echo x > \"$(dirname \"$2\")/ziAb12Cd\"\nkill -9 $$",
        "printf 'PK\\003\\004half' > \"$2\"\necho x > \"$(dirname \"$2\")/ziaXYZ\"\nexit 2",
    };
    for (const QByteArray& body : failures) {
        fakeZip(body);
        EXPECT_FALSE(m_project->zipTo(m_archive)) << body.constData();
        expectOldArchiveAndNoLeftovers();
    }
}

TEST_F(ArchiveFaultTest, AnEmptyArchiveFromATrustingToolIsNoSuccess)
{
    fakeZip(": > \"$2\"\nexit 0");
    EXPECT_FALSE(m_project->zipTo(m_archive));
    expectOldArchiveAndNoLeftovers();
}

TEST_F(ArchiveFaultTest, AMissingToolFailsAtOnce)
{
    fakeZip("exit 0", true);
    QFile::remove(QDir(m_bin).filePath(QStringLiteral("zip")));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(m_project->zipTo(m_archive));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(visibleWaitDialog(), nullptr);
    expectOldArchiveAndNoLeftovers();
}

TEST_F(ArchiveFaultTest, ASlowToolGetsTheWaitDialogOnlyAfterThreeSeconds)
{
    fakeZip("sleep 5\nexec \"$REAL_ZIP\" \"$@\"");
    qputenv("REAL_ZIP", "/usr/bin/zip");
    m_project->mainfile()->setModified(true);
    bool dialogEarly = true;
    QString message;
    // Timers fire only while the project turns the event loop: the first one once the
    // first three seconds of waiting are over, the second one while the dialog shows.
    QTimer::singleShot(1000, [&] { dialogEarly = visibleWaitDialog() != nullptr; });
    QTimer::singleShot(3500, [&] { visibleWaitDialog(&message); });
    EXPECT_TRUE(m_project->zipTo(m_archive));
    qunsetenv("REAL_ZIP");
    EXPECT_FALSE(dialogEarly);
    EXPECT_EQ(message, QStringLiteral("Saving project file..."));
    EXPECT_EQ(visibleWaitDialog(), nullptr);
    EXPECT_FALSE(readFile(m_archive).isEmpty());
}

TEST_F(ArchiveFaultTest, CancellingTheWaitKillsTheToolAndKeepsTheOldArchive)
{
    fakeZip("exec sleep 60");
    QElapsedTimer clock;
    qint64 cancelledAt = -1;
    QTimer::singleShot(3500, [&] {
        if (auto dialog = visibleWaitDialog()) {
            cancelledAt = clock.elapsed();
            dialog->reject();
        }
    });
    clock.start();
    EXPECT_FALSE(m_project->zipTo(m_archive));
    ASSERT_GE(cancelledAt, 0) << "no wait dialog was shown";
    EXPECT_LT(clock.elapsed() - cancelledAt, 1000);
    EXPECT_FALSE(m_project->zipFailureReported()) << "a cancel tells the user nothing";
    expectOldArchiveAndNoLeftovers();
}

TEST_F(ArchiveFaultTest, ATargetTakenByAFolderCannotBeOverwritten)
{
    const QString folder = m_dir.filePath(QStringLiteral("taken.cmvn"));
    ASSERT_TRUE(QDir().mkdir(folder));
    guimisc::UserDialogScript script;
    EXPECT_FALSE(m_project->zipTo(folder));
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].kind, guimisc::UserDialogs::Kind::Critical);
    EXPECT_EQ(script.records()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(script.records()[0].text,
              QStringLiteral("Could not overwrite %1.").arg(QDir::toNativeSeparators(folder)));
    EXPECT_TRUE(m_project->zipFailureReported()) << "the caller adds no second box";
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(m_project->filename(), m_archive);
    ASSERT_TRUE(m_project->zipTo(m_archive));
    EXPECT_FALSE(m_project->zipFailureReported());
}

TEST_F(ArchiveFaultTest, AnArchiveOnAnotherFileSystemIsReplacedWhole)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/brask-XXXXXX"));
    struct stat here {};
    struct stat there {};
    if (!other.isValid() || ::stat(QFile::encodeName(m_dir.path()).constData(), &here) != 0
        || ::stat(QFile::encodeName(other.path()).constData(), &there) != 0
        || here.st_dev == there.st_dev) {
        GTEST_SKIP() << "no second file system at /dev/shm";
    }
    const QString archive = other.filePath(QStringLiteral("river.cmvn"));
    {
        QFile old(archive);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older archive");
    }
    ASSERT_TRUE(m_project->zipTo(archive));
    EXPECT_EQ(membersOf(archive), membersOf(m_archive)) << "the same tree packs to the same members";
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"river.cmvn"}));
}
