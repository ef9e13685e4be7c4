// The point-set controller's selection tools, driven through the main view by explicit
// mouse and key events (the right button through the controller's hooks, since the view
// opens the item's menu on a right click), and its two actions.
#include "PointSetTestSupport.h"

#include "support/ScratchSettings.h"

#include <QAction>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using Controller = CoordinatePointsBaseItemController;

class CoordinatePointsBaseItemControllerTest : public ScratchSettingsTest {
protected:
    void SetUp() override
    {
        ScratchSettings::writeStartupDefaults();
        // Widget positions: A (100, 100), B 2 pixels right of it, C 4 pixels right of it,
        // D (150, 50), E (50, 150), F (150, 150), G (75, 125).
        m_item = m_scene.addItem({{0.0, 0.0, 0.0}, {0.04, 0.0, 0.0}, {0.08, 0.0, 0.0},
                                  {1.0, 1.0, 0.0}, {-1.0, -1.0, 0.0}, {1.0, -1.0, 0.0},
                                  {-0.5, -0.5, 0.0}});
        m_scene.select(m_item);
        m_controller = m_item->controller();
        ASSERT_NE(m_controller, nullptr);
    }

    /// The selection as the names above, in alphabetical order.
    std::string selected() const
    {
        const char* names = "ABCDEFG";
        const tin::core::Point2D places[] = {{0.0, 0.0},  {0.04, 0.0},  {0.08, 0.0},
                                             {1.0, 1.0},  {-1.0, -1.0}, {1.0, -1.0},
                                             {-0.5, -0.5}};
        std::string result;
        for (int i = 0; i < 7; ++i) {
            const auto found = m_item->pointSet()->findPointsAt(places[i]);
            if (!found.empty() && m_controller->selection().count(found[0])) {
                result += names[i];
            }
        }
        return result;
    }

    template <class Tool>
    bool toolIs() const
    {
        return dynamic_cast<Tool*>(m_controller->currentSelectionHelper()) != nullptr;
    }

    void drag(const QPoint& from, const QPoint& to,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        m_scene.press(from, Qt::LeftButton, modifiers);
        m_scene.move(to, Qt::LeftButton, modifiers);
        m_scene.release(to, Qt::LeftButton, modifiers);
    }

    PointScene m_scene;
    TestPointsItem* m_item = nullptr;
    Controller* m_controller = nullptr;
};

TEST_F(CoordinatePointsBaseItemControllerTest, ClickSelectsTheSixPixelSquareAndShiftToggles)
{
    ASSERT_TRUE(toolIs<Controller::VoidSelectionHelper>());
    m_scene.click(QPoint(100, 100));
    EXPECT_EQ(selected(), "AB");
    EXPECT_TRUE(toolIs<Controller::VoidSelectionHelper>());
    EXPECT_TRUE(m_controller->currentSelectionHelper()->outline()->empty());

    m_scene.click(QPoint(150, 50), Qt::ShiftModifier);
    EXPECT_EQ(selected(), "ABD");
    m_scene.click(QPoint(100, 100), Qt::ShiftModifier);
    EXPECT_EQ(selected(), "D");
    // Without Shift a click first clears.
    m_scene.click(QPoint(102, 100));
    EXPECT_EQ(selected(), "ABC");
}

