// Defining a polygon or polyline by clicking on the main view: one undo entry per press with
// the moves merged in, the rubber band taken away by the finish itself (whatever lies on the
// stack), the undo of the finish, the minimum number of points, and the finish by double
// click.
#include "GeoDataTestSupport.h"

#include "movarin/sections/GeoDataShapeItemController.h"

#include "movarin/shell/EditModeMainWindow.h"

#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"

#include <QAction>
#include <QDialog>
#include <QSpinBox>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using Mode = GeoDataShapeItemController::Mode;

class GeoDataDefinitionTest : public GeoDataTest {
protected:
    GeoDataGroupItem* reference() const { return group("referenceinformation"); }
    /// Moves over a few points on the way, as a hand does.
    void wander(const QPointF& to) const
    {
        mouse().move(pixel(to + QPointF(7, 3)));
        mouse().move(pixel(to + QPointF(2, -1)));
    }
};

TEST_F(GeoDataDefinitionTest, EachPressIsOneEntryAndTheFinishDropsTheRubberBand)
{
    GeoDataPolygonItem* polygon = addPolygon(reference());
    GeoDataShapeItemController* controller = controllerOf(polygon);
    EXPECT_EQ(controller->mode(), Mode::WaitingFirstPoint);
    EXPECT_EQ(m_script.messageBoxes().at(0).text,
              "Please define polygon by mouse-clicking. Finish definining by double clicking, "
              "or pressing return key.");

    const Vertices corners{{-40, -20}, {40, -20}, {40, 30}, {-40, 30}};
    for (const auto& [x, y] : corners) {
        wander(QPointF(x, y));
        clickAt(QPointF(x, y));
    }
    wander(QPointF(0, 60));
    EXPECT_EQ(doneTexts(), QStringList({"Add new polygon", "Start defining polygon",
                                        "Add point to polygon", "Add point to polygon",
                                        "Add point to polygon"}));
    // The rubber band follows the mouse behind the fixed corners.
    ASSERT_EQ(polygon->polygon()->pointsCount(), 5);
    EXPECT_EQ(verticesOf(*polygon->polygon()).back(), std::make_pair(2.0, 59.0));
    EXPECT_EQ(controller->mode(), Mode::Defining);
    EXPECT_FALSE(controller->addVertexAction()->isEnabled());

    mouse().key(Qt::Key_Enter);
    const QStringList finished{"Add new polygon", "Start defining polygon",
                               "Add point to polygon", "Add point to polygon",
                               "Add point to polygon", "Finish defining polygon"};
    EXPECT_EQ(doneTexts(), finished);
    EXPECT_EQ(verticesOf(*polygon->polygon()), corners);
    EXPECT_EQ(controller->mode(), Mode::Normal);
    EXPECT_TRUE(controller->addVertexAction()->isEnabled());

    // Undoing the finish goes on defining with the rubber band where it was; it follows the
    // mouse again, and finishing again loses none of the corners.
    undoStack()->undo();
    EXPECT_EQ(controller->mode(), Mode::Defining);
    EXPECT_TRUE(controller->hasRubberBand());
    Vertices withRubberBand = corners;
    withRubberBand.emplace_back(2.0, 59.0);
    EXPECT_EQ(verticesOf(*polygon->polygon()), withRubberBand);
    wander(QPointF(0, 50));
    EXPECT_EQ(polygon->polygon()->pointsCount(), 5);
    EXPECT_EQ(verticesOf(*polygon->polygon()).back(), std::make_pair(2.0, 49.0));
    mouse().key(Qt::Key_Return);
    EXPECT_EQ(doneTexts(), finished);
    EXPECT_EQ(verticesOf(*polygon->polygon()), corners);

    // Undo all the way and redo: the same polygon again.
    while (undoStack()->canUndo() && undoStack()->index() > 1) {
        undoStack()->undo();
    }
    EXPECT_TRUE(polygon->polygon()->empty());
    EXPECT_EQ(controller->mode(), Mode::WaitingFirstPoint);
    while (undoStack()->canRedo()) {
        undoStack()->redo();
    }
    EXPECT_EQ(verticesOf(*polygon->polygon()), corners);
    EXPECT_EQ(controller->mode(), Mode::Normal);
}

