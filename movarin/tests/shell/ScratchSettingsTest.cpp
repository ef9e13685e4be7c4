// The scratch store every shell test relies on: each test starts empty, in its own home.
#include "support/ScratchSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

QString firstHome;

TEST(ScratchSettings, EachTestHasItsOwnEmptyStoreAndHome)
{
    for (int round = 0; round < 2; ++round) {
        ScratchSettings scratch;
        EXPECT_EQ(QDir::homePath(), scratch.homePath());
        EXPECT_NE(scratch.homePath(), firstHome);
        EXPECT_TRUE(QSettings().allKeys().isEmpty());
        {
            QSettings settings;
            settings.setValue("general/locale", "ja_JP");
            settings.sync();
            EXPECT_EQ(settings.fileName(), scratch.settingsFilePath());
        }
        EXPECT_TRUE(QFile::exists(scratch.settingsFilePath()));
        firstHome = scratch.homePath();
    }
    EXPECT_NE(QDir::homePath(), firstHome);
}

} // namespace
} // namespace varnel::test
