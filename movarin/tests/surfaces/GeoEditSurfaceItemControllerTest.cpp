// The surface controller as the user drives it: the context-menu actions, vertex drags on
// the main view, boxes answered by the message script, the "Mold Setting" dialog by the
// modal answerer, Undo and Redo through the project's stack. Oracles: the surface's state
// and the edited TIN's triangle objects before and after, the undo stack's count, and a
// counting seam in front of every merge.
#include "SurfaceEditTestSupport.h"

#include <cmath>

#include "support/ModalAnswerer.h"

#include "movarin/surfaces/GeoEditSurfaceItemControllerAddPointSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerEntranceSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"
#include "movarin/surfaces/MoldItemPropertyDialog.h"

#include "brask/proj/ProjectFile.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <stdexcept>

namespace varnel::test {
namespace {

using Action = SurfaceController::Action;

class SurfaceControllerTest : public SurfaceEditTest {
protected:
    /// One box was shown, with this title and text.
    static void expectBox(const guimisc::UserDialogScript& script, const QString& title, const QString& text)
    {
        ASSERT_EQ(script.messageBoxes().size(), 1u) << text.toStdString();
        EXPECT_EQ(script.messageBoxes()[0].title, title);
        EXPECT_EQ(script.messageBoxes()[0].text, text);
    }
    /// A drag of the vertex at (x, y) by (dx, dy) refused with the "Warning" box `text`: the
    /// surface, its pending edit, the edited TIN and the undo stack stay as they were.
    void expectRefusedDrag(GeoEditSurfaceItem* surface, double x, double y, double dx, double dy,
                           const QString& text)
    {
        const SurfaceState before = stateOf(surface);
        const int entries = stack().count();
        guimisc::UserDialogScript script;
        dragBy(x, y, dx, dy);
        expectBox(script, "Warning", text);
        EXPECT_EQ(stateOf(surface), before);
        EXPECT_EQ(pendingOf(surface), before);
        EXPECT_EQ(stack().count(), entries);
    }
};

TEST_F(SurfaceControllerTest, MenuAndTheEditedStateOfApplyAndRevert)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    QMenu menu;
    c->addCustomMenuItems(&menu);
    QStringList texts;
    for (QAction* action : menu.actions()) {
        texts << action->text();
    }
    EXPECT_EQ(texts, QStringList({"Edit name", "Add Point", "Delete Points", "Edit Path", "Close/Unclose Path",
                                  "Replace Mold", "Edit Mold", "Edit reference lines", "", "Batch Apply",
                                  "Apply Edit", "Revert Edit"}));
    EXPECT_TRUE(c->action(Action::BatchApplyAction)->isCheckable());
    EXPECT_FALSE(c->isEdited());
    EXPECT_FALSE(c->action(Action::ApplyEditAction)->isEnabled());
    EXPECT_FALSE(c->action(Action::RevertEditAction)->isEnabled());

    // The batch flag is shared: a second surface's action follows the first's.
    GeoEditSurfaceItem* other = addSurface("Convex (Add)", {{20, 20}, {60, 20}});
    setBatchApply(surface, true);
    EXPECT_TRUE(groupController()->isBatchApplyEnabled());
    EXPECT_TRUE(controller(other)->isBatchApply());
    select(surface);
    dragBy(40, 50, 0, 3);
    EXPECT_TRUE(c->isEdited());
    EXPECT_TRUE(c->action(Action::ApplyEditAction)->isEnabled());
    EXPECT_TRUE(c->action(Action::RevertEditAction)->isEnabled());
    trigger(surface, Action::ApplyEditAction);
    EXPECT_FALSE(c->isEdited());
    EXPECT_FALSE(c->action(Action::ApplyEditAction)->isEnabled());
    EXPECT_EQ(stack().undoText(), "Edit GeoEdit 1 (Add)");
}

// Applying a vertex drag sweeps and merges the surface anew, and undo and redo swap the edited
// TIN's triangles: each under the wait cursor, which is down again afterwards.
TEST_F(SurfaceControllerTest, ApplyingAnEditAndItsUndoAndRedoShowTheWaitCursor)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    std::vector<int> shapes;
    QObject::connect(editedItem(), &TinItem::tinChanged, [&shapes] {
        const QCursor* cursor = QApplication::overrideCursor();
        shapes.push_back(cursor ? cursor->shape() : -1);
    });
    const auto expectWaited = [&](const char* what) {
        EXPECT_FALSE(shapes.empty()) << what << " changed nothing";
        EXPECT_EQ(shapes, std::vector<int>(shapes.size(), Qt::WaitCursor)) << what;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << what << " left the cursor up";
        shapes.clear();
    };
    setBatchApply(surface, true);
    dragBy(40, 50, 0, 3);
    ASSERT_TRUE(c->isEdited());
    EXPECT_TRUE(shapes.empty()) << "the pending drag changes no TIN";
    trigger(surface, Action::ApplyEditAction);
    ASSERT_EQ(stack().undoText(), "Edit GeoEdit 1 (Add)");
    expectWaited("Apply Edit");
    stack().undo();
    expectWaited("undo of the edit");
    stack().redo();
    expectWaited("redo of the edit");
}

