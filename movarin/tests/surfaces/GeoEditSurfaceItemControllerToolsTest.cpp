// The main-view tools of a mold-and-path surface: where a new vertex goes, selection by
// rubber band, the first press on a covered surface, Return with nothing to apply, vertices
// dragged over sloping ground, and the reference lines kept in step with the path. Oracles:
// a plane whose elevation tells the ground under any point, the undo stack's count, and the
// default reference line of every vertex recomputed from the path.
#include "SurfaceEditTestSupport.h"

#include "movarin/surfaces/GeoEditSurfaceItemControllerAddPointSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerEntranceSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelperSnapshot.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerTranslationSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"

#include <QCursor>

#include <map>
#include <random>

namespace varnel::test {
namespace {

using Action = SurfaceController::Action;
using Line = SurfaceController::ReferenceLine;
using Tool = SurfaceController::SelectionHelper;

double ground(double x, double y)
{
    return 0.01 * x + 0.02 * y;
}

class SurfaceToolsTest : public SurfaceEditTest {
protected:
    std::vector<tin::core::Point> path(const std::vector<QPointF>& xy) const
    {
        std::vector<tin::core::Point> points;
        for (const QPointF& p : xy) {
            points.emplace_back(p.x(), p.y(), 0.0);
        }
        return points;
    }
    std::size_t insertIndex(const std::vector<QPointF>& xy, double x, double y) const
    {
        return Tool::findInsertIndex(path(xy), view()->conv(QPointF(x, y)), view());
    }
};

TEST_F(SurfaceToolsTest, NewVerticesGoToTheNearestFootOrEnd)
{
    const std::vector<QPointF> bend{{20, 50}, {40, 50}, {40, 60}};
    // The feet on segment ends count for nothing: else the corner at (40, 50) would win.
    EXPECT_EQ(insertIndex(bend, 42, 50), 3u);
    EXPECT_EQ(insertIndex(bend, 40, 48), 3u);
    EXPECT_EQ(insertIndex(bend, 30, 52), 1u);
    EXPECT_EQ(insertIndex(bend, 38, 55), 2u);
    EXPECT_EQ(insertIndex(bend, 10, 50), 0u);
    EXPECT_EQ(insertIndex({{20, 50}, {40, 50}}, 45, 50), 2u);
    // Equally near to both segments: the lower index.
    EXPECT_EQ(insertIndex({{20, 50}, {40, 50}, {40, 70}}, 30, 60), 1u);
    EXPECT_EQ(Tool::findInsertIndex({}, QPointF(1, 1), view()), 0u);

    // Through the tool: a click on a vertex is refused, one beside a segment inserts there,
    // selected, with the edited TIN's elevation, applied at once.
    editedItem()->setTin(new tin::core::Tin(slopedTerrain()));
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    select(surface);
    trigger(surface, Action::AddPointAction);
    ASSERT_TRUE(isTool<SurfaceController::AddPointSelectionHelper>(surface));
    const int entries = stack().count();
    {
        guimisc::UserDialogScript script;
        mouse().move(px(40, 50));
        mouse().click(px(40, 50));
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].title, "Error");
        EXPECT_EQ(script.messageBoxes()[0].text, "Cannot add the same position more than once.");
    }
    EXPECT_EQ(surface->path().size(), 3u);
    // The edited TIN holds the surface itself: the new vertex takes its elevation there.
    double elevation = 0.0;
    ASSERT_TRUE(edited().interpolatedElevation(tin::core::Point2D(50, 51), &elevation));
    mouse().move(px(50, 51));
    const auto* adding = dynamic_cast<SurfaceController::AddPointSelectionHelper*>(tool(surface));
    ASSERT_NE(adding, nullptr);
    EXPECT_EQ(xyz(adding->preview()), (std::vector<std::tuple<double, double, double>>{
                                          {40, 50, ground(40, 50)}, {50, 51, 0}, {60, 50, ground(60, 50)}}));
    mouse().click(px(50, 51));
    ASSERT_EQ(surface->path().size(), 4u);
    EXPECT_EQ(surface->path()[2].x(), 50.0);
    EXPECT_EQ(surface->path()[2].elevation(), elevation);
    EXPECT_EQ(tool(surface)->selectedIndices(), (std::set<std::size_t>{2}));
    EXPECT_EQ(stack().count(), entries + 1);
    EXPECT_TRUE(isTool<SurfaceController::WaitingSelectionHelper>(surface))
        << "came from the entrance tool: one vertex, then the waiting tool";

