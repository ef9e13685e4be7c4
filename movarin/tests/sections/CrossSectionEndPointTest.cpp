// Editing a section's end points on the main view: the pick distance, a drag committed as
// one undo step that undoes and redoes exactly and signals `changed`, a drop on the other
// end refused while the drag goes on, rubber-band selection, the working path after redo,
// and renaming in the browser.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"

#include "brask/core/View.h"

#include <guimisc/UserDialogScript.h>

#include <QSignalSpy>
#include <QStandardItem>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class CrossSectionEndPointTest : public SectionsTest {
protected:
    void SetUp() override
    {
        // End points on pixel positions, so that a drag onto a pixel lands exactly there.
        m_section =
            addSection(QStringLiteral("K1"), view()->rconv(S_PIXEL), view()->rconv(E_PIXEL));
        select(m_section);
    }

    QPointF start() const { return {m_section->startX(), m_section->startY()}; }
    QPointF end() const { return {m_section->endX(), m_section->endY()}; }
    CrossSectionItemController* controller() const { return m_section->controller(); }

    const QPoint S_PIXEL{100, 150};
    const QPoint E_PIXEL{300, 150};
    CrossSectionItem* m_section = nullptr;
};

TEST_F(CrossSectionEndPointTest, APressThreePixelsAwayDoesNotPickTheEnd)
{
    const QPointF before = end();
    for (const QPoint offset : {QPoint(3, 0), QPoint(0, -3), QPoint(3, 3)}) {
        mouse().drag(E_PIXEL + offset, E_PIXEL + offset + QPoint(20, 20));
        EXPECT_EQ(end(), before) << offset.x() << "," << offset.y();
        mouse().click(E_PIXEL + offset);
        mouse().key(Qt::Key_Return);
        EXPECT_EQ(end(), before);
    }
    EXPECT_EQ(undoStack()->count(), 0);

    mouse().drag(E_PIXEL + QPoint(2, -2), E_PIXEL + QPoint(22, 18));
    EXPECT_EQ(end(), view()->rconv(E_PIXEL + QPoint(20, 20)));
    EXPECT_EQ(undoStack()->count(), 1);
}

TEST_F(CrossSectionEndPointTest, DraggedEndUndoesAndRedoesExactly)
{
    QSignalSpy changed(controller(), &CrossSectionItemController::changed);
    const QPointF oldStart = start();
    const QPointF oldEnd = end();
    mouse().drag(E_PIXEL, E_PIXEL + QPoint(-40, 60));
    const QPointF newEnd = view()->rconv(E_PIXEL + QPoint(-40, 60));
    EXPECT_EQ(end(), newEnd);
    EXPECT_EQ(start(), oldStart);
    ASSERT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(undoStack()->undoText(), "Edit K1");
    EXPECT_EQ(changed.count(), 1);

    undoStack()->undo();
    EXPECT_EQ(end(), oldEnd);
    EXPECT_EQ(start(), oldStart);
    EXPECT_EQ(changed.count(), 2);
    undoStack()->redo();
    EXPECT_EQ(end(), newEnd);
    EXPECT_EQ(changed.count(), 3);

    // What the mode commits next is the section as it now is: Return after the undo
    // changes nothing.
    undoStack()->undo();
    mouse().key(Qt::Key_Return);
    EXPECT_EQ(end(), oldEnd);
    EXPECT_EQ(undoStack()->index(), 0);
}

TEST_F(CrossSectionEndPointTest, DropOnTheOtherEndIsRefusedAndTheDragGoesOn)
{
    guimisc::UserDialogScript script;
    mouse().press(E_PIXEL);
    mouse().move(S_PIXEL, Qt::LeftButton);
    mouse().release(S_PIXEL);
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].kind, guimisc::UserDialogs::Kind::Critical);
    EXPECT_EQ(script.messageBoxes()[0].title, "Error");
    EXPECT_EQ(script.messageBoxes()[0].text, "Cannot add the same position more than once.");
    EXPECT_EQ(undoStack()->count(), 0);
    EXPECT_EQ(end(), view()->rconv(E_PIXEL));

    mouse().move(S_PIXEL + QPoint(0, 30));
    mouse().release(S_PIXEL + QPoint(0, 30));
    EXPECT_EQ(end(), view()->rconv(S_PIXEL + QPoint(0, 30)));
    EXPECT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(script.messageBoxes().size(), 1u);
}

TEST_F(CrossSectionEndPointTest, RubberBandSelectsBothEndsForOneDrag)
{
    // A band around both ends, then a drag of the selection from inside its box.
    mouse().drag(S_PIXEL - QPoint(10, 10), E_PIXEL + QPoint(10, 10));
    EXPECT_EQ(undoStack()->count(), 0);
    const QPoint inside = (S_PIXEL + E_PIXEL) / 2;
    mouse().drag(inside, inside + QPoint(0, 40));
    EXPECT_EQ(start(), view()->rconv(S_PIXEL + QPoint(0, 40)));
    EXPECT_EQ(end(), view()->rconv(E_PIXEL + QPoint(0, 40)));
    EXPECT_EQ(undoStack()->count(), 1);

    // Escape drops the selection: a press in the middle starts a band, not a drag.
    mouse().key(Qt::Key_Escape);
    const QPoint middle = (S_PIXEL + E_PIXEL) / 2 + QPoint(0, 40);
    mouse().drag(middle, middle + QPoint(0, 40));
    EXPECT_EQ(undoStack()->count(), 1);
}

TEST_F(CrossSectionEndPointTest, OnlyALaterRedoReloadsTheWorkingPath)
{
    // A working path of three points, as the path table can leave it.
    controller()->insertPathPoint(2, tin::core::Point2D(0.0, 30.0));
    const std::vector<tin::core::Point2D> three = controller()->editedPath();
    ASSERT_EQ(three.size(), 3u);
    controller()->pushEditCommand(three);
    EXPECT_EQ(controller()->editedPath().size(), 3u) << "the push keeps the working path";
    EXPECT_EQ(end(), QPointF(three[2].x(), three[2].y()));

    undoStack()->undo();
    controller()->insertPathPoint(2, tin::core::Point2D(0.0, 30.0));
    ASSERT_EQ(controller()->editedPath().size(), 3u);
    undoStack()->redo();
    const std::vector<tin::core::Point2D> reloaded = controller()->editedPath();
    ASSERT_EQ(reloaded.size(), 2u);
    EXPECT_EQ(QPointF(reloaded[1].x(), reloaded[1].y()), end());
}

// A failure inside a mode ends in the "Error" box, not in Qt's event handling.
TEST_F(CrossSectionEndPointTest, APickOnAnEmptyPathShowsTheError)
{
    guimisc::UserDialogScript script;
    controller()->removePathPoint(1);
    controller()->removePathPoint(0);
    mouse().click(E_PIXEL);
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Error");
    EXPECT_EQ(script.messageBoxes()[0].text, "Empty points.");
    EXPECT_EQ(end(), view()->rconv(E_PIXEL));
}

TEST_F(CrossSectionEndPointTest, RenamingInTheBrowserIsNoUndoStep)
{
    m_section->browserItem()->setText(QStringLiteral("Kilometre 2"));
    EXPECT_EQ(m_section->name(), "Kilometre 2");
    EXPECT_EQ(undoStack()->count(), 0);
}

} // namespace
} // namespace varnel::test