// The rows of the failure table that refuse a change: the box, and nothing else.
TEST_F(SurfaceControllerTest, RefusedChangesWarnAndChangeNothing)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    const SurfaceState before = stateOf(surface);
    const int entries = stack().count();
    const auto refused = [&](const std::function<void()>& act, const QString& text) {
        guimisc::UserDialogScript script;
        act();
        expectBox(script, "Warning", text);
        EXPECT_EQ(stateOf(surface), before) << text.toStdString();
        EXPECT_EQ(pendingOf(surface), before) << text.toStdString();
        EXPECT_EQ(stack().count(), entries) << text.toStdString();
    };
    refused([&] { trigger(surface, Action::DeletePointsAction); }, "No point is selected.");
    clickVertex(60, 50);
    ASSERT_EQ(tool(surface)->selectedIndices(), (std::set<std::size_t>{1}));
    refused([&] { trigger(surface, Action::DeletePointsAction); }, "No point can be further deleted.");
    refused([&] { trigger(surface, Action::CloseUnclosePathAction); }, "The number of vertex is insufficient.");
    // The Sub tab has no mold picked.
    groupController()->moldsContainerBrowser()->findChild<QTabWidget*>("tabWidget")->setCurrentIndex(1);
    refused([&] { trigger(surface, Action::ReplaceMoldAction); }, "No Mold is selected.");

    setBatchApply(surface, true);
    dragBy(60, 50, 0, 4);
    ASSERT_TRUE(c->isEdited());
    {
        guimisc::UserDialogScript script;
        setBatchApply(surface, false);
        expectBox(script, "Warning",
                  "The selected item has already been edited. Apply or revert before disabling batch apply.");
    }
    EXPECT_TRUE(c->isBatchApply());
    EXPECT_TRUE(groupController()->isBatchApplyEnabled());
    EXPECT_TRUE(c->isEdited());
    EXPECT_EQ(stack().count(), entries);
}

// Unchecking "Batch Apply" on one surface while another holds a pending batch edit: the
// Warning once, and the flag stays on for every surface. The group's announcement of the
// unchecked flag used to uncheck the edited surface's action, whose refusal checked it again
// and announced that, round the controllers for ever.
TEST_F(SurfaceControllerTest, BatchApplyStaysOnWhileAnotherSurfaceHasAPendingEditAndWarnsOnce)
{
    GeoEditSurfaceItem* first = addSurface("Convex (Add)", {{20, 30}, {60, 30}});
    GeoEditSurfaceItem* second = addSurface("Convex (Add)", {{20, 70}, {60, 70}});
    ASSERT_EQ(second->caption(), "GeoEdit 2 (Add)");
    select(second);
    setBatchApply(second, true);
    pickMold("Slope 1 (Add)");
    trigger(second, Action::ReplaceMoldAction);
    ASSERT_TRUE(controller(second)->isEdited());
    const SurfaceState pending = pendingOf(second);
    const int entries = stack().count();

    select(first);
    guimisc::UserDialogScript script;
    int shown = 0;
    script.setFallback([&](const guimisc::UserDialogScript::Record&) {
        // Past a few boxes the announcements would go round for ever: they are stopped.
        if (++shown > 3) {
            groupController()->blockSignals(true);
        }
        guimisc::UserDialogScript::Answer ok;
        ok.sort = guimisc::UserDialogScript::Answer::Sort::Button;
        ok.button = QMessageBox::Ok;
        return ok;
    });
    controller(first)->action(Action::BatchApplyAction)->trigger();
    groupController()->blockSignals(false);
    expectBox(script, "Warning",
              "The selected item has already been edited. Apply or revert before disabling batch apply.");
    EXPECT_TRUE(groupController()->isBatchApplyEnabled());
    for (GeoEditSurfaceItem* surface : {first, second}) {
        EXPECT_TRUE(controller(surface)->isBatchApply()) << surface->caption().toStdString();
    }
    EXPECT_TRUE(controller(second)->isEdited());
    EXPECT_FALSE(controller(first)->isEdited());
    EXPECT_EQ(pendingOf(second), pending);
    EXPECT_EQ(stack().count(), entries);

    // Once the edit is applied, batch apply goes off for both.
    select(second);
    trigger(second, Action::ApplyEditAction);
    ASSERT_FALSE(controller(second)->isEdited());
    select(first);
    controller(first)->action(Action::BatchApplyAction)->trigger();
    EXPECT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_FALSE(groupController()->isBatchApplyEnabled());
    for (GeoEditSurfaceItem* surface : {first, second}) {
        EXPECT_FALSE(controller(surface)->isBatchApply()) << surface->caption().toStdString();
    }
}

