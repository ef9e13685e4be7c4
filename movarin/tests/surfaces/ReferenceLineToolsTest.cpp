// Reference lines of a surface path as the user sets them: "Edit reference lines", a move to
// the vertex and a drag to the new direction; what the path operations do to default and
// set lines; and how the lines go with "Revert Edit", an applied edit and its undo. Oracles:
// the default line of every vertex recomputed from the path, the direction dragged to, and
// the undo stack. Also the decimals of the guide labels that the tools paint.
#include "SurfaceEditTestSupport.h"

#include "shell/RecordingPaintDevice.h"

#include "movarin/shell/SettingsKeys.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerGuideMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLineEditSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLineSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"

#include <QPainter>
#include <QSettings>

namespace varnel::test {
namespace {

using Action = SurfaceController::Action;
using Line = SurfaceController::ReferenceLine;
using Lines = SurfaceController::ReferenceLines;
using SelectTool = SurfaceController::ReferenceLineSelectionHelper;
using EditTool = SurfaceController::ReferenceLineEditSelectionHelper;

class ReferenceLineToolsTest : public SurfaceEditTest {
protected:
    /// "Edit reference lines", then a drag from the vertex at (x, y) to (x + dx, y + dy).
    void setLine(GeoEditSurfaceItem* surface, double x, double y, double dx, double dy)
    {
        trigger(surface, Action::EditReferenceLinesAction);
        EXPECT_TRUE(isTool<SelectTool>(surface));
        mouse().move(px(x + 1, y + 1));
        mouse().drag(px(x, y), px(x + dx, y + dy));
        EXPECT_TRUE(isTool<SurfaceController::WaitingSelectionHelper>(surface));
    }
    static Lines defaultsOf(const std::vector<tin::core::Point>& path) { return Line::defaultsFor(path); }
};

TEST_F(ReferenceLineToolsTest, APathOfTwoVerticesHasOneLineUpTheYAxisWhateverItsDirection)
{
    for (const QPointF& end : {QPointF(40, 40), QPointF(5, 50), QPointF(20, 70)}) {
        GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, end});
        SurfaceController* c = select(surface);
        const Lines expected{Line{tin::core::Point2D(0.0, 1.0), false}};
        EXPECT_EQ(c->pendingReferenceLines(), expected);
        EXPECT_EQ(c->committedReferenceLines(), expected);
    }
}

// The selection tool highlights the nearest vertex that has a line; the drag sets it to the
// direction dragged to, without marking the edit; Escape while dragging keeps the line.
TEST_F(ReferenceLineToolsTest, TheEditToolSetsTheDirectionDraggedToAndEscapeKeepsTheLine)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    const int entries = stack().count();
    trigger(surface, Action::EditReferenceLinesAction);
    ASSERT_TRUE(isTool<SelectTool>(surface));
    mouse().move(px(58, 52));
    EXPECT_EQ(static_cast<SelectTool*>(tool(surface))->highlighted(), 1u) << "the last vertex has no line";
    mouse().move(px(21, 49));
    EXPECT_EQ(static_cast<SelectTool*>(tool(surface))->highlighted(), 0u);

    mouse().press(px(20, 50));
    ASSERT_TRUE(isTool<EditTool>(surface));
    mouse().move(px(30, 60), Qt::LeftButton);
    EXPECT_EQ(static_cast<EditTool*>(tool(surface))->direction(), tin::core::Point2D(10, 10));
    mouse().key(Qt::Key_Escape);
    EXPECT_TRUE(isTool<SelectTool>(surface));
    mouse().release(px(30, 60));
    EXPECT_EQ(c->pendingReferenceLines(), defaultsOf(c->pendingPath())) << "Escape keeps the line";

    mouse().drag(px(40, 50), px(30, 70));
    EXPECT_TRUE(isTool<SurfaceController::WaitingSelectionHelper>(surface));
    Lines expected = defaultsOf(c->pendingPath());
    expected[1] = Line{tin::core::Point2D(-10, 20), true};
    EXPECT_EQ(c->pendingReferenceLines(), expected);
    EXPECT_FALSE(c->isEdited()) << "a reference line goes with the next applied edit";
    EXPECT_EQ(stack().count(), entries);

    // A release on the vertex itself points nowhere: the line stays.
    trigger(surface, Action::EditReferenceLinesAction);
    mouse().move(px(40, 50));
    mouse().click(px(40, 50));
    EXPECT_EQ(c->pendingReferenceLines(), expected);
}

