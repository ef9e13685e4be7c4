// The main tool bar reports each time it is hidden or shown, so a menu check mark follows it.
#include "movarin/shell/ToolBar.h"

#include <QAction>
#include <QMainWindow>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

TEST(ToolBar, ReportsHidingAndShowing)
{
    QMainWindow window;
    auto toolBar = new ToolBar("Main ToolBar", &window);
    window.addToolBar(toolBar);
    EXPECT_EQ(toolBar->iconSize(), QSize(16, 16));
    EXPECT_EQ(toolBar->windowTitle(), "Main ToolBar");

    // The View menu's entry, bound as the main window binds it.
    QAction viewEntry("Main Toolbar");
    viewEntry.setCheckable(true);
    QObject::connect(&viewEntry, &QAction::triggered, toolBar, &QWidget::setVisible);
    QObject::connect(toolBar, &ToolBar::visibilityChanged, &viewEntry, &QAction::setChecked);

    QSignalSpy spy(toolBar, &ToolBar::visibilityChanged);
    window.show();
    ASSERT_EQ(spy.size(), 1);
    EXPECT_TRUE(spy.takeFirst().at(0).toBool());
    EXPECT_TRUE(viewEntry.isChecked());

    toolBar->hide();
    ASSERT_EQ(spy.size(), 1);
    EXPECT_FALSE(spy.takeFirst().at(0).toBool());
    EXPECT_FALSE(viewEntry.isChecked());

    toolBar->show();
    ASSERT_EQ(spy.size(), 1);
    EXPECT_TRUE(spy.takeFirst().at(0).toBool());

    // Closing it from the tool-bar area's context menu, then checking the entry again.
    toolBar->toggleViewAction()->trigger();
    EXPECT_FALSE(toolBar->isVisible());
    EXPECT_FALSE(viewEntry.isChecked());
    viewEntry.trigger();
    EXPECT_TRUE(toolBar->isVisible());
    EXPECT_TRUE(viewEntry.isChecked());
}

} // namespace
} // namespace varnel::test
