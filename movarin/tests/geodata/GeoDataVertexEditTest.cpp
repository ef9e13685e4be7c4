// Editing the vertices of a defined polygon or polyline on the main view: a vertex wins over
// an edge, an edge press only changes the cursor, a drag is one undo entry, insertion on the
// closing edge, removal down to the minimum, and no closing edge for a polyline.
#include "GeoDataTestSupport.h"

#include "movarin/sections/GeoDataShapeItemController.h"

#include "brask/core/View.h"

#include <QAction>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using Mode = GeoDataShapeItemController::Mode;

const Vertices SQUARE{{0, 0}, {40, 0}, {40, 40}, {0, 40}};

class GeoDataVertexEditTest : public GeoDataTest {
protected:
    GeoDataPolygonItem* square() const
    {
        return definePolygon(group("referenceinformation"), SQUARE);
    }
};

TEST_F(GeoDataVertexEditTest, AVertexWinsOverItsEdgesAndADragIsOneEntry)
{
    GeoDataPolygonItem* polygon = square();
    GeoDataShapeItemController* controller = controllerOf(polygon);
    const int entries = undoStack()->count();
    // Half a metre (one pixel) inside the corner, near both of its edges too.
    dragFromTo(QPointF(39.5, 0.5), QPointF(60, -10));
    EXPECT_EQ(verticesOf(*polygon->polygon()), (Vertices{{0, 0}, {60, -10}, {40, 40}, {0, 40}}));
    EXPECT_EQ(undoStack()->count(), entries + 1);
    EXPECT_EQ(doneTexts().back(), "Move polygon point");
    EXPECT_EQ(controller->mode(), Mode::NearVertex);
    undoStack()->undo();
    EXPECT_EQ(verticesOf(*polygon->polygon()), SQUARE);
    undoStack()->redo();
    EXPECT_EQ(polygon->polygon()->points()[1].x(), 60);
}

TEST_F(GeoDataVertexEditTest, AnEdgePressOnlyClosesTheHand)
{
    GeoDataPolygonItem* polygon = square();
    const int entries = undoStack()->count();
    mouse().move(pixel(QPointF(20, 0.5)));
    EXPECT_EQ(view()->cursor().shape(), Qt::OpenHandCursor);
    mouse().press(pixel(QPointF(20, 0.5)));
    EXPECT_EQ(view()->cursor().shape(), Qt::ClosedHandCursor);
    mouse().move(pixel(QPointF(20, 10)), Qt::LeftButton);
    mouse().release(pixel(QPointF(20, 0.5)));
    EXPECT_EQ(view()->cursor().shape(), Qt::OpenHandCursor);
    EXPECT_EQ(verticesOf(*polygon->polygon()), SQUARE);
    EXPECT_EQ(undoStack()->count(), entries);
}

TEST_F(GeoDataVertexEditTest, TheClosingEdgeInsertsAtTheFrontOncePerPress)
{
    GeoDataPolygonItem* polygon = square();
    GeoDataShapeItemController* controller = controllerOf(polygon);
    controller->addVertexAction()->trigger();
    EXPECT_EQ(controller->mode(), Mode::AddNothingNear);
    mouse().move(pixel(QPointF(0.5, 20)));
    EXPECT_EQ(controller->mode(), Mode::AddNearEdge);
    dragFromTo(QPointF(0.5, 20), QPointF(-10, 25));
    EXPECT_EQ(verticesOf(*polygon->polygon()),
              (Vertices{{-10, 25}, {0, 0}, {40, 0}, {40, 40}, {0, 40}}));
    EXPECT_EQ(doneTexts().back(), "Add polygon point");
    // The release left the add mode.
    EXPECT_FALSE(controller->addVertexAction()->isChecked());
    EXPECT_NE(controller->mode(), Mode::AddNearEdge);
    undoStack()->undo();
    EXPECT_EQ(verticesOf(*polygon->polygon()), SQUARE);
}

TEST_F(GeoDataVertexEditTest, RemovalStopsAtThreePolygonAndTwoPolylineVertices)
{
    GeoDataPolygonItem* polygon = square();
    GeoDataShapeItemController* controller = controllerOf(polygon);
    EXPECT_TRUE(controller->removeVertexAction()->isEnabled());
    controller->removeVertexAction()->trigger();
    clickAt(QPointF(40, 40));
    EXPECT_EQ(verticesOf(*polygon->polygon()), (Vertices{{0, 0}, {40, 0}, {0, 40}}));
    EXPECT_EQ(doneTexts().back(), "Remove polygon point");
    EXPECT_FALSE(controller->removeVertexAction()->isEnabled());
    EXPECT_FALSE(controller->removeVertexAction()->isChecked());
    undoStack()->undo();
    EXPECT_EQ(verticesOf(*polygon->polygon()), SQUARE);
    EXPECT_TRUE(controller->removeVertexAction()->isEnabled());

    GeoDataPolylineItem* polyline =
        definePolyline(group("referenceinformation"), {{0, -20}, {20, -20}, {40, -30}});
    GeoDataShapeItemController* lineController = controllerOf(polyline);
    EXPECT_TRUE(lineController->removeVertexAction()->isEnabled());
    lineController->removeVertexAction()->trigger();
    clickAt(QPointF(20, -20));
    EXPECT_EQ(verticesOf(*polyline->polyline()), (Vertices{{0, -20}, {40, -30}}));
    EXPECT_EQ(doneTexts().back(), "Remove polyline point");
    EXPECT_FALSE(lineController->removeVertexAction()->isEnabled());
}

TEST_F(GeoDataVertexEditTest, APolylineHasNoClosingEdge)
{
    GeoDataPolylineItem* polyline =
        definePolyline(group("referenceinformation"), {{0, 0}, {40, 0}, {40, 40}});
    GeoDataShapeItemController* controller = controllerOf(polyline);
    controller->addVertexAction()->trigger();
    const int entries = undoStack()->count();
    // On the segment a polygon would close with, from (40, 40) back to (0, 0).
    mouse().move(pixel(QPointF(20, 20)));
    EXPECT_EQ(controller->mode(), Mode::AddNothingNear);
    clickAt(QPointF(20, 20));
    EXPECT_EQ(polyline->polyline()->pointsCount(), 3);
    EXPECT_EQ(undoStack()->count(), entries);
    // Still adding: an inner edge takes a vertex after its start.
    EXPECT_TRUE(controller->addVertexAction()->isChecked());
    dragFromTo(QPointF(40, 20), QPointF(50, 20));
    EXPECT_EQ(verticesOf(*polyline->polyline()), (Vertices{{0, 0}, {40, 0}, {50, 20}, {40, 40}}));
    EXPECT_EQ(doneTexts().back(), "Add polyline point");
}

} // namespace
} // namespace varnel::test
