// The main window as the user first sees it with a new create-mode project, drawn by the X
// server: menus, tool bar, object browser and main view. The picture is kept in the build
// folder for a look.
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"

#include "support/ScratchSettings.h"

#include <QDir>
#include <QImage>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

TEST(MainWindowScreenshot, CreateModeProjectIsDrawnWhole)
{
    ScratchSettings scratch;
    MainWindow window;
    window.resize(1280, 800);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.newCreateProject();
    ASSERT_NE(window.project(), nullptr);
    QTest::qWait(200);

    const QImage image = window.grab().toImage();
    const QString folder = QStringLiteral(MOVARIN_BINARY_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(image.save(folder + QStringLiteral("/main-window-create-mode.png")));

    const QImage saved(folder + QStringLiteral("/main-window-create-mode.png"));
    EXPECT_EQ(saved.size(), QSize(1280, 800));
    QSet<QRgb> colours;
    for (int y = 0; y < saved.height(); y += 2) {
        for (int x = 0; x < saved.width(); x += 2) {
            colours.insert(saved.pixel(x, y));
        }
    }
    EXPECT_GE(colours.size(), 20) << "a blank or nearly blank window";
}

} // namespace
} // namespace varnel::test
