// The group controller as the user drives it: a mold picked in the Mold Browser, "GeoEdit
// Surface" from the Add menu, clicks and keys at pixels of the main view (`View::conv` on a
// view of 4 pixels a metre, so that whole metres land on whole pixels), boxes answered by the
// message script, Undo and Redo through the project's stack. Oracles: the edited TIN's
// triangle objects recorded at every stack index, volumes by the TIN modifier's cut and fill,
// and the nearest vertex found by brute force over every vertex.
#include "SurfacesTestSupport.h"

#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerPathSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerVoidSelectionHelper.h"
#include "movarin/surfaces/IconView.h"
#include "movarin/surfaces/MoldGroupItemWidget.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/surfaces/MoldsContainerWidget.h"


#include "brask/proj/ProjectFile.h"

#include <QApplication>
#include <QStandardItem>
#include <QTabWidget>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace varnel::test {
namespace {

using Controller = GeoEditSurfaceGroupItemController;

class GroupControllerTest : public SurfacesTest {
protected:
    void SetUp() override
    {
        SurfacesTest::SetUp();
        view()->setScale(4.0);
        view()->updateView();
        ASSERT_EQ(view()->conv(QPointF(20.0, 50.0)), QPointF(80.0, 150.0));
    }
    void TearDown() override
    {
        for (const auto& box : m_unexpected.messageBoxes()) {
            ADD_FAILURE() << "unexpected box: " << box.text.toStdString();
        }
        SurfacesTest::TearDown();
    }

    mvc::core::View* view() const { return m_window->view(); }
    Controller* controller() const { return group()->groupController(); }
    QUndoStack& stack() { return *project().undoStack(); }

    void startPathTool() { controller()->geoEditSurfaceAction()->trigger(); }
    Controller::SelectionHelper* tool() const
    {
        return static_cast<Controller::SelectionHelper*>(controller()->selectionHelper());
    }
    bool isPathTool() const { return dynamic_cast<Controller::PathSelectionHelper*>(tool()); }

    void mouse(QEvent::Type type, const QPointF& pixel, Qt::MouseButton button)
    {
        QMouseEvent event(type, pixel, view()->mapToGlobal(pixel.toPoint()), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                          Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }
    void clickPixel(const QPointF& pixel)
    {
        mouse(QEvent::MouseMove, pixel, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, pixel, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, pixel, Qt::LeftButton);
    }
    void click(double x, double y) { clickPixel(view()->conv(QPointF(x, y))); }
    void moveTo(double x, double y)
    {
        mouse(QEvent::MouseMove, view()->conv(QPointF(x, y)), Qt::NoButton);
    }
    void key(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }
    /// A path of clicks finished by Return.
    void drawPath(const std::vector<QPointF>& clicks)
    {
        for (const QPointF& p : clicks) {
            click(p.x(), p.y());
        }
        key(Qt::Key_Return);
    }

    std::vector<std::pair<double, double>> pathPoints() const
    {
        std::vector<std::pair<double, double>> points;
        for (const tin::core::Point& p : tool()->points()) {
            points.emplace_back(p.x(), p.y());
        }
        return points;
    }

    /// Answers, and records, the boxes that a test's own script does not expect.
    guimisc::UserDialogScript m_unexpected;
};

TEST_F(GroupControllerTest, ThreeClicksAndReturnMakeOneSurfaceWithOneUndoEntry)
{
    pickMold("Convex (Add)");
    startPathTool();
    ASSERT_TRUE(isPathTool());
    EXPECT_EQ(m_window->model()->objectBrowserView()->currentIndex(), group()->browserItem()->index());

    const Identities before = identities(edited());
    guimisc::UserDialogScript script;
    drawPath({{20, 50}, {40, 52}, {60, 50}});
    EXPECT_TRUE(script.messageBoxes().empty());
    ASSERT_EQ(group()->childItems().size(), 1u);
    auto surface = qobject_cast<GeoEditSurfaceItem*>(group()->childItems()[0]);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->caption(), "GeoEdit 1 (Add)");
    EXPECT_EQ(surface->moldName(), "Convex (Add)");
    EXPECT_EQ(surface->path().size(), 3u);
    EXPECT_EQ(stack().count(), 1);
    EXPECT_EQ(stack().undoText(), "Add new GeoEdit surface");
    EXPECT_TRUE(project().mainfile()->isModified());
    EXPECT_TRUE(isPathTool()) << "the tool stays for the next path";
    EXPECT_TRUE(tool()->points().empty());

