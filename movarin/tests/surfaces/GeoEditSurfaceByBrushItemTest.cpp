// A brush surface as the user meets it: deleted through the object browser and undone (the
// very triangle objects come back), renamed in place, kept in its place in the stack, and
// drawn on the main view as its filled triangles with a black outline.
#include "SurfacesTestSupport.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItemController.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStandardItem>
#include <QKeyEvent>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class GeoEditSurfaceByBrushItemTest : public SurfacesTest {
protected:
    mvc::core::Model* model() const { return m_window->model(); }
    mvc::core::ObjectBrowserView* browser() const { return model()->objectBrowserView(); }
    QUndoStack* undoStack() { return m_session.mainWindow().undoStack(); }

    /// The browser's delete action on the surface, the question answered Yes.
    void deleteThroughBrowser(GeoEditSurfaceItemI* surface, guimisc::UserDialogScript& script)
    {
        model()->select(surface);
        script.answer(QMessageBox::Yes);
        browser()->deleteAction()->trigger();
    }
};

TEST_F(GeoEditSurfaceByBrushItemTest, DeleteAndUndoSwapTheVeryTrianglesAndRefuseAnOverlappedOne)
{
    const auto before = identitiesOf(edited().allTriangles());
    GeoEditSurfaceByBrushItem* older = applyBrush(QStringLiteral("BrushEdit 1"), raiseCell(edited(), 3, 3, 12.0));
    const auto withOlder = identitiesOf(edited().allTriangles());
    GeoEditSurfaceByBrushItem* newer = applyBrush(
        QStringLiteral("BrushEdit 2"), splitTriangle(anyTriangle(older->addedTin()), 2.0));
    const auto withBoth = identitiesOf(edited().allTriangles());

    guimisc::UserDialogScript script;
    model()->select(older);
    browser()->deleteAction()->trigger();
    ASSERT_EQ(script.records().size(), 1u) << "no question after the refusal";
    EXPECT_EQ(script.records()[0].title, "Warning");
    EXPECT_EQ(script.records()[0].text, "BrushEdit 1 is overlapped with BrushEdit 2.");
    EXPECT_EQ(undoStack()->count(), 0);
    EXPECT_EQ(identitiesOf(edited().allTriangles()), withBoth);

    deleteThroughBrowser(newer, script);
    EXPECT_EQ(script.records().back().text, "Are you sure you want to delete GeoEdit surface BrushEdit 2?");
    EXPECT_EQ(identitiesOf(edited().allTriangles()), withOlder);
    deleteThroughBrowser(older, script);
    EXPECT_EQ(identitiesOf(edited().allTriangles()), before);
    EXPECT_TRUE(group()->childItems().empty());
    ASSERT_EQ(undoStack()->count(), 2);
    EXPECT_EQ(undoStack()->text(1), "Delete GeoEdit surface BrushEdit 1");

    undoStack()->undo();
    EXPECT_EQ(identitiesOf(edited().allTriangles()), withOlder);
    undoStack()->undo();
    EXPECT_EQ(identitiesOf(edited().allTriangles()), withBoth);
    EXPECT_EQ(surfacesOf(*group()), (std::vector<GeoEditSurfaceItemI*>{newer, older}));
    undoStack()->redo();
    undoStack()->redo();
    EXPECT_EQ(identitiesOf(edited().allTriangles()), before);
}

TEST_F(GeoEditSurfaceByBrushItemTest, EmptySurfaceDrawsNothingAndDeletesFreely)
{
    GeoEditSurfaceByBrushItem* empty = applyBrush(QStringLiteral("empty"), TinChange());
    GeoEditSurfaceByBrushItem* newer =
        applyBrush(QStringLiteral("newer"), raiseCell(edited(), 6, 6, 3.0));
    const auto applied = identitiesOf(edited().allTriangles());
    const QImage shown = m_window->view()->grab().toImage();
    empty->setUnchecked();
    EXPECT_EQ(m_window->view()->grab().toImage(), shown) << "the empty surface drew something";

    guimisc::UserDialogScript script;
    deleteThroughBrowser(empty, script);
    EXPECT_EQ(script.records().size(), 1u) << "no overlap warning";
    EXPECT_EQ(surfacesOf(*group()), std::vector<GeoEditSurfaceItemI*>{newer});
    EXPECT_EQ(identitiesOf(edited().allTriangles()), applied);
}