TEST_F(GeoDataDefinitionTest, AFinishAfterASettingChangeKeepsOnlyTheClickedCorners)
{
    // Three corners, a move, the Property dialog accepted in the object browser, another
    // move and Return: the setting stays, and no old rubber-band place becomes a corner.
    const Vertices corners{{-30, -20}, {30, -20}, {0, 25}};
    for (const bool polygonKind : {true, false}) {
        SCOPED_TRACE(polygonKind ? "polygon" : "polyline");
        mvc::core::ModelItem* shape = polygonKind
                                          ? static_cast<mvc::core::ModelItem*>(addPolygon(reference()))
                                          : addPolyline(reference());
        for (const auto& [x, y] : corners) {
            wander(QPointF(x, y));
            clickAt(QPointF(x, y));
        }
        wander(QPointF(-40, 40));
        auto browser = window()->findChild<mvc::core::ObjectBrowserView*>();
        ASSERT_NE(browser, nullptr);
        ModalAnswerer widen([](QWidget* dialog) {
            dialog->findChild<QSpinBox*>(QStringLiteral("widthSpinBox"))->setValue(3);
            static_cast<QDialog*>(dialog)->accept();
        });
        browser->propertyAction()->trigger();
        ASSERT_TRUE(widen.answered());
        wander(QPointF(50, 50));
        mouse().key(Qt::Key_Return);

        const auto vertices = [&] {
            return polygonKind ? verticesOf(*static_cast<GeoDataPolygonItem*>(shape)->polygon())
                               : verticesOf(*static_cast<GeoDataPolylineItem*>(shape)->polyline());
        };
        const auto width = [&] {
            return polygonKind
                       ? static_cast<GeoDataPolygonItem*>(shape)->setting().lineWidth.value()
                       : static_cast<GeoDataPolylineItem*>(shape)->setting().lineWidth.value();
        };
        EXPECT_EQ(vertices(), corners);
        EXPECT_EQ(width(), 3);
        EXPECT_EQ(controllerOf(shape)->mode(), Mode::Normal);
        EXPECT_EQ(doneTexts().back(),
                  polygonKind ? "Finish defining polygon" : "Finish defining polyline");

        // The finish's undo brings the rubber band back at its last place; the setting stays
        // until its own entry is undone.
        undoStack()->undo();
        Vertices withRubberBand = corners;
        withRubberBand.emplace_back(52.0, 49.0);
        EXPECT_EQ(vertices(), withRubberBand);
        EXPECT_EQ(width(), 3);
        EXPECT_EQ(controllerOf(shape)->mode(), Mode::Defining);
        undoStack()->redo();
        EXPECT_EQ(vertices(), corners);
    }
}

TEST_F(GeoDataDefinitionTest, TooFewPointsWarnAndTheDefinitionGoesOn)
{
    // A polygon of two places (the second clicked twice) is refused; a third point and a
    // double click finish it.
    GeoDataPolygonItem* polygon = addPolygon(reference());
    clickAt(QPointF(0, 0));
    clickAt(QPointF(30, 0));
    clickAt(QPointF(30, 0));
    m_script.clearRecords();
    mouse().key(Qt::Key_Return);
    ASSERT_EQ(m_script.messageBoxes().size(), 1u);
    EXPECT_EQ(m_script.messageBoxes()[0].title, "Warning");
    EXPECT_EQ(m_script.messageBoxes()[0].text, "A polygon needs at least 3 points.");
    EXPECT_EQ(controllerOf(polygon)->mode(), Mode::Defining);
    EXPECT_NE(doneTexts().back(), "Finish defining polygon");
    mouse().move(pixel(QPointF(15, 20)));
    mouse().doubleClick(pixel(QPointF(15, 20)));
    EXPECT_EQ(verticesOf(*polygon->polygon()), (Vertices{{0, 0}, {30, 0}, {30, 0}, {15, 20}}));
    EXPECT_EQ(doneTexts().back(), "Finish defining polygon");

    // A polyline needs two.
    GeoDataPolylineItem* polyline = addPolyline(reference());
    clickAt(QPointF(-10, -10));
    m_script.clearRecords();
    mouse().key(Qt::Key_Enter);
    ASSERT_EQ(m_script.messageBoxes().size(), 1u);
    EXPECT_EQ(m_script.messageBoxes()[0].text, "A polyline needs at least 2 points.");
    clickAt(QPointF(-20, -30));
    mouse().key(Qt::Key_Enter);
    EXPECT_EQ(verticesOf(*polyline->polyline()), (Vertices{{-10, -10}, {-20, -30}}));
    EXPECT_EQ(doneTexts().back(), "Finish defining polyline");
    EXPECT_EQ(controllerOf(polyline)->mode(), Mode::Normal);
}

} // namespace
} // namespace varnel::test
