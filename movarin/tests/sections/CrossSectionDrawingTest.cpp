// Drawing cross sections with two clicks on the main view, through the folder's "Add": the
// section added as one undo step, a second press without a move, a press on the start, and
// Escape ending the tool.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionGroupItemController.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class CrossSectionDrawingTest : public SectionsTest {
protected:
    void startDrawing() const { groupController()->addAction()->trigger(); }
    QPointF world(const QPoint& pixel) const { return view()->rconv(pixel); }
};

TEST_F(CrossSectionDrawingTest, TwoClicksAddANamedSectionAsOneUndoStep)
{
    guimisc::UserDialogScript script;
    addSection(QStringLiteral("old"), {0.0, 0.0}, {1.0, 1.0});
    startDrawing();
    EXPECT_EQ(window()->model()->selectedItem(), group());

    const QPoint from(120, 80);
    const QPoint to(260, 200);
    mouse().click(from);
    mouse().move({200, 140});
    mouse().move(to);
    mouse().press(to);
    mouse().release(to);

    ASSERT_EQ(group()->crossSections().size(), 2u);
    CrossSectionItem* drawn = group()->crossSections().front();
    EXPECT_EQ(drawn->name(), "Cross section 2");
    EXPECT_EQ(drawn->caption(), "Cross section 2");
    EXPECT_EQ(QPointF(drawn->startX(), drawn->startY()), world(from));
    EXPECT_EQ(QPointF(drawn->endX(), drawn->endY()), world(to));
    EXPECT_EQ(window()->model()->selectedItem(), drawn);
    ASSERT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(undoStack()->undoText(), "Add new cross section data");

    undoStack()->undo();
    ASSERT_EQ(group()->crossSections().size(), 1u);
    EXPECT_EQ(group()->crossSections().front()->name(), "old");
    undoStack()->redo();
    ASSERT_EQ(group()->crossSections().size(), 2u);
    EXPECT_EQ(group()->crossSections().front()->name(), "Cross section 2");
    EXPECT_TRUE(script.messageBoxes().empty());
}

TEST_F(CrossSectionDrawingTest, ASecondPressWithoutAMoveReplacesTheFirstPoint)
{
    startDrawing();
    mouse().click({100, 100});
    mouse().click({100, 100});
    mouse().click({150, 120});
    EXPECT_TRUE(group()->crossSections().empty());
    EXPECT_EQ(undoStack()->count(), 0);

    // The tool goes on from the last press.
    mouse().move({200, 180});
    mouse().click({200, 180});
    ASSERT_EQ(group()->crossSections().size(), 1u);
    EXPECT_EQ(group()->crossSections().front()->startX(), world({150, 120}).x());
}

TEST_F(CrossSectionDrawingTest, APressOnTheStartWarnsAndKeepsTheLine)
{
    guimisc::UserDialogScript script;
    startDrawing();
    mouse().click({100, 100});
    mouse().move({180, 160});
    mouse().click({100, 100});
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Warning");
    EXPECT_EQ(script.messageBoxes()[0].text, "Cannot add the same position more than once.");
    EXPECT_TRUE(group()->crossSections().empty());

    mouse().click({180, 160});
    ASSERT_EQ(group()->crossSections().size(), 1u);
    EXPECT_EQ(group()->crossSections().front()->startX(), world({100, 100}).x());
}

TEST_F(CrossSectionDrawingTest, EscapeDropsTheLineThenEndsTheTool)
{
    startDrawing();
    mouse().click({100, 100});
    mouse().move({180, 160});
    mouse().key(Qt::Key_Escape);
    mouse().click({180, 160});
    EXPECT_TRUE(group()->crossSections().empty()) << "the line started anew";

    mouse().key(Qt::Key_Escape);
    mouse().key(Qt::Key_Escape);
    mouse().click({100, 100});
    mouse().move({180, 160});
    mouse().click({180, 160});
    EXPECT_TRUE(group()->crossSections().empty()) << "the tool has ended";
}

} // namespace
} // namespace varnel::test
