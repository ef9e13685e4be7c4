// The point-set edits as undo commands on a real project: apply, undo, apply again.
#include "PointSetTestSupport.h"

#include "movarin/survey/CoordinatePointsBaseItemEditElevationDialog.h"

#include "support/ScratchSettings.h"

#include <QDoubleSpinBox>

#include <gtest/gtest.h>

#include <map>

namespace varnel::test {
namespace {

using PointPtr = std::shared_ptr<tin::core::Point>;
using Selection = CoordinatePointsBaseItemController::Selection;

class PointCommandsTest : public ScratchSettingsTest {
protected:
    void SetUp() override { ScratchSettings::writeStartupDefaults(); }

    static Selection allOf(const CoordinatePointsBaseItem* item)
    {
        const auto points = item->pointSet()->allPoints();
        return Selection(points.begin(), points.end());
    }
    static Selection heldBy(const CoordinatePointsBaseItem* item, const Selection& points)
    {
        Selection held;
        for (const PointPtr& p : points) {
            if (item->pointSet()->hasPoint(p)) {
                held.insert(p);
            }
        }
        return held;
    }

    PointScene m_scene;
};

TEST_F(PointCommandsTest, ElevationEditRestoresEachOwnElevation)
{
    TestPointsItem* item = m_scene.addItem({{0.0, 0.0, 1.5}, {1.0, 0.0, -2.0}, {0.0, 1.0, 30.0}});
    CoordinatePointsBaseItemController* controller = item->controller();
    controller->selectAllPoints();
    std::map<PointPtr, double> before;
    for (const PointPtr& p : item->pointSet()->allPoints()) {
        before[p] = p->elevation();
    }
    controller->editPointsElevation(controller->selection(), 7.25);
    EXPECT_TRUE(controller->selection().empty());
    EXPECT_TRUE(item->isModified());
    for (const auto& [p, z] : before) {
        EXPECT_EQ(p->elevation(), 7.25);
    }
    controller->selectAllPoints();
    m_scene.undoStack()->undo();
    EXPECT_TRUE(controller->selection().empty());
    EXPECT_FALSE(item->isModified());
    for (const auto& [p, z] : before) {
        EXPECT_EQ(p->elevation(), z);
        EXPECT_EQ(item->pointSet()->findPointsAt(*p).front(), p); // x and y unchanged
    }
    m_scene.undoStack()->redo();
    for (const auto& [p, z] : before) {
        EXPECT_EQ(p->elevation(), 7.25);
    }
}

TEST_F(PointCommandsTest, ElevationDialogGivesTheNewValueOnOkOnly)
{
    CoordinatePointsBaseItemEditElevationDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Edit Elevation");
    auto spinBox = dialog.findChild<QDoubleSpinBox*>("doubleSpinBox");
    ASSERT_NE(spinBox, nullptr);
    EXPECT_EQ(spinBox->decimals(), 5);
    dialog.setElevation(12.5);
    spinBox->setValue(-3.12345);
    dialog.reject();
    EXPECT_EQ(dialog.elevation(), 12.5);
    spinBox->setValue(-3.12345);
    dialog.accept();
    EXPECT_EQ(dialog.elevation(), -3.12345);
    spinBox->setValue(250000.0); // beyond the range
    dialog.accept();
    EXPECT_EQ(dialog.elevation(), 100000.0);
}

TEST_F(PointCommandsTest, AddAndRemoveMoveTheSamePointObjects)
{
    TestPointsItem* source = m_scene.addItem({{0.0, 0.0, 1.0}, {1.0, 0.0, 2.0}, {0.0, 1.0, 3.0}});
    TestPointsItem* target = m_scene.addItem();
    CoordinatePointsBaseItemController* controller = source->controller();
    const Selection points = allOf(source);

    controller->addPoints(points, target);
    EXPECT_EQ(allOf(target), points);
    m_scene.undoStack()->undo();
    EXPECT_TRUE(target->pointSet()->empty());
    EXPECT_EQ(allOf(source), points);
    m_scene.undoStack()->redo();
    EXPECT_EQ(allOf(target), points);

    controller->removePoints(points);
    EXPECT_TRUE(source->pointSet()->empty());
    EXPECT_EQ(allOf(target), points); // shared, not moved out of the other set
    m_scene.undoStack()->undo();
    EXPECT_EQ(allOf(source), points);
    m_scene.undoStack()->redo();
    EXPECT_TRUE(source->pointSet()->empty());
}

TEST_F(PointCommandsTest, CommandsChangeOnlyWhatTheyChange)
{
    TestPointsItem* source = m_scene.addItem({{0.0, 0.0, 1.0}, {1.0, 0.0, 2.0}, {0.0, 1.0, 3.0}});
    TestPointsItem* target = m_scene.addItem();
    CoordinatePointsBaseItemController* controller = source->controller();
    const Selection all = allOf(source);
    Selection two = all;
    two.erase(two.begin());

    // The same points copied twice: undoing the second copy keeps the first.
    controller->addPoints(two, target);
    controller->addPoints(all, target);
    EXPECT_EQ(allOf(target), all);
    m_scene.undoStack()->undo();
    EXPECT_EQ(allOf(target), two);
    m_scene.undoStack()->undo();
    EXPECT_TRUE(target->pointSet()->empty());
    m_scene.undoStack()->redo();
    m_scene.undoStack()->redo();
    EXPECT_EQ(allOf(target), all);

    // Removing points of which one is not held: undo gives back only the held ones.
    const auto stranger = std::make_shared<tin::core::Point>(5.0, 5.0, 5.0);
    Selection some = two;
    some.insert(stranger);
    target->controller()->removePoints(some);
    EXPECT_EQ(allOf(target), heldBy(target, all));
    EXPECT_EQ(allOf(target).size(), 1u);
    m_scene.undoStack()->undo();
    EXPECT_EQ(allOf(target), all);
    EXPECT_FALSE(target->pointSet()->hasPoint(stranger));
}

} // namespace
} // namespace varnel::test
