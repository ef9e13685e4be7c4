// Settings keys of the group "general", stored where the next process reads them back. (The
// program's own starts are run against each other in the shell's tests.)
#include "TestSupport.h"
#include "guimisc/SettingsSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

using guimisc::SettingsSupport;

TEST(SettingsSupport, GeneralKeysAreReadWhereAnEarlierProcessLeftThem)
{
    EXPECT_EQ(SettingsSupport::storedKey("generals/x"), "generals/x");

    // The store as Qt's INI format leaves it after an earlier process wrote "general/...";
    // this process has not read the file yet, so no cache stands in for it.
    QCoreApplication::setOrganizationName(QStringLiteral("MovarinTests"));
    QCoreApplication::setApplicationName(QStringLiteral("hobrin_settings"));
    const QString path = QSettings().fileName();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    ASSERT_TRUE(hobrintest::writeFile(path, "[%General]\nlocale=ko_KR\n"
                                            "recentprojects=/river/a b.cmvn, /river/c.emvn\n"));
    EXPECT_EQ(SettingsSupport::value("general/locale").toString(), "ko_KR");
    EXPECT_EQ(SettingsSupport::value("general/recentprojects").toStringList(),
              QStringList({"/river/a b.cmvn", "/river/c.emvn"}));

    SettingsSupport::setValue("general/locale", "ja_JP");
    QSettings().sync();
    EXPECT_EQ(hobrintest::readFile(path).count("[%General]"), 1);
    SettingsSupport::remove("general/locale");
    EXPECT_FALSE(SettingsSupport::contains("general/locale"));
}
