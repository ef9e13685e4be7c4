// Entry point of the GoogleTest programs that need a QApplication.
//
// GoogleTest reads its flags first. Listing the tests (done at build time, where there
// may be no display) makes no application object; running them makes one, on the
// platform QT_QPA_PLATFORM names (offscreen for widget tests, xcb under xvfb-run).
// Every program runs with an empty settings store and home folder of its own, removed at
// the end, so that no test reads or writes the user's settings.
//
// No test waits on a window nobody answers: a message box, file dialog or colour dialog
// asked through guimisc::UserDialogs while no test script is installed fails the running
// test at once, naming what was asked, and is answered as Escape would answer it (a file or
// colour dialog cancelled); see UserDialogs::setUnansweredHandler. A test's own
// UserDialogScript answers while it lives; the program itself shows real boxes.
#include <guimisc/UserDialogs.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <link.h>

#include <string>
#include <vector>

namespace {

// Mesa unloads its DRI driver when the X display closes, and what the driver holds in its
// globals until then is reported as leaked, in frames of a module that is gone (they show as
// unknown, or under a neighbouring library's name). Marked never to be unloaded, the driver
// keeps that memory reachable, as in a program that ends without closing the display.
void keepGraphicsDriversLoaded()
{
    std::vector<std::string> drivers;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found) {
            const std::string name = info->dlpi_name ? info->dlpi_name : "";
            if (name.find("/dri/") != std::string::npos) {
                static_cast<std::vector<std::string>*>(found)->push_back(name);
            }
            return 0;
        },
        &drivers);
    for (const std::string& driver : drivers) {
        dlopen(driver.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
}

} // namespace
#endif

namespace {

const char* kindName(guimisc::UserDialogs::Kind kind)
{
    using Kind = guimisc::UserDialogs::Kind;
    switch (kind) {
    case Kind::Information:
        return "information box";
    case Kind::Warning:
        return "warning box";
    case Kind::Critical:
        return "critical box";
    case Kind::Question:
        return "question box";
    case Kind::OpenFileName:
    case Kind::OpenFileNames:
        return "open-file dialog";
    case Kind::SaveFileName:
        return "save-file dialog";
    case Kind::ExistingDirectory:
        return "folder dialog";
    case Kind::Color:
        return "colour dialog";
    }
    return "dialog";
}

// A dialog asked while no test script answers: the running test fails, saying what it was.
void failUnanswered(guimisc::UserDialogs::Kind kind, const QString& title, const QString& text)
{
    ADD_FAILURE() << "A " << kindName(kind) << " that no test script answers was asked: title \""
                  << title.toStdString() << "\", text \"" << text.toStdString() << "\"";
}

} // namespace

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
    guimisc::UserDialogs::setUnansweredHandler(&failUnanswered);
    const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
    keepGraphicsDriversLoaded();
#endif
    return result;
}
