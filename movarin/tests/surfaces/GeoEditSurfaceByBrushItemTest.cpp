// A brush surface as the user meets it: deleted through the object browser and undone (the
// very triangle objects come back), refused while a newer surface covers it, renamed in
// place, kept in its place in the stack, and drawn as its terrain colours with a black outline.
#include "SurfacesTestSupport.h"

#include "movarin/shell/SettingsKeys.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItemController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using GeoEditSurfaceByBrushItemTest = SurfacesTest;

TEST_F(GeoEditSurfaceByBrushItemTest, DeleteAndUndoSwapTheVeryTrianglesAndRefuseACoveredSurface)
{
    const Identities before = identities(edited());
    GeoEditSurfaceByBrushItem* older = applyBrush(QStringLiteral("BrushEdit 1"), raiseCell(edited(), 3, 3, 12.0));
    const Identities withOlder = identities(edited());
    GeoEditSurfaceByBrushItem* newer =
        applyBrush(QStringLiteral("BrushEdit 2"), splitTriangle(anyTriangle(older->addedTin()), 2.0));
    const Identities withBoth = identities(edited());
    EXPECT_EQ(older->overlappingSibling(), newer);
    EXPECT_EQ(newer->overlappingSibling(), nullptr);
    // The test after an edit: the older surface's new removed triangles include the newer's added.
    const tin::core::Tin removed = older->removedTin();
    older->setRemovedTin(newer->addedTin());
    EXPECT_EQ(older->siblingOverlappedByEdit(), newer);
    older->setRemovedTin(removed);

    guimisc::UserDialogScript script;
    older->model()->select(older);
    older->model()->objectBrowserView()->deleteAction()->trigger();
    ASSERT_EQ(script.records().size(), 1u) << "no question after the refusal";
    EXPECT_EQ(script.records()[0].text, "BrushEdit 1 is overlapped with BrushEdit 2.");
    deleteThroughBrowser(newer, script);
    EXPECT_EQ(script.records().back().text, "Are you sure you want to delete GeoEdit surface BrushEdit 2?");
    EXPECT_EQ(identities(edited()), withOlder);
    deleteThroughBrowser(older, script);
    EXPECT_EQ(identities(edited()), before);

    QUndoStack* stack = m_session.mainWindow().undoStack();
    ASSERT_EQ(stack->count(), 2);
    EXPECT_EQ(stack->text(1), "Delete GeoEdit surface BrushEdit 1");
    stack->undo();
    EXPECT_EQ(identities(edited()), withOlder);
    stack->undo();
    EXPECT_EQ(identities(edited()), withBoth);
    EXPECT_EQ(surfacesOf(*group()), (std::vector<GeoEditSurfaceItemI*>{newer, older}));
    stack->redo();
    stack->redo();
    EXPECT_EQ(identities(edited()), before);
}

TEST_F(GeoEditSurfaceByBrushItemTest, EmptySurfaceDrawsNothingAndDeletesFreely)
{
    GeoEditSurfaceByBrushItem* empty = applyBrush(QStringLiteral("empty"), TinChange());
    GeoEditSurfaceByBrushItem* newer = applyBrush(QStringLiteral("newer"), raiseCell(edited(), 6, 6, 3.0));
    const Identities applied = identities(edited());
    const QImage shown = m_window->view()->grab().toImage();
    empty->setUnchecked();
    EXPECT_EQ(m_window->view()->grab().toImage(), shown) << "the empty surface drew something";

    guimisc::UserDialogScript script;
    deleteThroughBrowser(empty, script);
    EXPECT_EQ(script.records().size(), 1u) << "no overlap warning";
    EXPECT_EQ(surfacesOf(*group()), std::vector<GeoEditSurfaceItemI*>{newer});
    EXPECT_EQ(identities(edited()), applied);
}

TEST_F(GeoEditSurfaceByBrushItemTest, SurfaceIsItsTerrainColoursWithABlackOutlineTwoPixelsWide)
{
    QSettings().setValue(settings::graphicsShowTinEdges, false);
    GeoEditSurfaceByBrushItem* surface = applyBrush(QStringLiteral("raised"), raiseCell(edited(), 10, 8, 40.0));
    mvc::core::View* view = m_window->view();
    view->fit(QRectF(18, 14, 6, 6));
    const QImage drawn = view->grab().toImage();
    surface->setUnchecked();
    const QImage terrain = view->grab().toImage();

    // The fill is the terrain's own: the surface adds black pixels on its outline only.
    const QRectF outline = QRectF(view->conv(QPointF(20, 16)), view->conv(QPointF(22, 18))).normalized();
    int changed = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) != terrain.pixel(x, y)) {
                ++changed;
                ASSERT_EQ(QColor(drawn.pixel(x, y)), QColor(Qt::black)) << x << ", " << y;
                const QPointF p(x + 0.5, y + 0.5);
                EXPECT_TRUE(outline.adjusted(-2, -2, 2, 2).contains(p) && !outline.adjusted(2, 2, -2, -2).contains(p))
                    << x << ", " << y << " is off the outline";
            }
        }
    }
    EXPECT_GT(changed, 4 * static_cast<int>(outline.width()));
    // Across the middle of each side the line is two pixels wide.
    const QPointF middles[] = {view->conv(QPointF(21, 16)), view->conv(QPointF(21, 18)),
                               view->conv(QPointF(20, 17)), view->conv(QPointF(22, 17))};
    for (int side = 0; side < 4; ++side) {
        int black = 0;
        for (int d = -4; d <= 4; ++d) {
            const QPoint p = middles[side].toPoint() + (side < 2 ? QPoint(0, d) : QPoint(d, 0));
            black += QColor(drawn.pixel(p)) == QColor(Qt::black) ? 1 : 0;
        }
        EXPECT_EQ(black, 2) << "side " << side;
    }
}

TEST_F(GeoEditSurfaceByBrushItemTest, NameIsEditedInTheBrowserAndThePlaceInTheStackIsFixed)
{
    GeoEditSurfaceByBrushItem* older = applyBrush(QStringLiteral("BrushEdit 1"), raiseCell(edited(), 1, 1, 2.0));
    applyBrush(QStringLiteral("BrushEdit 2"), raiseCell(edited(), 5, 1, 2.0));
    mvc::core::ObjectBrowserView* browser = older->model()->objectBrowserView();
    older->model()->select(older);
    QMenu menu;
    older->controller()->addCustomMenuItems(&menu);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), "Edit name");
    EXPECT_FALSE(browser->moveUpAction()->isEnabled());
    EXPECT_FALSE(browser->moveDownAction()->isEnabled());

    menu.actions()[0]->trigger();
    auto editor = browser->findChild<QLineEdit*>();
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