TEST_F(SurfaceControllerTest, ACoveredSurfaceRefusesEveryChangeAndItsDeletion)
{
    GeoEditSurfaceItem* older = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    GeoEditSurfaceItem* newer = addSurface("Concave (Sub)", {{40, 30}, {40, 70}});
    pickMold("Slope 1 (Add)");
    select(older);
    const SurfaceState before = stateOf(older);
    const int entries = stack().count();
    for (const Action action : {Action::AddPointAction, Action::DeletePointsAction, Action::EditPathAction,
                                Action::CloseUnclosePathAction, Action::ReplaceMoldAction, Action::EditMoldAction}) {
        guimisc::UserDialogScript script;
        trigger(older, action);
        expectBox(script, "Warning", "GeoEdit 1 (Add) is overlapped with GeoEdit 2 (Sub).");
        EXPECT_FALSE(isTool<SurfaceController::AddPointSelectionHelper>(older));
    }
    {
        guimisc::UserDialogScript script;
        older->model()->objectBrowserView()->deleteAction()->trigger();
        expectBox(script, "Warning", "GeoEdit 1 (Add) is overlapped with GeoEdit 2 (Sub).");
    }
    EXPECT_EQ(stateOf(older), before);
    EXPECT_EQ(stack().count(), entries);
    EXPECT_EQ(group()->childItems().size(), 2u);

    // The newest surface is always editable; taking it off frees the older one.
    SurfaceController* front = select(newer);
    EXPECT_TRUE(front->verifyEditable());
    stack().undo();
    EXPECT_TRUE(select(older)->verifyEditable());
}

// The roll-backs of an applied change: each leaves path, mold, closed flag, reference lines
// and the edited TIN's triangle objects as they were and pushes nothing; without batch
// apply the pending edit is reverted, with it the pending edit stays for the user to mend.
TEST_F(SurfaceControllerTest, FailedAppliesRollBackEverything)
{
    GeoEditSurfaceItem* hairpin = addSurface("Concave (Add)", {{20, 50}, {50, 50}, {50, 70}});
    SurfaceController* c = select(hairpin);
    for (const bool batch : {false, true}) {
        setBatchApply(hairpin, batch);
        const SurfaceState before = stateOf(hairpin);
        const int entries = stack().count();
        const int merges = m_merges;
        {
            guimisc::UserDialogScript script;
            dragBy(50, 70, -30, -17);
            if (batch) {
                EXPECT_TRUE(script.messageBoxes().empty());
                trigger(hairpin, Action::ApplyEditAction);
            }
            expectBox(script, "Warning", "Invalid Tin shape.");
        }
        EXPECT_EQ(stateOf(hairpin), before);
        EXPECT_EQ(stack().count(), entries);
        EXPECT_EQ(m_merges, merges) << "an invalid shape is not merged";
        EXPECT_EQ(c->isEdited(), batch);
        if (batch) {
            EXPECT_EQ(std::get<1>(pendingOf(hairpin).path[2]), 53.0);
            trigger(hairpin, Action::RevertEditAction);
        }
        EXPECT_EQ(pendingOf(hairpin), before);
    }
    setBatchApply(hairpin, false);

    const std::vector<GeoEditSurfaceGroupItemController::Merge> failures = {
        [](GeoEditSurfaceItemI&, const tin::core::Tin& root, bool* ok) {
            *ok = false;
            return root;
        },
        [](GeoEditSurfaceItemI& surface, const tin::core::Tin& root, bool* ok) -> tin::core::Tin {
            surface.modifiedRootTin(root, ok);
            throw std::runtime_error("overlay failed");
        }};
    for (const auto& merge : failures) {
        groupController()->setMerge(merge);
        const SurfaceState before = stateOf(hairpin);
        const int entries = stack().count();
        guimisc::UserDialogScript script;
        dragBy(50, 70, 10, 0);
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].kind, guimisc::UserDialogs::Kind::Critical);
        EXPECT_EQ(script.messageBoxes()[0].title, "Error");
        EXPECT_EQ(script.messageBoxes()[0].text, "Tin creation failed.");
        EXPECT_EQ(stateOf(hairpin), before);
        EXPECT_EQ(pendingOf(hairpin), before);
        EXPECT_EQ(stack().count(), entries);
    }
}