    // Through the waiting tool, the tool stays for more vertices; Escape leaves it.
    trigger(surface, Action::AddPointAction);
    mouse().move(px(30, 49));
    mouse().click(px(30, 49));
    EXPECT_EQ(surface->path().size(), 5u);
    EXPECT_EQ(tool(surface)->selectedIndices(), (std::set<std::size_t>{1, 3}))
        << "the vertex selected before is still selected";
    EXPECT_TRUE(isTool<SurfaceController::AddPointSelectionHelper>(surface));
    mouse().key(Qt::Key_Escape);
    EXPECT_TRUE(isTool<SurfaceController::WaitingSelectionHelper>(surface));
}

TEST_F(SurfaceToolsTest, WhatAToolThrowsEndsInAnErrorBoxAndChangesNothing)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    select(surface);
    trigger(surface, Action::AddPointAction);
    editedItem()->setTin(new tin::core::Tin());
    const SurfaceState before = pendingOf(surface);
    guimisc::UserDialogScript script;
    mouse().move(px(50, 51));
    mouse().click(px(50, 51));
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Error");
    EXPECT_EQ(script.messageBoxes()[0].text, "Empty Tin.");
    EXPECT_EQ(pendingOf(surface), before);
    EXPECT_TRUE(isTool<SurfaceController::AddPointSelectionHelper>(surface));
    EXPECT_FALSE(controller(surface)->isEdited());
    EXPECT_EQ(stack().count(), 1);
}

TEST_F(SurfaceToolsTest, RubberBandsSelectAndShiftDeselects)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    select(surface);
    mouse().move(px(15, 55));
    mouse().drag(px(15, 55), px(45, 45));
    EXPECT_EQ(tool(surface)->selectedIndices(), (std::set<std::size_t>{0, 1}));
    EXPECT_TRUE(isTool<SurfaceController::WaitingSelectionHelper>(surface));
    mouse().move(px(35, 55));
    mouse().drag(px(35, 55), px(65, 45), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(tool(surface)->selectedIndices(), (std::set<std::size_t>{0, 2})) << "1 toggled off, 2 on";
    EXPECT_EQ(tool(surface)->selectedPoints().size(), 2u);
    // Without Shift a click on open ground drops the selection.
    mouse().click(px(50, 20));
    EXPECT_TRUE(tool(surface)->selectedIndices().empty());
    EXPECT_EQ(stack().count(), 1);
}

TEST_F(SurfaceToolsTest, ReturnOrADoubleClickWithNothingChangedPushesNothing)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    select(surface);
    const SurfaceState before = stateOf(surface);
    const int merges = m_merges;
    mouse().key(Qt::Key_Return);
    mouse().click(px(50, 20));
    mouse().key(Qt::Key_Return);
    mouse().doubleClick(px(50, 20));
    // A vertex clicked, not moved: selected, nothing applied.
    clickVertex(40, 50);
    EXPECT_EQ(tool(surface)->selectedIndices(), (std::set<std::size_t>{1}));
    EXPECT_FALSE(controller(surface)->isEdited());
    EXPECT_EQ(stack().count(), 1);
    EXPECT_EQ(m_merges, merges);
    EXPECT_EQ(stateOf(surface), before);
}

// "Apply Edit" from the context menu while the add-point tool is active: the pending edit is
// applied and no vertex is added where the menu was opened (the cursor), which is what a
// Return in that tool means.
TEST_F(SurfaceToolsTest, ApplyEditUnderTheAddPointToolAppliesAndAddsNoVertex)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    setBatchApply(surface, true);
    dragBy(40, 50, 0, 4);
    ASSERT_TRUE(c->isEdited());
    const SurfaceState pending = pendingOf(surface);
    trigger(surface, Action::AddPointAction);
    ASSERT_TRUE(isTool<SurfaceController::AddPointSelectionHelper>(surface));
    mouse().move(px(50, 60));
    QCursor::setPos(view()->mapToGlobal(px(50, 60)));
    const int entries = stack().count();

    trigger(surface, Action::ApplyEditAction);
    EXPECT_FALSE(c->isEdited());
    EXPECT_EQ(stack().count(), entries + 1);
    EXPECT_EQ(stack().undoText(), "Edit GeoEdit 1 (Add)");
    SurfaceState applied = stateOf(surface);
    applied.triangles = pending.triangles;
    EXPECT_EQ(applied, pending) << "the dragged path, three vertices";
    EXPECT_EQ(xyz(c->pendingPath()), pending.path);
    EXPECT_TRUE(isTool<SurfaceController::AddPointSelectionHelper>(surface));
    setBatchApply(surface, false);
}