TEST_F(GeoEditSurfaceByBrushItemTest, SurfaceIsItsTerrainColoursWithABlackOutlineTwoPixelsWide)
{
    QSettings().setValue(settings::graphicsShowTinEdges, false);
    GeoEditSurfaceByBrushItem* surface = applyBrush(QStringLiteral("raised"), raiseCell(edited(), 3, 2, 40.0));
    mvc::core::View* view = m_window->view();
    const QImage drawn = view->grab().toImage();
    surface->setUnchecked();
    const QImage terrain = view->grab().toImage();
    ASSERT_EQ(drawn.size(), terrain.size());

    // The fill is the terrain's own: the surface adds black pixels on its outline, nothing else.
    const QRectF cell(view->conv(QPointF(3, 2)), view->conv(QPointF(4, 3)));
    const QRectF outline = cell.normalized();
    int changed = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) == terrain.pixel(x, y)) {
                continue;
            }
            ++changed;
            ASSERT_EQ(QColor(drawn.pixel(x, y)), QColor(Qt::black)) << x << ", " << y;
            const QPointF p(x + 0.5, y + 0.5);
            const bool nearSide = outline.adjusted(-2, -2, 2, 2).contains(p)
                                  && !outline.adjusted(2, 2, -2, -2).contains(p);
            EXPECT_TRUE(nearSide) << x << ", " << y << " is off the outline";
        }
    }
    EXPECT_GT(changed, 4 * static_cast<int>(outline.width()));
    // Across the middle of each side the line is two pixels wide.
    const QPointF middles[] = {view->conv(QPointF(3.5, 2)), view->conv(QPointF(3.5, 3)),
                               view->conv(QPointF(3, 2.5)), view->conv(QPointF(4, 2.5))};
    for (int side = 0; side < 4; ++side) {
        const QPoint m = middles[side].toPoint();
        const bool horizontal = side < 2;
        int black = 0;
        for (int d = -4; d <= 4; ++d) {
            const QPoint p = horizontal ? QPoint(m.x(), m.y() + d) : QPoint(m.x() + d, m.y());
            black += QColor(drawn.pixel(p)) == QColor(Qt::black) ? 1 : 0;
        }
        EXPECT_EQ(black, 2) << "side " << side;
    }
}

TEST_F(GeoEditSurfaceByBrushItemTest, NameIsEditedInTheBrowserAndThePlaceInTheStackIsFixed)
{
    GeoEditSurfaceByBrushItem* older = applyBrush(QStringLiteral("BrushEdit 1"), raiseCell(edited(), 1, 1, 2.0));
    GeoEditSurfaceByBrushItem* newer = applyBrush(QStringLiteral("BrushEdit 2"), raiseCell(edited(), 5, 1, 2.0));
    auto controller = static_cast<GeoEditSurfaceByBrushItemController*>(older->controller());
    model()->select(older);
    QMenu menu;
    controller->addCustomMenuItems(&menu);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), "Edit name");
    EXPECT_FALSE(browser()->moveUpAction()->isEnabled());
    EXPECT_FALSE(browser()->moveDownAction()->isEnabled());

    menu.actions()[0]->trigger();
    auto editor = browser()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "BrushEdit 1");
    editor->setText(QStringLiteral("levee"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    // The delegate commits the text queued.
    QApplication::processEvents();
    EXPECT_EQ(older->name(), "levee");
    EXPECT_EQ(older->caption(), "levee");
}

} // namespace
} // namespace varnel::test