TEST_F(SurfaceControllerTest, AnEditThatBuildsNoExtendedTinFailsAndRollsBack)
{
    // A triangular ring of 20 m sides holds the convex mold but not its extended one, which is
    // wider: "Close/Unclose Path" sweeps no extended TIN. Recorded as an edit, the surface lost
    // its effect on the edited TIN and put nothing in.
    const double side = 20.0;
    GeoEditSurfaceItem* ring = addSurface("Convex (Add)", {{40, 30}, {40 + side, 30}, {40 + side / 2, 30 + side * std::sqrt(3.0) / 2}});
    select(ring);
    for (const bool batch : {false, true}) {
        setBatchApply(ring, batch);
        const SurfaceState before = stateOf(ring);
        const Identities added = identities(ring->addedTin());
        const Identities removed = identities(ring->removedTin());
        const int entries = stack().count();
        guimisc::UserDialogScript script;
        trigger(ring, Action::CloseUnclosePathAction);
        if (batch) {
            EXPECT_TRUE(script.messageBoxes().empty());
            trigger(ring, Action::ApplyEditAction);
        }
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].kind, guimisc::UserDialogs::Kind::Critical);
        EXPECT_EQ(script.messageBoxes()[0].title, "Error");
        EXPECT_EQ(script.messageBoxes()[0].text, "Tin creation failed.");
        EXPECT_EQ(stateOf(ring), before);
        EXPECT_EQ(stack().count(), entries);
        EXPECT_EQ(identities(ring->addedTin()), added);
        EXPECT_EQ(identities(ring->removedTin()), removed);
        EXPECT_TRUE(ring->tin() && ring->extendedTin()) << "a surface on the stack keeps both TINs";
        if (batch) {
            trigger(ring, Action::RevertEditAction);
        }
        EXPECT_EQ(pendingOf(ring), before);
    }
    setBatchApply(ring, false);

    // The merge of a surface without its extended TIN fails instead of taking the TIN as empty.
    GeoEditSurfaceItem bare(QStringLiteral("bare"), ring->path(), true, ring->moldName(), ring->mold(), nullptr);
    ASSERT_EQ(bare.extendedTin(), nullptr);
    bool ok = true;
    EXPECT_TRUE(bare.modifiedRootTin(edited(), &ok).empty());
    EXPECT_FALSE(ok);
}

TEST_F(SurfaceControllerTest, AnEditThatCutsIntoANewerSurfaceIsRolledBack)
{
    GeoEditSurfaceItem* older = addSurface("Concave (Add)", {{20, 30}, {40, 30}, {60, 30}});
    addSurface("Convex (Add)", {{20, 60}, {60, 60}});
    ASSERT_TRUE(select(older)->verifyEditable());
    // Its walls, 11 m high, run across the newer surface.
    expectRefusedDrag(older, 40, 30, 0, 40, "Edited GeoEdit 1 (Add) is overlapped with GeoEdit 2 (Add).");
}

// A change made through the menu with batch apply on, before any press on the main view, is
// applied by "Apply Edit" all the same.
TEST_F(SurfaceControllerTest, ApplyEditBeforeAnyPressApplies)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 55}});
    SurfaceController* c = select(surface);
    setBatchApply(surface, true);
    pickMold("Slope 1 (Add)");
    trigger(surface, Action::ReplaceMoldAction);
    ASSERT_TRUE(isTool<SurfaceController::EntranceSelectionHelper>(surface));
    ASSERT_TRUE(c->isEdited());
    trigger(surface, Action::ApplyEditAction);
    EXPECT_FALSE(c->isEdited());
    EXPECT_EQ(surface->moldName(), "Slope 1 (Add)");
    EXPECT_EQ(stack().undoText(), "Edit GeoEdit 1 (Add)");
}