    // The edited TIN is the old one less the removed triangles plus the added ones.
    Identities expected = before;
    for (const auto& t : surface->removedTin().allTriangles()) {
        EXPECT_EQ(expected.erase(t.get()), 1u);
    }
    for (const auto& t : surface->addedTin().allTriangles()) {
        EXPECT_TRUE(expected.insert(t.get()).second);
    }
    EXPECT_EQ(identities(edited()), expected);
}

TEST_F(GroupControllerTest, RubberBandEscapeAndRepeatedPositions)
{
    pickMold("Convex (Add)");
    startPathTool();
    click(20, 50);
    key(Qt::Key_Return);
    EXPECT_EQ(stack().count(), 0) << "one point is no path";
    EXPECT_EQ(pathPoints().size(), 1u);

    // A click at the anchor changes nothing; one on an earlier point warns.
    click(20, 50);
    click(30, 50);
    moveTo(40, 50);
    EXPECT_EQ(pathPoints(), (std::vector<std::pair<double, double>>{{20, 50}, {30, 50}, {40, 50}}));
    moveTo(30, 50);
    EXPECT_EQ(pathPoints().size(), 2u) << "no rubber band on the anchor";
    {
        guimisc::UserDialogScript script;
        click(20, 50);
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].title, "Warning");
        EXPECT_EQ(script.messageBoxes()[0].text, "Cannot add the same position more than once.");
    }
    // The move before the press left the rubber band there; the clicked path is unchanged.
    EXPECT_EQ(pathPoints(), (std::vector<std::pair<double, double>>{{20, 50}, {30, 50}, {20, 50}}));
    EXPECT_TRUE(static_cast<Controller::PathSelectionHelper*>(tool())->hasRubberBandPoint());

    // Escape drops points one by one, then leaves the tool.
    key(Qt::Key_Escape);
    key(Qt::Key_Escape);
    key(Qt::Key_Escape);
    EXPECT_TRUE(pathPoints().empty());
    EXPECT_TRUE(isPathTool());
    key(Qt::Key_Escape);
    EXPECT_NE(dynamic_cast<Controller::VoidSelectionHelper*>(tool()), nullptr);

    // A move past the last click: the rubber-band point ends the path.
    startPathTool();
    click(20, 50);
    click(40, 50);
    moveTo(60, 50);
    key(Qt::Key_Return);
    ASSERT_EQ(group()->childItems().size(), 1u);
    const auto& path = qobject_cast<GeoEditSurfaceItem*>(group()->childItems()[0])->path();
    ASSERT_EQ(path.size(), 3u);
    EXPECT_EQ(QPointF(path[2].x(), path[2].y()), QPointF(60, 50));
}

TEST_F(GroupControllerTest, NoMoldSelectedKeepsThePathForTheNextReturn)
{
    startPathTool();
    click(20, 50);
    click(60, 50);
    {
        guimisc::UserDialogScript script;
        key(Qt::Key_Return);
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].text, "No Mold is selected.");
    }
    EXPECT_EQ(pathPoints().size(), 2u);
    EXPECT_EQ(stack().count(), 0);

    pickMold("Concave (Sub)");
    moveTo(60, 50);
    EXPECT_FALSE(tool()->outline().empty()) << "the next move previews the mold";
    key(Qt::Key_Return);
    ASSERT_EQ(group()->childItems().size(), 1u);
    EXPECT_EQ(group()->childItems()[0]->caption(), "GeoEdit 1 (Sub)");
}

TEST_F(GroupControllerTest, ElevationsComeFromTheTinOrItsNearestVertexOnScreen)
{
    editedItem()->setTin(new tin::core::Tin(slopedTerrain()));
    const tin::core::Tin& tin = edited();
    const auto inside = Controller::PathSelectionHelper::pointAt(QPoint(123, 77), &tin, view());
    const QPointF world = view()->rconv(QPoint(123, 77));
    EXPECT_NEAR(inside.elevation(), 0.01 * world.x() + 0.02 * world.y(), 1e-9);

    for (const QPoint far : {QPoint(-1000000, 150), QPoint(1000000, -1000000), QPoint(200, 3000000),
                             QPoint(-7, -9)}) {
        double best = std::numeric_limits<double>::infinity();
        double elevation = 0.0;
        for (const auto& t : tin.allTriangles()) {
            for (int v = 0; v < 3; ++v) {
                const QPointF d = view()->conv(QPointF(t->point(v)->x(), t->point(v)->y())) - QPointF(far);
                const double distance = d.x() * d.x() + d.y() * d.y();
                if (distance < best) {
                    best = distance;
                    elevation = t->point(v)->elevation();
                }
            }
        }
        EXPECT_DOUBLE_EQ(Controller::PathSelectionHelper::pointAt(far, &tin, view()).elevation(), elevation)
            << far.x() << ", " << far.y();
    }

    // Through the tool: a click a million pixels off the TIN returns with that elevation.
    pickMold("Convex (Add)");
    startPathTool();
    clickPixel(QPointF(-1000000, 150));
    ASSERT_EQ(tool()->points().size(), 1u);
    EXPECT_DOUBLE_EQ(tool()->points()[0].elevation(), 0.02 * 50.0);
}