TEST_F(SurfaceToolsTest, APressOnACoveredSurfaceStaysInTheEntranceTool)
{
    GeoEditSurfaceItem* older = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    addSurface("Concave (Sub)", {{40, 30}, {40, 70}});
    select(older);
    ASSERT_TRUE(isTool<SurfaceController::EntranceSelectionHelper>(older));
    const SurfaceState before = stateOf(older);
    guimisc::UserDialogScript script;
    dragBy(20, 50, 0, 5);
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].text, "GeoEdit 1 (Add) is overlapped with GeoEdit 2 (Sub).");
    EXPECT_TRUE(isTool<SurfaceController::EntranceSelectionHelper>(older));
    EXPECT_EQ(pendingOf(older), before);
    EXPECT_EQ(stateOf(older), before);
}

TEST_F(SurfaceToolsTest, DraggedVerticesKeepTheirHeightAboveTheGround)
{
    editedItem()->setTin(new tin::core::Tin(slopedTerrain()));
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}}, 1.5);
    SurfaceController* c = select(surface);
    setBatchApply(surface, true);
    const auto height = [&](std::size_t i) {
        const tin::core::Point& p = c->pendingPath()[i];
        return p.elevation() - ground(p.x(), p.y());
    };
    // Over the surface (the ground it replaced), beside it (the edited TIN) and back.
    mouse().move(px(40, 50));
    mouse().press(px(40, 50));
    for (const QPointF to : {QPointF(41, 52), QPointF(40, 58), QPointF(47, 30), QPointF(55, 53.25)}) {
        mouse().move(px(to.x(), to.y()), Qt::LeftButton);
        EXPECT_EQ(c->pendingPath()[1].x(), to.x());
        EXPECT_NEAR(height(1), 1.5, 1e-9) << to.x() << ", " << to.y();
        EXPECT_NEAR(height(0), 1.5, 1e-9) << "unselected vertices stay";
    }
    mouse().release(px(55, 53.25));
    trigger(surface, Action::ApplyEditAction);
    EXPECT_NEAR(surface->path()[1].elevation() - ground(55, 53.25), 1.5, 1e-9);

    // Two vertices at once, applied on the drop.
    setBatchApply(surface, false);
    mouse().move(px(15, 55));
    mouse().drag(px(15, 55), px(58, 45));
    ASSERT_EQ(tool(surface)->selectedIndices(), (std::set<std::size_t>{0, 1}));
    dragBy(30, 52, 4, -12);
    EXPECT_FALSE(c->isEdited());
    EXPECT_EQ(surface->path()[0].y(), 38.0);
    for (std::size_t i : {0u, 1u}) {
        const tin::core::Point& p = surface->path()[i];
        EXPECT_NEAR(p.elevation() - ground(p.x(), p.y()), 1.5, 1e-9) << i;
    }
}

