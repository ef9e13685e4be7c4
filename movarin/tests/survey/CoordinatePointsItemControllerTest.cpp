// An imported point set's own command: selected points copied into the points for the TIN as
// the very same point objects, with one undo entry, and its context menu.
#include "PointImportTestSupport.h"

#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsItemController.h"

#include <QMenu>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class CoordinatePointsItemControllerTest : public PointImportTest {
protected:
    void SetUp() override
    {
        PointImportTest::SetUp();
        importFile(writeTpo(QStringLiteral("a.tpo"),
                            {{0.0, 0.0, 1.0}, {1.0, 0.0, 2.0}, {0.0, 1.0, 3.0}, {1.0, 1.0, 4.0}}),
                   tpoFiles());
        ASSERT_EQ(items().size(), 1u);
        m_item = items()[0];
        m_points = m_item->pointSet()->allPoints();
        undoStack()->clear();
    }

    tin::core::PointSet* forTin() const { return root()->coordinatePointsForTinItem()->pointSet(); }
    CoordinatePointsItemController* itemController() const { return m_item->controller(); }

    CoordinatePointsItem* m_item = nullptr;
    std::vector<std::shared_ptr<tin::core::Point>> m_points;
};

TEST_F(CoordinatePointsItemControllerTest, CopyAddsTheSamePointObjectsAsOneUndoEntry)
{
    itemController()->selection() = {m_points[0], m_points[2]};
    itemController()->copyToPointsForTinAction()->trigger();

    EXPECT_TRUE(itemController()->selection().empty());
    ASSERT_EQ(undoStack()->count(), 1);
    // hasPoint compares objects, not positions.
    EXPECT_EQ(forTin()->allPoints().size(), 2u);
    EXPECT_TRUE(forTin()->hasPoint(m_points[0]));
    EXPECT_TRUE(forTin()->hasPoint(m_points[2]));
    EXPECT_EQ(m_item->pointSet()->allPoints().size(), 4u); // the imported set keeps them

    undoStack()->undo();
    EXPECT_TRUE(forTin()->empty());
    undoStack()->redo();
    EXPECT_TRUE(forTin()->hasPoint(m_points[0]));
    EXPECT_TRUE(forTin()->hasPoint(m_points[2]));
    EXPECT_EQ(forTin()->allPoints().size(), 2u);
}

TEST_F(CoordinatePointsItemControllerTest, EmptySelectionPushesACommandThatChangesNothing)
{
    itemController()->selection() = {m_points[1]};
    itemController()->copySelectedPointsToPointsForTin();
    itemController()->copySelectedPointsToPointsForTin();
    EXPECT_EQ(undoStack()->count(), 2);
    EXPECT_EQ(forTin()->allPoints().size(), 1u);
    undoStack()->undo();
    EXPECT_TRUE(forTin()->hasPoint(m_points[1]));
}

TEST_F(CoordinatePointsItemControllerTest, ContextMenuHoldsTheSelectionToolsAndTheCopy)
{
    QMenu menu;
    itemController()->addCustomMenuItems(&menu);
    EXPECT_EQ(actionTexts(menu), QStringList({"Select Points With Polygon", "Select All Points", "|",
                                  "Copy Selected Points To Points For Tin"}));
}

} // namespace
} // namespace varnel::test
