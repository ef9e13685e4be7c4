// The window of a cross section: one per section in the MDI area, closed by hand, by
// deleting the section, by "Delete all" and by undoing the section's adding; commands
// destroyed later and a project closed with windows open delete nothing twice.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionGroupItemController.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"

#include "brask/window/ProjectMdiArea.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStandardItem>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class CrossSectionWindowTest : public SectionsTest {
protected:
    /// Opens the section's window through its menu entry; the window's sub-window.
    static QPointer<QMdiSubWindow> show(CrossSectionItem* section)
    {
        section->controller()->showAction()->trigger();
        return section->controller()->crossSectionSubWindow();
    }

    /// The sub-windows of the main window's MDI area that hold a section's window.
    int sectionWindowCount() const
    {
        int count = 0;
        for (QMdiSubWindow* sub : session().mainWindow().mdiArea()->subWindowList()) {
            count += qobject_cast<CrossSectionDialog*>(sub->widget()) ? 1 : 0;
        }
        return count;
    }

    /// Draws a section with the folder's tool; the new section.
    CrossSectionItem* draw(const QPoint& from, const QPoint& to)
    {
        groupController()->addAction()->trigger();
        mouse().click(from);
        mouse().move(to);
        mouse().click(to);
        return group()->crossSections().front();
    }
};

TEST_F(CrossSectionWindowTest, OneWindowPerSectionUntilClosed)
{
    CrossSectionItem* section = addSection(QStringLiteral("K1"), {0.0, 0.0}, {10.0, 0.0});
    const QPointer<QMdiSubWindow> sub = show(section);
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->windowTitle(), "Cross Section Window: K1");
    EXPECT_EQ(sub->mdiArea(), session().mainWindow().mdiArea());
    const QPointer<CrossSectionDialog> dialog = section->controller()->crossSectionDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->section(), section);
    EXPECT_EQ(show(section), sub) << "a second request raises the same window";
    EXPECT_EQ(sectionWindowCount(), 1);

    section->browserItem()->setText(QStringLiteral("K1 renamed"));
    EXPECT_EQ(sub->windowTitle(), "Cross Section Window: K1");

    sub->close();
    settle();
    EXPECT_FALSE(sub);
    EXPECT_FALSE(dialog);
    EXPECT_EQ(section->controller()->crossSectionDialog(), nullptr);

    // Escape in the window closes it as well.
    const QPointer<QMdiSubWindow> again = show(section);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->windowTitle(), "Cross Section Window: K1 renamed");
    section->controller()->crossSectionDialog()->reject();
    settle();
    EXPECT_FALSE(again);
    EXPECT_EQ(sectionWindowCount(), 0);
}

TEST_F(CrossSectionWindowTest, DeleteAndDeleteAllCloseTheWindows)
{
    guimisc::UserDialogScript script;
    script.answer(QMessageBox::Yes);
    CrossSectionItem* a = addSection(QStringLiteral("a"), {0.0, 0.0}, {10.0, 0.0});
    CrossSectionItem* b = addSection(QStringLiteral("b"), {0.0, 5.0}, {10.0, 5.0});
    QPointer<QMdiSubWindow> subA = show(a);
    a->controller()->deleteMeSilently();
    settle();
    EXPECT_FALSE(subA);
    undoStack()->undo();
    ASSERT_EQ(group()->crossSections().size(), 2u);
    EXPECT_EQ(sectionWindowCount(), 0) << "the undo brings the section back, not its window";

    subA = show(a);
    const QPointer<QMdiSubWindow> subB = show(b);
    groupController()->deleteAllAction()->trigger();
    settle();
    EXPECT_FALSE(subA);
    EXPECT_FALSE(subB);
    EXPECT_TRUE(group()->crossSections().empty());
    EXPECT_EQ(undoStack()->undoText(), "Delete all Cross sections");
}

TEST_F(CrossSectionWindowTest, UndoingTheAddingClosesTheWindowAndALaterPushDeletesTheSection)
{
    const QPointer<CrossSectionItem> drawn = draw({100, 100}, {200, 120});
    ASSERT_TRUE(drawn);
    const QPointer<QMdiSubWindow> sub = show(drawn);
    const QPointer<CrossSectionDialog> dialog = drawn->controller()->crossSectionDialog();
    undoStack()->undo();
    EXPECT_TRUE(group()->crossSections().empty());
    // A push before the event loop ran: the undone command goes with the section while
    // the window's deletion is still pending.
    draw({100, 200}, {200, 220});
    EXPECT_FALSE(drawn);
    settle();
    EXPECT_FALSE(sub);
    EXPECT_FALSE(dialog);
    ASSERT_EQ(group()->crossSections().size(), 1u);
    EXPECT_EQ(group()->crossSections().front()->name(), "Cross section 1");
}

TEST_F(CrossSectionWindowTest, ClosingAProjectWithWindowsOpenDeletesEachOnce)
{
    guimisc::UserDialogScript script;
    script.answer(QMessageBox::No); // in case "Save changes?" is asked
    // The main window's own project this time; the fixture's goes first, window and all.
    session().newEditProject();
    MainWindow& main = session().mainWindow();
    main.newEditProject();
    auto window = qobject_cast<EditModeMainWindow*>(main.project()->projectWindow());
    ASSERT_NE(window, nullptr);
    CrossSectionGroupItem* sections = window->model()->rootItem()->crossSectionGroupItem();
    std::vector<QPointer<QMdiSubWindow>> subs;
    for (int i = 0; i < 2; ++i) {
        CrossSectionItem* section = sections->buildCrossSection(
            QStringLiteral("s%1").arg(i), tin::core::Point(0.0, i), tin::core::Point(10.0, i));
        sections->attachChildAtBack(section);
        subs.emplace_back(show(section));
        ASSERT_TRUE(subs.back());
    }
    ASSERT_TRUE(main.closeProject());
    settle();
    for (const QPointer<QMdiSubWindow>& sub : subs) {
        EXPECT_FALSE(sub);
    }
    EXPECT_EQ(main.project(), nullptr);
}

} // namespace
} // namespace varnel::test