TEST_F(SurfaceToolsTest, ADropWhereNoGroundIsKnownFails)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    // The ground the surface replaced about (25, 50) is forgotten: there the edited TIN
    // shows the surface itself, and what lies beneath is unknown.
    tin::core::Tin removed = surface->removedTin();
    for (const auto& t : removed.findTrianglesIntersectRect(tin::core::Rect(23, 48, 27, 52))) {
        removed.removeTriangle(t);
    }
    surface->setRemovedTin(removed);
    using Translation = SurfaceController::TranslationSelectionHelper;
    EXPECT_TRUE(Translation::terrainAt(*surface, &edited(), 25, 50).failed);
    EXPECT_FALSE(Translation::terrainAt(*surface, &edited(), 45, 50).failed);
    EXPECT_FALSE(Translation::terrainAt(*surface, &edited(), 25, 60).failed) << "beside the surface";
    EXPECT_FALSE(Translation::terrainAt(*surface, &edited(), 500, 50).found);

    select(surface);
    const SurfaceState before = stateOf(surface);
    const auto dropFails = [&](const std::function<void()>& drag) {
        guimisc::UserDialogScript script;
        drag();
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].title, "Warning");
        EXPECT_EQ(script.messageBoxes()[0].text, "Translation failed.");
        EXPECT_EQ(pendingOf(surface), before) << "reverted without batch apply";
        EXPECT_EQ(stateOf(surface), before);
        EXPECT_EQ(stack().count(), 1);
        EXPECT_TRUE(isTool<SurfaceController::WaitingSelectionHelper>(surface));
    };
    dropFails([&] { dragBy(20, 50, 5, 0); });
    // Two vertices: the first lands where the ground is unknown, the last where it is known.
    mouse().click(px(50, 20));
    mouse().move(px(15, 55));
    mouse().drag(px(15, 55), px(45, 45));
    ASSERT_EQ(tool(surface)->selectedIndices(), (std::set<std::size_t>{0, 1}));
    dropFails([&] { dragBy(30, 50, 5, 0); });
}

/// The reference lines after any sequence of path changes: one per vertex but the last;
/// a line the user set stays with its vertex (until that vertex becomes the last), every
/// other line is its vertex's default. Vertices are told apart by their ids.
TEST_F(SurfaceToolsTest, ReferenceLinesFollowTheirVertices)
{
    std::vector<tin::core::Point> points{tin::core::Point(0, 0, 0.0, 0), tin::core::Point(3, 4, 0.0, 1)};
    SurfaceController::ReferenceLines lines = Line::defaultsFor(points);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], (Line{tin::core::Point2D(0, 1), false})) << "vertex 0 looks up the y axis";

    std::map<int, tin::core::Point2D> set;
    std::mt19937 random(20240611);
    int nextId = 2;
    const auto uniform = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (int step = 0; step < 2000; ++step) {
        const std::size_t n = points.size();
        const int op = uniform(4);
        if (op == 0 || n < 2) {
            const std::size_t i = uniform(static_cast<int>(n) + 1);
            points.insert(points.begin() + i, tin::core::Point(uniform(100), uniform(100), 0.0, nextId++));
            Line::afterInsert(lines, points, i);
        } else if (op == 1) {
            const std::size_t i = uniform(static_cast<int>(n));
            set.erase(points[i].id());
            points.erase(points.begin() + i);
            Line::afterRemove(lines, points, i);
        } else if (op == 2) {
            const std::size_t i = uniform(static_cast<int>(n));
            points[i].setPosition(uniform(100), uniform(100));
            Line::afterMove(lines, points, i);
        } else {
            const std::size_t k = uniform(static_cast<int>(n) - 1);
            lines[k] = {tin::core::Point2D(uniform(9) - 4, uniform(9) - 4), true};
            set[points[k].id()] = lines[k].direction;
        }
        if (!points.empty()) {
            set.erase(points.back().id());
        }
        ASSERT_EQ(lines.size(), points.size() < 2 ? 0 : points.size() - 1) << "step " << step;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const auto user = set.find(points[k].id());
            const Line expected = user != set.end() ? Line{user->second, true} : Line::defaultFor(points, k);
            ASSERT_EQ(lines[k], expected) << "step " << step << ", line " << k;
        }
    }
}

TEST_F(SurfaceToolsTest, ASnapshotPutsThePendingPathBackOnlyWhenAskedTo)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    for (const bool restore : {false, true}) {
        const SurfaceState before = pendingOf(surface);
        {
            auto snapshot = c->activeHelper()->snapshot();
            c->insertPendingPoint(3, tin::core::Point(70, 50, 0.0));
            c->movePendingPoint(0, tin::core::Point(15, 45, 0.0));
            c->removePendingPoint(1);
            snapshot->setRestore(restore);
        }
        EXPECT_EQ(pendingOf(surface) == before, restore);
        EXPECT_EQ(c->pendingPath().size(), 3u);
    }
    EXPECT_THROW(c->removePendingPoint(3), std::out_of_range);
    EXPECT_THROW(c->insertPendingPoint(4, tin::core::Point(0, 0)), std::out_of_range);
}

} // namespace
} // namespace varnel::test
