// The tools of the points for the TIN, driven by explicit events on the main view: breaklines
// clicked on points of the set, new points clicked anywhere, removal that keeps the points
// of breaklines, one elevation for the selected points; and how breaklines are painted.
#include "SurveyTestSupport.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"

#include "brask/core/Model.h"
#include "movarin/survey/BreaklineItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsForTinItemController.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointSet.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QDialog>
#include <QDoubleSpinBox>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using guimisc::UserDialogScript;
using Controller = CoordinatePointsForTinItemController;
using PointPtr = std::shared_ptr<tin::core::Point>;
using Points = std::vector<PointPtr>;

class PointsForTinToolsTest : public SurveyProjectTest {
protected:
    CoordinatePointsForTinItem* item() const { return root()->coordinatePointsForTinItem(); }
    Controller* controller() const { return item()->controller(); }
    tin::core::PointSet* set() const { return item()->pointSet(); }
    std::vector<BreaklineItem*> breaklines() const { return item()->breaklineItems(); }

    /// The world position that widget pixel `pixel` shows.
    tin::core::Point worldAt(const QPoint& pixel, double elevation) const
    {
        const QPointF w = view()->rconv(pixel);
        return tin::core::Point(w.x(), w.y(), elevation);
    }
    /// A point of the set shown exactly at `pixel`, interned as the readers intern points.
    PointPtr pointAt(const QPoint& pixel, double elevation)
    {
        return set()->addPoint(worldAt(pixel, elevation));
    }

    bool toolIsIdle() const
    {
        return dynamic_cast<Controller::VoidSelectionHelper*>(
                   controller()->currentSelectionHelper())
            != nullptr;
    }
    std::vector<tin::core::Point> pendingPoints() const
    {
        return *controller()->currentSelectionHelper()->newPoints();
    }

    static void select(Controller* controller, const Points& points)
    {
        controller->clearSelection();
        controller->selection().insert(points.begin(), points.end());
    }

    /// A user's click: the mouse moves there, then the left button goes down and up.
    void click(const QPoint& pos)
    {
        scene().move(pos);
        scene().click(pos);
    }
    /// A double click: a click, then the second press as Qt reports it, and its release.
    void doubleClick(const QPoint& pos)
    {
        click(pos);
        scene().doubleClick(pos);
        scene().release(pos);
    }

    const QPoint A{40, 40};
    const QPoint B{100, 40};
    const QPoint C{160, 40};
    const QPoint D{100, 150};
};

TEST_F(PointsForTinToolsTest, BreaklineToolMakesOneBreaklinePerLine)
{
    const PointPtr a = pointAt(A, 1.0), b = pointAt(B, 2.0), c = pointAt(C, 3.0),
                   d = pointAt(D, 4.0);

    // The same point clicked twice in a row is taken once.
    controller()->addBreaklineAction()->trigger();
    EXPECT_EQ(item()->model()->selectedItem(), item());
    click(A);
    click(B + QPoint(3, -2));
    click(B);
    scene().key(Qt::Key_Return);
    ASSERT_EQ(breaklines().size(), 1u);
    EXPECT_EQ(breaklines()[0]->points(), Points({a, b}));
    EXPECT_EQ(breaklines()[0]->caption(), "Breakline 1");
    EXPECT_EQ(undoStack()->count(), 1);
    EXPECT_TRUE(toolIsIdle());

    // The line follows the cursor to the nearest point, and Return takes that point as the
    // last; the new breakline becomes the first child.
    controller()->addBreaklineAction()->trigger();
    click(A + QPoint(-5, 4));
    scene().move(D + QPoint(10, 10));
    EXPECT_EQ(*controller()->pickedPoints(), Points({a, d}));
    scene().move(A + QPoint(2, 2));
    EXPECT_EQ(*controller()->pickedPoints(), Points({a}));
    click(B);
    scene().move(C + QPoint(4, 3));
    scene().key(Qt::Key_Return);
    ASSERT_EQ(breaklines().size(), 2u);
    EXPECT_EQ(breaklines()[0]->points(), Points({a, b, c}));
    EXPECT_EQ(breaklines()[0]->caption(), "Breakline 2");
    EXPECT_EQ(breaklines()[1]->caption(), "Breakline 1");

    // A double click ends the line at the point it lands on.
    controller()->addBreaklineAction()->trigger();
    click(D);
    doubleClick(C);
    ASSERT_EQ(breaklines().size(), 3u);
    EXPECT_EQ(breaklines()[0]->points(), Points({d, c}));

    // One point makes no breakline; Escape makes none; other keys and buttons keep the tool.
    controller()->addBreaklineAction()->trigger();
    click(A);
    scene().key(Qt::Key_Return);
    controller()->addBreaklineAction()->trigger();
    click(A);
    click(B);
    scene().press(C, Qt::RightButton);
    scene().key(Qt::Key_Space);
    EXPECT_EQ(*controller()->pickedPoints(), Points({a, b}));
    scene().key(Qt::Key_Escape);
    EXPECT_TRUE(toolIsIdle());
    EXPECT_EQ(breaklines().size(), 3u);
    EXPECT_EQ(undoStack()->count(), 3);
}

