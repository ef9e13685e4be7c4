// The program's start: the settings the main window reads and writes back, the folder of the
// file dialogs, the command line, the workspace check and the translation files.
#include "MainWindowTestSupport.h"

#include "movarin/shell/ApplicationStartup.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/SettingsKeys.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"
#include "support/TerrainStl.h"

#include <guimisc/SettingsSupport.h>
#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogScript.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QCoreApplication>
#include <QDialog>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using Script = guimisc::UserDialogScript;

class MainWindowStartupTest : public ScratchSettingsTest {};

TEST_F(MainWindowStartupTest, FirstStartFillsTheStoreWithTheDefaults)
{
    {
        MainWindow window;
        QSettings store;
        QStringList expectedKeys{"General/locale", "General/workspace"};
        for (const settings::StartupSetting& setting : settings::startupSettings()) {
            SCOPED_TRACE(setting.key);
            expectedKeys << guimisc::SettingsSupport::storedKey(setting.key);
            ASSERT_TRUE(guimisc::SettingsSupport::contains(setting.key));
            EXPECT_EQ(guimisc::SettingsSupport::value(setting.key).toString(),
                      setting.defaultValue.toString());
        }
        QStringList keys = store.allKeys();
        keys.sort();
        expectedKeys.sort();
        EXPECT_EQ(keys, expectedKeys);
        EXPECT_EQ(expectedKeys.size(), 13);
        EXPECT_EQ(guimisc::SettingsSupport::value("general/workspace").toString(),
                  settings::defaultWorkspace());
        // The language the preference page offers for the system's; the window keeps the
        // system locale until the next start.
        EXPECT_FALSE(guimisc::SettingsSupport::value("general/locale").toString().isEmpty());
        EXPECT_EQ(window.locale(), QLocale::system());
        EXPECT_EQ(window.windowTitle(), "Movarin");
    }
    // At exit the folder of the file dialogs is stored: the home folder on a first start.
    EXPECT_EQ(guimisc::SettingsSupport::value("general/lastiodir").toString(), QDir::homePath());
}

TEST_F(MainWindowStartupTest, StoredValuesStayAndTheLocaleIsTheStoredOne)
{
    {
        QSettings store;
        store.setValue("graphics/zscale", 3.5);
        store.setValue("font/angle_fontsize", 30);
        guimisc::SettingsSupport::setValue("general/locale", "ja_JP");
    }
    MainWindow window;
    EXPECT_DOUBLE_EQ(QSettings().value("graphics/zscale").toDouble(), 3.5);
    EXPECT_EQ(QSettings().value("font/angle_fontsize").toInt(), 30);
    EXPECT_EQ(window.locale().name(), "ja_JP");
    EXPECT_FALSE(guimisc::SettingsSupport::contains("general/workspace")) << "no first start, no preference pass";
}

TEST_F(MainWindowStartupTest, LastFolderOfTheFileDialogsIsCheckedAndStoredAtExit)
{
    QTemporaryDir gone;
    const QString goneFolder = gone.path();
    gone.remove();
    guimisc::SettingsSupport::setValue("general/lastiodir", goneFolder);
    QTemporaryDir used;
    {
        MainWindow window;
        EXPECT_EQ(guimisc::LastIODirectory::get(), QDir::homePath());
        EXPECT_EQ(guimisc::SettingsSupport::value("general/lastiodir").toString(), goneFolder)
            << "nothing is stored before the exit";
        guimisc::LastIODirectory::set(used.path());
    }
    EXPECT_EQ(guimisc::SettingsSupport::value("general/lastiodir").toString(), used.path());

    // A folder that exists is used as it is.
    MainWindow window;
    EXPECT_EQ(guimisc::LastIODirectory::get(), used.path());
}

class CommandLineTest : public MainWindowTest {};