// Dragging a vertex refreshes the default lines of it and of the next vertex and keeps the
// line the user set; the applied drag records the lines, and its undo and redo bring the
// committed lines back with the path.
TEST_F(ReferenceLineToolsTest, ADragKeepsSetLinesAndTheAppliedEditRecordsThem)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}, {80, 50}});
    SurfaceController* c = select(surface);
    const Lines before = c->committedReferenceLines();
    ASSERT_EQ(before, defaultsOf(c->pendingPath()));
    setLine(surface, 60, 50, 0, 10);
    const int entries = stack().count();

    dragBy(40, 50, 0, 4);
    ASSERT_EQ(stack().count(), entries + 1) << "applied at once";
    const std::vector<tin::core::Point> path = surface->path();
    ASSERT_EQ(std::get<1>(xyz(path)[1]), 54.0);
    Lines expected = defaultsOf(path);
    expected[2] = Line{tin::core::Point2D(0, 10), true};
    EXPECT_EQ(expected[1].direction, tin::core::Point2D(20, 4)) << "refreshed from the moved vertex";
    EXPECT_EQ(c->pendingReferenceLines(), expected);
    EXPECT_EQ(c->committedReferenceLines(), expected);

    stack().undo();
    EXPECT_EQ(c->committedReferenceLines(), before);
    EXPECT_EQ(c->pendingReferenceLines(), before);
    stack().redo();
    EXPECT_EQ(c->committedReferenceLines(), expected);
    EXPECT_EQ(c->pendingReferenceLines(), expected);
}

TEST_F(ReferenceLineToolsTest, AppendingAndRemovingTheFirstVertexKeepTheDefaults)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 60}});
    SurfaceController* c = select(surface);
    trigger(surface, Action::AddPointAction);
    mouse().move(px(80, 60));
    mouse().click(px(80, 60));
    ASSERT_EQ(surface->path().size(), 4u);
    Lines lines = c->pendingReferenceLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], (Line{tin::core::Point2D(20, 10), false})) << "along the segment arriving at it";
    EXPECT_EQ(lines, defaultsOf(surface->path()));

    mouse().key(Qt::Key_Escape);
    // A click on open ground drops the selection; then vertex 0 alone.
    clickVertex(50, 20);
    clickVertex(20, 50);
    ASSERT_EQ(tool(surface)->selectedIndices(), (std::set<std::size_t>{0}));
    trigger(surface, Action::DeletePointsAction);
    ASSERT_EQ(surface->path().size(), 3u);
    lines = c->pendingReferenceLines();
    EXPECT_EQ(lines[0], (Line{tin::core::Point2D(0, 1), false})) << "the new first vertex looks up the y axis";
    EXPECT_EQ(lines, defaultsOf(surface->path()));
    EXPECT_EQ(c->committedReferenceLines(), lines);
}

TEST_F(ReferenceLineToolsTest, RevertEditPutsTheCommittedLineBack)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    setBatchApply(surface, true);
    const Lines committed = c->committedReferenceLines();
    dragBy(60, 50, 0, 5);
    ASSERT_TRUE(c->isEdited());
    setLine(surface, 20, 50, -5, 5);
    ASSERT_TRUE(c->pendingReferenceLines()[0].defined);
    trigger(surface, Action::RevertEditAction);
    EXPECT_EQ(c->pendingReferenceLines(), committed);
    EXPECT_EQ(c->committedReferenceLines(), committed);
}

// The labels that the tools paint: 5 decimals in developers' mode, else 2 (read when a tool
// is made).
TEST_F(ReferenceLineToolsTest, GuideLabelsShowFiveDecimalsInDevelopersMode)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}});
    select(surface);
    const auto texts = [&] {
        QStringList found;
        for (const auto& helper : tool(surface)->viewHelpers()) {
            if (dynamic_cast<SurfaceController::GuideMainViewHelper*>(helper.get())) {
                RecordingPaintDevice device;
                QPainter painter(&device);
                helper->paintView(&painter, view()->transform(), view()->drawnRegion());
                painter.end();
                found = device.texts();
            }
        }
        return found;
    };
    for (const bool developers : {true, false}) {
        QSettings().setValue(settings::developersMode, developers);
        clickVertex(50, 20);
        ASSERT_TRUE(isTool<SurfaceController::WaitingSelectionHelper>(surface));
        const QStringList shown = texts();
        EXPECT_TRUE(shown.contains(developers ? "20.00000" : "20.00")) << shown.join(" | ").toStdString();
    }
    trigger(surface, Action::EditReferenceLinesAction);
    EXPECT_TRUE(texts().isEmpty()) << "no guide labels while a vertex is picked";
}

} // namespace
} // namespace varnel::test