TEST_F(PointsForTinToolsTest, BreaklineOnAnEmptySetWarnsAndStartsNothing)
{
    UserDialogScript script;
    controller()->breaklineMenuAction()->trigger();
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Warning");
    EXPECT_EQ(script.messageBoxes()[0].text, "Coordinate points is empty.");
    EXPECT_TRUE(toolIsIdle());
}

TEST_F(PointsForTinToolsTest, PointTakenAwayByAnUndoIsLeftOutOfTheBreakline)
{
    const PointPtr a = pointAt(A, 1.0), c = pointAt(C, 3.0);
    const PointPtr b = tin::core::PointFactory::instance().factory(worldAt(B, 2.0));
    controller()->addPoints({b}, item());

    controller()->addBreaklineAction()->trigger();
    click(A);
    click(B);
    click(C);
    undoStack()->undo(); // the addition of b
    ASSERT_FALSE(set()->hasPoint(b));
    scene().key(Qt::Key_Return);
    ASSERT_EQ(breaklines().size(), 1u);
    EXPECT_EQ(breaklines()[0]->points(), Points({a, c}));
}

TEST_F(PointsForTinToolsTest, NewPointsTakeTheElevationOfTheNearestPointOfTheSet)
{
    // On an empty set a new point has elevation 0.
    controller()->addNewPointsAction()->trigger();
    click(QPoint(150, 160));
    scene().key(Qt::Key_Return);
    ASSERT_EQ(set()->allPoints().size(), 1u);
    const PointPtr first = set()->allPoints()[0];
    EXPECT_EQ(first->elevation(), 0.0);
    EXPECT_NEAR(first->x(), worldAt(QPoint(150, 160), 0.0).x(), 1e-9);
    EXPECT_EQ(undoStack()->count(), 1);
    EXPECT_TRUE(toolIsIdle());

    const PointPtr a = pointAt(A, 5.0);
    const PointPtr c = pointAt(C, 9.0);
    controller()->newPointsMenuAction()->trigger();
    click(C + QPoint(-20, 0));
    // Nearer to the pending point (45 pixels) than to a (55) or c (65): pending points are
    // not in the set yet, so a's elevation.
    click(QPoint(95, 40));
    click(A); // the place and elevation of a: that very point
    const std::vector<tin::core::Point> pending = pendingPoints();
    ASSERT_EQ(pending.size(), 3u);
    EXPECT_EQ(pending[0].elevation(), 9.0);
    EXPECT_EQ(pending[1].elevation(), 5.0);
    EXPECT_EQ(set()->allPoints().size(), 3u); // nothing added before Return
    scene().key(Qt::Key_Return);
    EXPECT_EQ(set()->allPoints().size(), 5u);
    EXPECT_TRUE(set()->hasPoint(a));

    undoStack()->undo();
    EXPECT_EQ(set()->allPoints().size(), 3u);
    EXPECT_TRUE(set()->hasPoint(a)); // it was there before
    EXPECT_TRUE(set()->hasPoint(c));

    // Escape drops the pending points; Return without any adds nothing.
    controller()->addNewPointsAction()->trigger();
    click(QPoint(170, 170));
    scene().key(Qt::Key_Escape);
    controller()->addNewPointsAction()->trigger();
    scene().key(Qt::Key_Return);
    EXPECT_EQ(set()->allPoints().size(), 3u);
    EXPECT_EQ(undoStack()->count(), 2);
}