TEST_F(CoordinatePointsBaseItemControllerTest, AReleaseThreePixelsAwayWithoutAMoveOnlyClears)
{
    m_controller->selectAllPoints();
    m_scene.press(QPoint(100, 100));
    m_scene.release(QPoint(100, 103));
    EXPECT_EQ(selected(), "");
    m_controller->selectAllPoints();
    m_scene.press(QPoint(100, 100), Qt::LeftButton, Qt::ShiftModifier);
    m_scene.release(QPoint(103, 100), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(selected(), "ABCDEFG");
}

TEST_F(CoordinatePointsBaseItemControllerTest, ADragOfAnySizeSelectsWhatItCovers)
{
    drag(QPoint(100, 100), QPoint(101, 101));
    EXPECT_EQ(selected(), "A");
    drag(QPoint(40, 40), QPoint(120, 160));
    EXPECT_EQ(selected(), "ABCEG");
    drag(QPoint(95, 95), QPoint(102, 105), Qt::ShiftModifier);
    EXPECT_EQ(selected(), "CEG");
    // A rectangle without height: the points on its line.
    drag(QPoint(90, 100), QPoint(103, 100));
    EXPECT_EQ(selected(), "AB");
    EXPECT_TRUE(toolIs<Controller::VoidSelectionHelper>());
}

TEST_F(CoordinatePointsBaseItemControllerTest, RightClickAndEarlyReturnChangeNothing)
{
    m_scene.click(QPoint(150, 50));
    Controller::SelectionHelper* idle = m_controller->currentSelectionHelper();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(100, 100), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    m_controller->mousePressEvent(&press, m_scene.view());
    m_controller->mouseReleaseEvent(&release, m_scene.view());
    EXPECT_EQ(m_controller->currentSelectionHelper(), idle);
    EXPECT_EQ(selected(), "D");

    // Return before a move: an empty outline selects nothing and a key clears nothing.
    m_scene.press(QPoint(100, 100));
    EXPECT_TRUE(toolIs<Controller::PointsInRectangleSelectionHelper>());
    EXPECT_EQ(m_controller->currentSelectionHelper()->anchor(), QPoint(100, 100));
    m_scene.key(Qt::Key_Return);
    EXPECT_EQ(selected(), "D");
    EXPECT_TRUE(toolIs<Controller::VoidSelectionHelper>());

    // Return after a move toggles without clearing.
    m_scene.press(QPoint(90, 90));
    m_scene.move(QPoint(110, 110), Qt::LeftButton);
    EXPECT_EQ(m_controller->currentSelectionHelper()->outline()->pointsCount(), 4);
    m_scene.key(Qt::Key_Return);
    EXPECT_EQ(selected(), "ABCD");
}

TEST_F(CoordinatePointsBaseItemControllerTest, PolygonToolSelectsWithItsFloatingVertex)
{
    m_scene.click(QPoint(150, 50));
    m_controller->polygonSelectAction()->trigger();
    ASSERT_TRUE(toolIs<Controller::PointsInPolygonSelectionHelper>());
    EXPECT_EQ(selected(), "D");
    // The mouse moves to each place before it clicks there.
    for (const QPoint& p : {QPoint(60, 60), QPoint(140, 60), QPoint(140, 140)}) {
        m_scene.move(p - QPoint(7, 3));
        m_scene.move(p);
        m_scene.click(p);
    }
    // The three clicked vertices hold A, B and C but not G; the floating fourth adds G.
    const tin::core::Polygon* outline = m_controller->currentSelectionHelper()->outline();
    EXPECT_EQ(outline->pointsCount(), 3);
    m_scene.move(QPoint(60, 140));
    EXPECT_EQ(outline->pointsCount(), 4);
    m_scene.move(QPoint(62, 140));
    EXPECT_EQ(outline->pointsCount(), 4);
    m_scene.key(Qt::Key_Return);
    EXPECT_EQ(selected(), "ABCDG");
    EXPECT_TRUE(toolIs<Controller::VoidSelectionHelper>());
}

TEST_F(CoordinatePointsBaseItemControllerTest, EscapeTakesBackVerticesThenLeavesThePolygonTool)
{
    m_controller->polygonSelect();
    m_scene.click(QPoint(60, 60));
    m_scene.click(QPoint(140, 60));
    m_scene.move(QPoint(140, 140));
    const tin::core::Polygon* outline = m_controller->currentSelectionHelper()->outline();
    ASSERT_EQ(outline->pointsCount(), 3);
    m_scene.key(Qt::Key_Escape); // the floating vertex
    m_scene.key(Qt::Key_Escape); // the second click
    ASSERT_EQ(outline->pointsCount(), 1);
    // The first click stays when the mouse moves on; the mouse adds a floating vertex.
    m_scene.move(QPoint(100, 140));
    ASSERT_EQ(outline->pointsCount(), 2);
    const QPointF first = m_scene.view()->rconv(QPoint(60, 60));
    EXPECT_EQ(outline->points()[0].x(), first.x());
    EXPECT_EQ(outline->points()[0].y(), first.y());
    m_scene.key(Qt::Key_Escape);
    m_scene.key(Qt::Key_Escape);
    EXPECT_TRUE(outline->empty());
    EXPECT_TRUE(toolIs<Controller::PointsInPolygonSelectionHelper>());
    m_scene.key(Qt::Key_Escape);
    EXPECT_TRUE(toolIs<Controller::VoidSelectionHelper>());
    EXPECT_EQ(selected(), "");
}

TEST_F(CoordinatePointsBaseItemControllerTest, DoubleClickFinishesThePolygonAndClearsFirst)
{
    m_scene.click(QPoint(150, 50));
    m_controller->polygonSelect();
    m_scene.click(QPoint(40, 90));
    m_scene.click(QPoint(110, 90));
    m_scene.move(QPoint(110, 160));
    m_scene.doubleClick(QPoint(110, 160));
    // D went with the clearing; G lies on the outline's edge, which counts as inside.
    EXPECT_EQ(selected(), "ABCG");
    EXPECT_TRUE(toolIs<Controller::VoidSelectionHelper>());
}

TEST_F(CoordinatePointsBaseItemControllerTest, SelectAllAndTheActions)
{
    EXPECT_EQ(m_controller->polygonSelectAction()->text(), "Select Points With Polygon");
    EXPECT_FALSE(m_controller->polygonSelectAction()->icon().isNull());
    EXPECT_EQ(m_controller->selectAllAction()->text(), "Select All Points");

    m_controller->polygonSelect();
    m_scene.click(QPoint(60, 60));
    m_controller->selectAllAction()->trigger();
    EXPECT_EQ(selected(), "ABCDEFG");
    EXPECT_TRUE(toolIs<Controller::VoidSelectionHelper>());
    EXPECT_TRUE(m_controller->currentSelectionHelper()->outline()->empty());
    // The selection survives a change of tool.
    m_controller->polygonSelect();
    EXPECT_EQ(selected(), "ABCDEFG");

    TestPointsItem* empty = m_scene.addItem();
    empty->controller()->selectAllPoints();
    EXPECT_TRUE(empty->controller()->selection().empty());
}

} // namespace
} // namespace varnel::test