TEST_F(CommandLineTest, FirstArgumentWithoutDashIsOpened)
{
    const QString a = makeArchive("a");
    QFile::copy(a, file("b.emvn"));
    Script script;
    ModalAnswerer answerer([](QWidget*) {}, 5);
    ApplicationStartup::openFromArguments(window(), {"movarin", "-foo", a, file("b.emvn")});
    ASSERT_NE(window().project(), nullptr);
    EXPECT_EQ(window().project()->filename(), a);
    EXPECT_TRUE(script.records().empty()) << "b.emvn is not opened (it would fail)";
    EXPECT_FALSE(answerer.answered()) << "no start page";
}

TEST_F(CommandLineTest, OnlyOptionsShowTheStartPage)
{
    ModalAnswerer answerer([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    ApplicationStartup::openFromArguments(window(), {"movarin", "-a", "-b"});
    EXPECT_TRUE(answerer.answered());
    EXPECT_EQ(answerer.answeredClassName(), "varnel::StartPageDialog");
    EXPECT_EQ(window().project(), nullptr);
}

TEST_F(CommandLineTest, StartPageChoicesReachTheWindow)
{
    const QString archive = makeArchive("a");
    ModalAnswerer answerer([](QWidget* modal) {
        QMetaObject::invokeMethod(modal, "handleNewCreateProjectButtonClick");
    });
    window().openStartDialog();
    EXPECT_TRUE(answerer.answered());
    ASSERT_NE(window().project(), nullptr);
    EXPECT_TRUE(window().project()->filename().isEmpty()) << "a new create-mode project";
}

TEST_F(MainWindowStartupTest, NonAsciiWorkspaceOnlyWarns)
{
    const QString workspace = QDir::home().absoluteFilePath(QString::fromUtf8("作業"));
    {
        QSettings store;
        guimisc::SettingsSupport::setValue("general/workspace", workspace);
        guimisc::SettingsSupport::setValue("general/locale", "en_US");
    }
    MainWindow window;
    window.show();
    QTemporaryDir files;
    TerrainStl::write(files.filePath("s.stl"));

    Script script;
    ModalAnswerer answerer([](QWidget*) {}, 5);
    ApplicationStartup::openFromArguments(window, {"movarin", files.filePath("s.stl")});
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Warning");
    EXPECT_EQ(script.records()[0].text,
              "Current working directory (" + QDir::toNativeSeparators(workspace)
                  + ") contains non-ASCII characters. Before starting a new project, change "
                    "working directory from the following menu: \nOption -> Preferences");
    EXPECT_EQ(window.project(), nullptr);
    EXPECT_FALSE(answerer.answered()) << "no start page";

    ApplicationStartup::openFromArguments(window, {"movarin"});
    EXPECT_EQ(script.records().size(), 2u);
    EXPECT_FALSE(answerer.answered());
}

TEST(ApplicationStartup, TranslationFilesNeedTheWholeLocaleName)
{
    QTemporaryDir folder;
    for (const char* name : {"movarin_ja_JP.qm", "brask_ja_JP.qm", "movarin_ja.qm",
                             "movarin_en_US.qm", "movarin_ja_JP.qm.bak"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder_ja_JP.qm"));

    QStringList files = ApplicationStartup::translationFiles(folder.path(), "ja_JP");
    files.sort();
    EXPECT_EQ(files, QStringList({folder.filePath("brask_ja_JP.qm"),
                                  folder.filePath("movarin_ja_JP.qm")}));
    EXPECT_TRUE(ApplicationStartup::translationFiles(folder.filePath("none"), "ja_JP").isEmpty());
    EXPECT_EQ(QDir(ApplicationStartup::translationsFolder()).dirName(), "languages");

    // Files that are no translations are installed and translate nothing.
    const int translators = QCoreApplication::instance()->findChildren<QTranslator*>().size();
    ApplicationStartup::installTranslations(*QCoreApplication::instance(), folder.path(), "ja_JP");
    const QList<QTranslator*> installed = QCoreApplication::instance()->findChildren<QTranslator*>();
    EXPECT_EQ(installed.size(), translators + 2);
    EXPECT_EQ(QCoreApplication::translate("MainWindow", "Movarin"), "Movarin");
    for (QTranslator* translator : installed) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace
} // namespace varnel::test
