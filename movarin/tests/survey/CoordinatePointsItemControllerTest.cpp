// An imported point set's own command: selected points copied into the points for the TIN as
// the very same point objects, one undo entry per copy; the import and the copy draw their
// points before the wait cursor goes, as does Select All with its rings.
#include "PointImportTestSupport.h"

#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsItemController.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using CoordinatePointsItemControllerTest = PointImportTest;

/// The override cursor's shape at each paint of a widget (-1 for none).
class PaintCursors : public QObject {
public:
    explicit PaintCursors(QWidget* widget) { widget->installEventFilter(this); }
    std::vector<int> shapes;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const QCursor* cursor = QApplication::overrideCursor();
            shapes.push_back(cursor ? cursor->shape() : -1);
        }
        return false;
    }
};

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

TEST_F(CoordinatePointsItemControllerTest, ImportSelectAllAndCopyArePaintedUnderTheWaitCursor)
{
    ProjectSession::subWindowOf(window())->show();
    QApplication::processEvents();
    PaintCursors paints(view());
    // Each action draws what it changed before it returns, under the wait cursor.
    auto expectPaintedUnderTheCursor = [&](const char* action) {
        EXPECT_EQ(paints.shapes, std::vector<int>{Qt::WaitCursor}) << action;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << action;
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
        }
        paints.shapes.clear();
    };

    importFile(writeTpo(QStringLiteral("a.tpo"), {{0.0, 0.0, 1.0}, {1.0, 0.0, 2.0}, {0.0, 1.0, 3.0}}),
               tpoFiles());
    ASSERT_EQ(items().size(), 1u);
    expectPaintedUnderTheCursor("import");
    CoordinatePointsItem* item = items()[0];
    item->controller()->selectAllAction()->trigger();
    expectPaintedUnderTheCursor("select all");
    item->controller()->copyToPointsForTinAction()->trigger();
    expectPaintedUnderTheCursor("copy");
    EXPECT_EQ(root()->coordinatePointsForTinItem()->pointSet()->allPoints().size(), 3u);
}

} // namespace
} // namespace varnel::test
