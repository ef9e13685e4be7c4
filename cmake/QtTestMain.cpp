// Entry point of the GoogleTest programs that need a QApplication.
//
// GoogleTest reads its flags first. Listing the tests (done at build time, where there
// may be no display) makes no application object; running them makes one, on the
// platform QT_QPA_PLATFORM names (offscreen for widget tests, xcb under xvfb-run).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