// A surface that a newer one came to cover while its tools were at work is not applied.
TEST_F(SurfaceControllerTest, ASurfaceCoveredSinceTheFirstPressIsNotApplied)
{
    GeoEditSurfaceItem* older = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    select(older);
    mouse().click(px(50, 20));
    ASSERT_TRUE(isTool<SurfaceController::WaitingSelectionHelper>(older));
    addSurface("Concave (Sub)", {{40, 30}, {40, 70}});
    select(older);
    expectRefusedDrag(older, 20, 50, 0, 4, "GeoEdit 1 (Add) is overlapped with GeoEdit 2 (Sub).");
}

// A pending path with two neighbours on one position (the path table can make one) is not
// applied, and stays pending.
TEST_F(SurfaceControllerTest, RepeatedNeighboursAreNeverApplied)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    const SurfaceState before = stateOf(surface);
    c->insertPendingPoint(2, c->pendingPath()[1]);
    c->markEdited();
    guimisc::UserDialogScript script;
    trigger(surface, Action::ApplyEditAction);
    expectBox(script, "Error", "Cannot add the same position more than once.");
    EXPECT_EQ(stateOf(surface), before);
    EXPECT_EQ(c->pendingPath().size(), 4u);
    EXPECT_TRUE(c->isEdited());
}

TEST_F(SurfaceControllerTest, TwoBatchedDragsAreOneEditThatUndoesAndRedoesBySwapping)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    setBatchApply(surface, true);
    // A line the user set must come back too: set on the pending lines as the reference-line
    // tool would, and committed by a first apply.
    SurfaceController::ReferenceLines lines = c->pendingReferenceLines();
    lines[1] = {tin::core::Point2D(1.0, 1.0), true};
    c->activeHelper()->restorePending(c->pendingPath(), lines);
    c->markEdited();
    trigger(surface, Action::ApplyEditAction);
    const SurfaceState before = stateOf(surface);
    ASSERT_EQ(before.committedLines, lines);
    const int entries = stack().count();

    dragBy(40, 50, 0, 4);
    // A click on open ground drops the selection, so that the next press picks a vertex.
    clickVertex(50, 20);
    ASSERT_TRUE(tool(surface)->selectedIndices().empty());
    dragBy(60, 50, 5, 5);
    EXPECT_EQ(stack().count(), entries) << "batched";
    EXPECT_EQ(stateOf(surface), before);
    trigger(surface, Action::ApplyEditAction);
    ASSERT_EQ(stack().count(), entries + 1);
    EXPECT_EQ(stack().undoText(), "Edit GeoEdit 1 (Add)");
    const SurfaceState after = stateOf(surface);
    EXPECT_EQ(std::get<1>(after.path[1]), 54.0);
    EXPECT_EQ(std::get<0>(after.path[2]), 65.0);
    EXPECT_EQ(after.committedLines, lines) << "the user's line stays where its vertex moves";
    EXPECT_TRUE(project().mainfile()->isModified());

    const int merges = m_merges;
    for (int round = 0; round < 2; ++round) {
        stack().undo();
        EXPECT_EQ(stateOf(surface), before);
        EXPECT_EQ(pendingOf(surface), before);
        stack().redo();
        EXPECT_EQ(stateOf(surface), after);
        EXPECT_EQ(pendingOf(surface), after);
    }
    EXPECT_EQ(m_merges, merges) << "undo and redo only swap triangles";
}

TEST_F(SurfaceControllerTest, RevertEditRestoresPathAndCommittedLinesAndClearsTheSelection)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    setBatchApply(surface, true);
    const SurfaceState before = stateOf(surface);
    dragBy(40, 50, 0, 6);
    SurfaceController::ReferenceLines lines = c->pendingReferenceLines();
    lines[0] = {tin::core::Point2D(-1.0, 0.0), true};
    c->activeHelper()->restorePending(c->pendingPath(), lines);
    ASSERT_FALSE(tool(surface)->selectedIndices().empty());
    ASSERT_NE(pendingOf(surface), before);

    trigger(surface, Action::RevertEditAction);
    EXPECT_EQ(pendingOf(surface), before);
    EXPECT_TRUE(tool(surface)->selectedIndices().empty());
    EXPECT_TRUE(tool(surface)->selectedPoints().empty());
    EXPECT_FALSE(tool(surface)->selectionBox().isValid());
    EXPECT_FALSE(c->isEdited());
    EXPECT_EQ(stateOf(surface), before);
}