TEST_F(GroupControllerTest, ToolErrorsEndInAnErrorBoxAndChangeNothing)
{
    editedItem()->setTin(new tin::core::Tin());
    pickMold("Convex (Add)");
    startPathTool();
    guimisc::UserDialogScript script;
    click(20, 50);
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Error");
    EXPECT_EQ(script.messageBoxes()[0].text, "Empty Tin.");
    EXPECT_TRUE(isPathTool());
    EXPECT_TRUE(tool()->points().empty());
}

TEST_F(GroupControllerTest, FailedMergeLeavesNoRowNoUndoEntryAndTheSameTriangles)
{
    pickMold("Convex (Add)");
    startPathTool();
    const Identities before = identities(edited());
    const int rows = group()->browserItem()->rowCount();
    const std::vector<Controller::Merge> failures = {
        [](GeoEditSurfaceItemI&, const tin::core::Tin& root, bool* ok) {
            *ok = false;
            return root;
        },
        [](GeoEditSurfaceItemI&, const tin::core::Tin&, bool*) -> tin::core::Tin {
            throw std::runtime_error("overlay failed");
        }};
    for (const Controller::Merge& merge : failures) {
        controller()->setMerge(merge);
        guimisc::UserDialogScript script;
        drawPath({{20, 50}, {60, 50}});
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].kind, guimisc::UserDialogs::Kind::Critical);
        EXPECT_EQ(script.messageBoxes()[0].title, "Error");
        EXPECT_EQ(script.messageBoxes()[0].text, "Tin creation failed.");
        EXPECT_TRUE(group()->childItems().empty());
        EXPECT_EQ(group()->browserItem()->rowCount(), rows);
        EXPECT_EQ(stack().count(), 0);
        EXPECT_EQ(identities(edited()), before);
        EXPECT_FALSE(project().mainfile()->isModified());
    }
    controller()->setMerge(nullptr);
    drawPath({{20, 50}, {60, 50}});
    EXPECT_EQ(group()->childItems().size(), 1u) << "the path tool goes on";
}

TEST_F(GroupControllerTest, ASurfaceBesideTheEditedTinIsNoSurface)
{
    // Clicked left of the terrain, the surface meets none of its triangles: it would change
    // nothing, and the merge replaced triangles of the terrain's border by new objects.
    pickMold("Convex (Add)");
    startPathTool();
    const Identities before = identities(edited());
    guimisc::UserDialogScript script;
    drawPath({{-25, 50}, {-15, 62}});
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].kind, guimisc::UserDialogs::Kind::Warning);
    EXPECT_EQ(script.messageBoxes()[0].text, "No valid GeoEdit Surface was created from specified Mold and Path.");
    EXPECT_TRUE(group()->childItems().empty());
    EXPECT_EQ(stack().count(), 0);
    EXPECT_EQ(identities(edited()), before);
    EXPECT_TRUE(isPathTool());

    // One reaching into the terrain is made.
    drawPath({{-25, 50}, {2, 62}});
    EXPECT_EQ(group()->childItems().size(), 1u);
}

TEST_F(GroupControllerTest, UndoAndRedoGiveBackTheVeryTrianglesOfEveryStep)
{
    int changes = 0;
    QObject::connect(editedItem(), &TinItem::tinChanged, [&changes] { ++changes; });
    std::vector<tin::core::Tin> states{edited()};
    const auto record = [&] {
        ASSERT_EQ(stack().index(), static_cast<int>(states.size()));
        states.push_back(edited());
    };

    pickMold("Convex (Add)");
    startPathTool();
    drawPath({{20, 50}, {60, 50}});
    record();
    pickMold("Concave (Sub)");
    drawPath({{40, 30}, {40, 70}});
    record();
    ASSERT_EQ(group()->childItems().size(), 2u);
    auto older = qobject_cast<GeoEditSurfaceItemI*>(group()->childItems()[1]);
    EXPECT_NE(older->overlappingSibling(), nullptr) << "the Sub surface cuts into the Add one";

    controller()->createGeoEditSurfaceByBrush(raiseCell(edited(), 5, 5, 3.0).added,
                                              raiseCell(edited(), 5, 5, 3.0).removed);
    record();
    EXPECT_EQ(group()->childItems()[0]->caption(), "BrushEdit 3");
    EXPECT_EQ(stack().undoText(), "Add new GeoEdit surface by brushing");

    guimisc::UserDialogScript script;
    deleteThroughBrowser(qobject_cast<GeoEditSurfaceItemI*>(group()->childItems()[0]), script);
    record();
    const std::vector<mvc::core::ModelItem*> stacked = group()->childItems();
    script.answer(QMessageBox::Yes);
    controller()->deleteAllAction()->trigger();
    record();
    EXPECT_EQ(stack().undoText(), "Delete all GeoEdit surfaces");
    EXPECT_TRUE(group()->childItems().empty());
    EXPECT_EQ(identities(edited()), identities(base()));
    EXPECT_NE(&edited(), &base()) << "the edited TIN is an object of its own";
    EXPECT_EQ(changes, 5) << "every step announced its change";

    for (int index = stack().count() - 1; index >= 0; --index) {
        const int before = changes;
        stack().setIndex(index);
        EXPECT_EQ(identities(edited()), identities(states[index])) << "undone to " << index;
        EXPECT_GT(changes, before) << "undone to " << index;
        if (index == 4) {
            EXPECT_EQ(group()->childItems(), stacked) << "the old order";
        }
    }
    for (int index = 1; index <= stack().count(); ++index) {
        const int before = changes;
        stack().setIndex(index);
        EXPECT_EQ(identities(edited()), identities(states[index])) << "redone to " << index;
        EXPECT_GT(changes, before) << "redone to " << index;
    }
    EXPECT_EQ(identities(edited()), identities(base()));
}

