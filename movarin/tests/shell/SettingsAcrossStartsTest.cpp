// The settings one start of the program leaves the next: the language and the working
// directory chosen in the preferences, the recent projects and the folder of the file
// dialogs. Each start is a process of its own (the startup probe) on one settings store.
#include "MainWindowTestSupport.h"
#include "ProjectTestSupport.h"

#include "movarin/shell/PreferenceDialog.h"

#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include <guimisc/UserDialogScript.h>
#include <guimisc/widget/DirnameEditWidget.h>

#include <QComboBox>
#include <QDir>
#include <QMultiMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class SettingsAcrossStartsTest : public ScratchSettingsTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_files.isValid());
        ScratchSettings::writeStartupDefaults();
    }

    // One start of the program in `folder` with `arguments`; its lines as key and value.
    QMultiMap<QString, QString> start(const QString& folder, const QStringList& arguments = {})
    {
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_scratch.homePath());
        environment.insert("XDG_CONFIG_HOME", m_scratch.homePath() + "/.config");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        probe.setProcessEnvironment(environment);
        probe.setWorkingDirectory(folder);
        probe.start(QStringLiteral(MOVARIN_STARTUP_PROBE), arguments);
        EXPECT_TRUE(probe.waitForFinished(60000));
        EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().constData();
        QMultiMap<QString, QString> values;
        for (const QString& line :
             QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
            values.insert(line.section('=', 0, 0), line.section('=', 1));
        }
        return values;
    }
    // The smallest create-mode archive that opens.
    QString makeArchive(const QString& name)
    {
        QTemporaryDir content;
        EXPECT_TRUE(writeFileBytes(content.filePath("project.xml"),
                                 "<Project version=\"1.0\"><Property/><Windows>"
                                 "<Window name=\"createMainWindow\"/></Windows></Project>\n"));
        QProcess zip;
        zip.setWorkingDirectory(content.path());
        zip.start("zip", {"-q", m_files.filePath(name), "project.xml"});
        EXPECT_TRUE(zip.waitForFinished(30000));
        return m_files.filePath(name);
    }

    QTemporaryDir m_files;
};

TEST_F(SettingsAcrossStartsTest, EachStartSeesWhatTheEarlierOnesStored)
{
    // Chosen in the preferences of this process and written to the store.
    const QString workspace = m_scratch.homePath() + "/projects/space";
    {
        PreferenceDialog dialog;
        auto language = dialog.findChild<QComboBox*>("languageComboBox");
        language->setCurrentIndex(language->findData("ja_JP"));
        dialog.findChild<guimisc::widget::DirnameEditWidget*>("workingDirectoryEdit")
            ->setDirname(workspace);
        guimisc::UserDialogScript script;
        ASSERT_TRUE(dialog.apply());
        QSettings().sync();
    }
    const QString archive = makeArchive("river.cmvn");

    // Opened by a relative name, as from a shell in the archive's folder.
    const auto first = start(m_files.path(), {"river.cmvn"});
    EXPECT_EQ(first.value("locale"), "ja_JP");
    EXPECT_EQ(first.value("workspace"), workspace);
    EXPECT_EQ(first.value("project"), archive);
    EXPECT_EQ(first.value("boxes"), "0");
    EXPECT_EQ(first.values("recent"), QStringList{archive});

    const auto second = start(QDir::rootPath());
    EXPECT_EQ(second.value("locale"), "ja_JP");
    EXPECT_EQ(second.value("workspace"), workspace);
    EXPECT_EQ(second.values("recent"), QStringList{archive});
    EXPECT_EQ(second.value("lastiodir"), m_files.path());
    EXPECT_EQ(second.value("boxes"), "0");

    // The same file by another name is the same entry.
    const QString sub = m_files.filePath("sub");
    ASSERT_TRUE(QDir().mkpath(sub));
    EXPECT_EQ(start(sub, {"../river.cmvn"}).values("recent"), QStringList{archive});
}

} // namespace
} // namespace varnel::test