TEST_F(SurfaceControllerTest, DeletingVerticesKeepsAPathOfTheLeastSize)
{
    // A ring wide enough for the extended mold too.
    GeoEditSurfaceItem* closed = addSurface("Convex (Add)", {{10, 5}, {50, 5}, {30, 40}});
    select(closed);
    trigger(closed, Action::CloseUnclosePathAction);
    ASSERT_TRUE(closed->closed());
    clickVertex(30, 40);
    {
        guimisc::UserDialogScript script;
        trigger(closed, Action::DeletePointsAction);
        expectBox(script, "Warning", "Too many points are selected.");
    }
    EXPECT_EQ(closed->path().size(), 3u);

    GeoEditSurfaceItem* open = addSurface("Convex (Add)", {{20, 60}, {40, 60}, {30, 75}});
    select(open);
    clickVertex(30, 75);
    trigger(open, Action::DeletePointsAction);
    EXPECT_EQ(xyz(open->path()), (std::vector<std::tuple<double, double, double>>{{20, 60, 0}, {40, 60, 0}}));
    EXPECT_EQ(stack().undoText(), "Edit GeoEdit 2 (Add)");

    // Vertices 1 and 3 of five: 3 goes first, so that 1 still names the vertex selected.
    GeoEditSurfaceItem* five = addSurface("Convex (Add)", {{10, 85}, {25, 85}, {40, 85}, {55, 85}, {70, 85}});
    select(five);
    mouse().move(px(22, 88));
    mouse().drag(px(22, 88), px(28, 82));
    mouse().move(px(52, 88));
    mouse().drag(px(52, 88), px(58, 82), Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(tool(five)->selectedIndices(), (std::set<std::size_t>{1, 3}));
    trigger(five, Action::DeletePointsAction);
    EXPECT_EQ(xyz(five->path()),
              (std::vector<std::tuple<double, double, double>>{{10, 85, 0}, {40, 85, 0}, {70, 85, 0}}));
    EXPECT_TRUE(tool(five)->selectedIndices().empty());
}

TEST_F(SurfaceControllerTest, CloseReplaceAndEditMoldAreOneEditEach)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 40}, {60, 40}, {40, 70}});
    SurfaceController* c = select(surface);
    std::vector<SurfaceState> states{stateOf(surface)};
    ASSERT_EQ(states[0].committedLines.size(), 2u) << "lines to go back to before any press";
    const int entries = stack().count();

    trigger(surface, Action::CloseUnclosePathAction);
    states.push_back(stateOf(surface));
    EXPECT_TRUE(surface->closed());

    pickMold("Slope 1 (Add)");
    trigger(surface, Action::ReplaceMoldAction);
    states.push_back(stateOf(surface));
    EXPECT_EQ(surface->moldName(), "Slope 1 (Add)");
    EXPECT_EQ(surface->mold().h(), (std::vector<double>{-1.0, 1.0, 1.0}));

    ModalAnswerer answerer([](QWidget* shown) {
        auto dialog = qobject_cast<MoldItemPropertyDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("nameLineEdit")->setText("levee");
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    trigger(surface, Action::EditMoldAction);
    EXPECT_TRUE(answerer.answered());
    states.push_back(stateOf(surface));
    EXPECT_EQ(surface->moldName(), "levee");
    EXPECT_EQ(surface->mold().h(), (std::vector<double>{-1.0, 1.0, 1.0}));
    ASSERT_EQ(stack().count(), entries + 3);
    EXPECT_FALSE(c->isEdited());

    const int merges = m_merges;
    for (int index = entries + 2; index >= entries; --index) {
        stack().setIndex(index);
        EXPECT_EQ(stateOf(surface), states[index - entries]) << "undone to " << index;
        EXPECT_EQ(pendingOf(surface), states[index - entries]) << "undone to " << index;
    }
    stack().setIndex(entries + 3);
    EXPECT_EQ(stateOf(surface), states.back());
    EXPECT_EQ(m_merges, merges);
}

} // namespace
} // namespace varnel::test