TEST_F(PointsForTinToolsTest, RemovalKeepsThePointsOfBreaklines)
{
    Points p;
    for (int i = 0; i < 6; ++i) {
        p.push_back(pointAt(QPoint(20 + 30 * i, 160), i));
    }
    controller()->addBreakline({p[0], p[1]});
    ASSERT_EQ(breaklines().size(), 1u);
    UserDialogScript script;

    select(controller(), {p[0], p[1], p[2], p[3], p[4]});
    controller()->removeAction()->trigger();
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Warning");
    EXPECT_EQ(script.messageBoxes()[0].text, "Points on Breakline were not deleted.");
    EXPECT_EQ(set()->allPoints().size(), 3u);
    for (int i : {0, 1, 5}) {
        EXPECT_TRUE(set()->hasPoint(p[static_cast<std::size_t>(i)])) << i;
    }
    undoStack()->undo();
    EXPECT_EQ(set()->allPoints().size(), 6u);

    // Only breakline points selected: the warning, and a removal that changes nothing.
    script.clearRecords();
    const int entries = undoStack()->index();
    select(controller(), {p[0], p[1]});
    controller()->removeSelectedPoints();
    EXPECT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(undoStack()->index(), entries + 1);
    EXPECT_EQ(set()->allPoints().size(), 6u);
}

TEST_F(PointsForTinToolsTest, EditElevationAsksForOneValuePresetToTheMean)
{
    const PointPtr a = pointAt(A, 1.0), b = pointAt(B, 2.0), c = pointAt(C, 6.0);
    {
        ModalAnswerer answerer([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); },
                               5);
        controller()->editElevationAction()->trigger();
        EXPECT_FALSE(answerer.answered()); // nothing selected: no dialog
    }
    EXPECT_EQ(undoStack()->count(), 0);

    select(controller(), {a, b, c});
    double preset = 0.0;
    ModalAnswerer answerer([&preset](QWidget* dialog) {
        auto* box = dialog->findChild<QDoubleSpinBox*>();
        ASSERT_NE(box, nullptr);
        preset = box->value();
        box->setValue(7.25);
        static_cast<QDialog*>(dialog)->accept();
    });
    controller()->editElevationAction()->trigger();
    ASSERT_TRUE(answerer.answered());
    EXPECT_EQ(answerer.answeredClassName(), "varnel::CoordinatePointsBaseItemEditElevationDialog");
    EXPECT_DOUBLE_EQ(preset, 3.0);
    for (const PointPtr& p : {a, b, c}) {
        EXPECT_EQ(p->elevation(), 7.25);
    }
    undoStack()->undo();
    EXPECT_EQ(a->elevation(), 1.0);
    EXPECT_EQ(b->elevation(), 2.0);
    EXPECT_EQ(c->elevation(), 6.0);
}

TEST_F(PointsForTinToolsTest, CaptionsCountTheBreaklinesThereAre)
{
    const PointPtr a = pointAt(A, 1.0), b = pointAt(B, 2.0), c = pointAt(C, 3.0);
    controller()->addBreakline({a, b});
    controller()->addBreakline({b, c});
    controller()->addBreakline({c, a});
    ASSERT_EQ(breaklines().size(), 3u);
    breaklines()[1]->controller()->deleteMeSilently(); // "Breakline 2"
    controller()->addBreakline({a, c});
    ASSERT_EQ(breaklines().size(), 3u);
    EXPECT_EQ(breaklines()[0]->caption(), "Breakline 3");
    EXPECT_EQ(breaklines()[1]->caption(), "Breakline 3");
    EXPECT_EQ(breaklines()[2]->caption(), "Breakline 1");
}

TEST_F(PointsForTinToolsTest, BreaklineIsABlackLineEvenWhenStraight)
{
    // A horizontal breakline has an extent without height: it is painted all the same.
    const PointPtr a = pointAt(A, 1.0), c = pointAt(C, 3.0);
    controller()->addBreakline({a, c});
    view()->updateView();
    const QImage picture = scene().grab();
    for (int x : {70, 100, 130}) {
        EXPECT_EQ(picture.pixelColor(x, 40), QColor(Qt::black)) << x;
    }
    EXPECT_NE(picture.pixelColor(100, 50), QColor(Qt::black));
}

} // namespace
} // namespace varnel::test