TEST_F(GroupControllerTest, EveryChangeOfTheEditedTinHappensUnderTheWaitCursor)
{
    // The shape of the application's cursor whenever the edited TIN announces a change:
    // Return, undo and redo of a mold surface and of a brush surface, each a merge or a swap
    // that takes a while on a TIN of millions.
    std::vector<int> shapes;
    QObject::connect(editedItem(), &TinItem::tinChanged, [&shapes] {
        const QCursor* cursor = QApplication::overrideCursor();
        shapes.push_back(cursor ? cursor->shape() : -1);
    });
    const auto expectWaited = [&](const char* what) {
        EXPECT_FALSE(shapes.empty()) << what << " changed nothing";
        EXPECT_EQ(shapes, std::vector<int>(shapes.size(), Qt::WaitCursor)) << what;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << what << " left the cursor up";
        shapes.clear();
    };

    pickMold("Convex (Add)");
    startPathTool();
    drawPath({{20, 50}, {60, 50}});
    ASSERT_EQ(group()->childItems().size(), 1u);
    expectWaited("Return");
    stack().undo();
    expectWaited("undo of the mold surface");
    stack().redo();
    expectWaited("redo of the mold surface");

    controller()->createGeoEditSurfaceByBrush(raiseCell(edited(), 5, 5, 3.0).added,
                                              raiseCell(edited(), 5, 5, 3.0).removed);
    ASSERT_EQ(group()->childItems().size(), 2u);
    expectWaited("the brush surface");
    stack().undo();
    expectWaited("undo of the brush surface");
    stack().redo();
    expectWaited("redo of the brush surface");
}

TEST_F(GroupControllerTest, PathToolFillsTheConvexMoldAlongThePath)
{
    pickMold("Convex (Add)");
    startPathTool();
    drawPath({{20, 50}, {60, 50}});
    ASSERT_EQ(group()->childItems().size(), 1u);

    const CutFill inside = differencesInside(base(), edited(), QRectF(20.0, 44.0, 40.0, 12.0));
    EXPECT_NEAR(inside.fill, 4.5 * 40.0, 4.5 * 40.0 * 1e-6);
    EXPECT_NEAR(inside.cut, 0.0, 1e-9);
}

TEST_F(GroupControllerTest, ContextMenuAndAddMenu)
{
    QStringList texts;
    for (QAction* action : controller()->rightClickMenu()->actions()) {
        texts << action->text();
    }
    EXPECT_EQ(texts, QStringList({"Add", "Add by brushing", "", "Set brush", "", "Delete all"}));
    QMenu add;
    m_window->appendAddActionToMenu(&add);
    EXPECT_TRUE(add.actions().contains(controller()->geoEditSurfaceAction()));
    EXPECT_EQ(controller()->geoEditSurfaceAction()->text(), "GeoEdit Surface");

}

// Molds and surfaces held by commands when the project closes: the stack goes first, and
// each goes once (the sanitizer build watches).
TEST_F(GroupControllerTest, ClosingWithObjectsHeldByCommandsDeletesEachOnce)
{
    pickMold("Convex (Add)");
    startPathTool();
    drawPath({{20, 50}, {60, 50}});
    drawPath({{20, 20}, {60, 20}});
    stack().undo();
    MoldsContainerWidget* browser = controller()->moldsContainerBrowser()->moldsContainerWidget();
    browser->groupWidget(mold::core::Mold::Add)->deleteChildSilently(controller()->selectedMoldItem());
    guimisc::UserDialogScript script;
    deleteThroughBrowser(qobject_cast<GeoEditSurfaceItemI*>(group()->childItems()[0]), script);
    EXPECT_TRUE(group()->childItems().empty());
}

} // namespace
} // namespace varnel::test
