// Settings keys of the group "general": stored so that the next process reads them back.
#include "TestSupport.h"
#include "guimisc/SettingsSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

using guimisc::SettingsSupport;

TEST(SettingsSupport, GeneralKeysTakeTheSpellingTheIniStoreReadsBack)
{
    EXPECT_EQ(SettingsSupport::storedKey("general/locale"), "General/locale");
    EXPECT_EQ(SettingsSupport::storedKey("GENERAL/recentprojects"), "General/recentprojects");
    EXPECT_EQ(SettingsSupport::storedKey("General/a/b"), "General/a/b");
    for (const char* kept : {"graphics/zscale", "generals/x", "general", "x/general/y"}) {
        EXPECT_EQ(SettingsSupport::storedKey(kept), kept);
    }
}

TEST(SettingsSupport, WhatAnEarlierRunStoredIsReadAndKeptInOneSection)
{
    QCoreApplication::setOrganizationName(QStringLiteral("MovarinTests"));
    QCoreApplication::setApplicationName(QStringLiteral("hobrin_settings"));
    // The store as Qt's INI format leaves it after an earlier process wrote "general/...";
    // this process has not read the file yet, so nothing is cached.
    const QString path = QSettings().fileName();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    ASSERT_TRUE(hobrintest::writeFile(path, "[%General]\nlocale=ko_KR\n"
                                            "recentprojects=/river/a b.cmvn, /river/c.emvn\n"));
    EXPECT_EQ(SettingsSupport::value("general/locale").toString(), "ko_KR");
    EXPECT_EQ(SettingsSupport::value("general/recentprojects").toStringList(),
              QStringList({"/river/a b.cmvn", "/river/c.emvn"}));

    // Each start writes the keys again, as the program does.
    for (int start = 0; start < 2; ++start) {
        SettingsSupport::setValue("general/locale", "ja_JP");
        SettingsSupport::setValue("general/lastiodir", "/river");
        SettingsSupport::setValue("graphics/zscale", 2.5);
    }
    QSettings().sync();
    // Python's strict INI parser refuses a section that occurs twice.
    bool ok = false;
    const QByteArray parsed = hobrintest::run(
        "python3",
        {"-c",
         "import configparser, sys\n"
         "p = configparser.ConfigParser(strict=True, interpolation=None)\n"
         "p.read(sys.argv[1])\n"
         "print(' '.join(p.sections()))\n"
         "print(' '.join(sorted(p['%General'])), p['%General']['locale'])\n",
         path},
        &ok);
    EXPECT_TRUE(ok) << hobrintest::readFile(path).constData();
    EXPECT_EQ(parsed, "%General graphics\nlastiodir locale recentprojects ja_JP\n");

    SettingsSupport::remove("general/locale");
    EXPECT_FALSE(SettingsSupport::contains("general/locale"));
    EXPECT_EQ(SettingsSupport::value("general/locale", "none").toString(), "none");
}
