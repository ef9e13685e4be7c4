// Entry point of the GoogleTest programs that need a QApplication.
//
// GoogleTest reads its flags first. Listing the tests (done at build time, where there
// may be no display) makes no application object; running them makes one, on the
// platform QT_QPA_PLATFORM names (offscreen for widget tests, xcb under xvfb-run).
// Every program runs with an empty settings store and home folder of its own, removed at
// the end, so that no test reads or writes the user's settings.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        return 1;
    }
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
