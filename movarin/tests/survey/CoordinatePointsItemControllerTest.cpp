// An imported point set's own command: selected points copied into the points for the TIN as
// the very same point objects, one undo entry per copy.
#include "PointImportTestSupport.h"

#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsItemController.h"

#include <QAction>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using CoordinatePointsItemControllerTest = PointImportTest;

TEST_F(CoordinatePointsItemControllerTest, CopyAddsTheSamePointObjectsAsOneUndoEntry)
{
    importFile(writeTpo(QStringLiteral("a.tpo"),
                        {{0.0, 0.0, 1.0}, {1.0, 0.0, 2.0}, {0.0, 1.0, 3.0}, {1.0, 1.0, 4.0}}),
               tpoFiles());
    ASSERT_EQ(items().size(), 1u);
    CoordinatePointsItem* item = items()[0];
    const auto points = item->pointSet()->allPoints();
    tin::core::PointSet* forTin = root()->coordinatePointsForTinItem()->pointSet();
    undoStack()->clear();

    item->controller()->selection() = {points[0], points[2]};
    item->controller()->copyToPointsForTinAction()->trigger();
    EXPECT_TRUE(item->controller()->selection().empty());
    ASSERT_EQ(undoStack()->count(), 1);
    // hasPoint compares objects, not positions.
    EXPECT_EQ(forTin->allPoints().size(), 2u);
    EXPECT_TRUE(forTin->hasPoint(points[0]));
    EXPECT_TRUE(forTin->hasPoint(points[2]));
    EXPECT_EQ(item->pointSet()->allPoints().size(), 4u); // the imported set keeps them

    undoStack()->undo();
    EXPECT_TRUE(forTin->empty());
    undoStack()->redo();
    EXPECT_EQ(forTin->allPoints().size(), 2u);
    EXPECT_TRUE(forTin->hasPoint(points[0]));

    // With the selection now empty the copy still pushes a command, which changes nothing.
    item->controller()->copySelectedPointsToPointsForTin();
    EXPECT_EQ(undoStack()->count(), 2);
    undoStack()->undo();
    EXPECT_EQ(forTin->allPoints().size(), 2u);
}

} // namespace
} // namespace varnel::test
