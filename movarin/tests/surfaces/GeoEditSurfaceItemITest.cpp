// What every GeoEdit surface does to the edited TIN: swaps of the very triangle objects with
// one relayed change each, the overlap rule, and the rebinding of the added triangles when a
// project opens again (sets of triangle objects as the oracle, and the grid the terrain was
// made from once every surface is gone).
#include "SurfacesTestSupport.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItemController.h"

#include <guimisc/UserDialogScript.h>

#include <QUndoStack>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace varnel::test {
namespace {

using Identities = std::set<const tin::core::Triangle*>;

Identities identities(const tin::core::Tin& tin)
{
    return identitiesOf(tin.allTriangles());
}

Identities minus(const Identities& a, const Identities& b)
{
    Identities result;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(result, result.end()));
    return result;
}

Identities plus(Identities a, const Identities& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

bool disjoint(const Identities& a, const Identities& b)
{
    return minus(a, b) == a;
}

// Every tinChanged of an edited TIN item, as the sets of triangles it announced.
class TinChanges {
public:
    explicit TinChanges(TinItem* item)
    {
        QObject::connect(item, &TinItem::tinChanged, &m_context,
                         [this](const tin::core::Tin& partial) { m_seen.push_back(identities(partial)); });
    }
    std::vector<Identities> take() { return std::exchange(m_seen, {}); }

private:
    QObject m_context;
    std::vector<Identities> m_seen;
};

using GeoEditSurfaceItemITest = SurfacesTest;

TEST_F(GeoEditSurfaceItemITest, SwapsMoveTheVeryTrianglesAndAnnounceThemOnce)
{
    const Identities before = identities(edited());
    const TinChange change = raiseCell(edited(), 2, 3, 20.0);
    TinChanges changes(editedItem());
    GeoEditSurfaceByBrushItem* surface = applyBrush(QStringLiteral("BrushEdit 1"), change);
    const Identities added = identities(surface->addedTin());
    const Identities removed = identities(surface->removedTin());
    const Identities after = identities(edited());
    EXPECT_EQ(after, plus(minus(before, removed), added));
    EXPECT_TRUE(disjoint(added, removed));
    EXPECT_EQ(changes.take(), std::vector<Identities>{added});

    // Taking the surface back and putting it in again, three times: the very sets each time.
    for (int cycle = 0; cycle < 3; ++cycle) {
        surface->swapTriangles(surface->addedTin(), surface->removedTin());
        EXPECT_EQ(identities(edited()), before);
        EXPECT_EQ(changes.take(), std::vector<Identities>{removed});
        surface->swapTriangles(surface->removedTin(), surface->addedTin());
        EXPECT_EQ(identities(edited()), after);
        EXPECT_EQ(changes.take(), std::vector<Identities>{added});
    }

    // A destroyed surface leaves no relay behind: the next surface's swap is announced once.
    group()->deleteChild(surface);
    const TinChange other = raiseCell(edited(), 5, 5, 9.0);
    GeoEditSurfaceByBrushItem* next = applyBrush(QStringLiteral("BrushEdit 2"), other);
    EXPECT_EQ(changes.take(), std::vector<Identities>{identities(next->addedTin())});
}

TEST_F(GeoEditSurfaceItemITest, OnlyASurfaceThatTookOutAddedTrianglesOverlaps)
{
    GeoEditSurfaceByBrushItem* oldest = applyBrush(QStringLiteral("C"), raiseCell(edited(), 1, 1, 5.0));
    GeoEditSurfaceByBrushItem* older = applyBrush(QStringLiteral("B"), raiseCell(edited(), 4, 4, 5.0));
    // The newest takes out one of B's triangles and nothing of C's.
    GeoEditSurfaceByBrushItem* newest =
        applyBrush(QStringLiteral("A"), splitTriangle(anyTriangle(older->addedTin()), 1.0));
    EXPECT_EQ(older->overlappingSibling(), newest);
    EXPECT_EQ(oldest->overlappingSibling(), nullptr);
    EXPECT_EQ(newest->overlappingSibling(), nullptr);
    // The mirror test of an edit: B's new removed triangles include A's added ones.
    older->setRemovedTin(newest->addedTin());
    EXPECT_EQ(older->siblingOverlappedByEdit(), newest);
    EXPECT_EQ(oldest->siblingOverlappedByEdit(), nullptr);
}

TEST_F(GeoEditSurfaceItemITest, ReopenedSurfacesRebindToTheTrianglesTheyShareWithTheTerrain)
{
    const std::set<TriangleKey> grid = trianglesOf(edited());
    GeoEditSurfaceByBrushItem* b = applyBrush(QStringLiteral("B"), raiseCell(edited(), 2, 3, 20.0));
    applyBrush(QStringLiteral("C"), raiseCell(edited(), 6, 1, -4.0));
    // A, the newest, splits one of B's triangles and puts another back on its own vertices.
    std::vector<TrianglePtr> bAdded(b->addedTin().allTriangles().begin(),
                                    b->addedTin().allTriangles().end());
    const TinChange split = splitTriangle(bAdded[0], 3.0);
    const TinChange back = putBack(bAdded[1]);
    TinChange a;
    for (const TinChange* part : {&split, &back}) {
        for (const TrianglePtr& t : part->added.allTriangles()) {
            a.added.addTriangle(t);
        }
        for (const TrianglePtr& t : part->removed.allTriangles()) {
            a.removed.addTriangle(t);
        }
    }
    applyBrush(QStringLiteral("A"), a);
    const std::set<TriangleKey> editedBefore = trianglesOf(edited());
    const QString archive = saveArchive();

    ProjectSession second;
    EditModeMainWindowModelRootItem* root = reopen(second, archive);
    ASSERT_NE(root, nullptr);
    tin::core::Tin& reopened = *root->tinItem()->tin();
    EXPECT_EQ(trianglesOf(reopened), editedBefore);
    const std::vector<GeoEditSurfaceItemI*> surfaces = surfacesOf(*root->geoEditSurfaceGroupItem());
    ASSERT_EQ(surfaces.size(), 3u);
    GeoEditSurfaceItemI* newA = surfaces[0];
    GeoEditSurfaceItemI* newB = surfaces[2];
    EXPECT_EQ(newB->name(), "B");
    EXPECT_EQ(newB->caption(), "B");

    // B's four triangles: two from the terrain, the split one and the put-back one from what
    // A took out; none of A's own (the put-back object lies over the same vertices).
    const Identities bLive = identities(newB->addedTin());
    ASSERT_EQ(bLive.size(), 4u);
    const Identities fromA = identities(newA->removedTin());
    EXPECT_EQ(minus(bLive, identities(reopened)), fromA);
    EXPECT_TRUE(disjoint(bLive, identities(newA->addedTin())));
    // Rebound once: asking again hands out the same TIN in the same state.
    const std::uint64_t revision = newB->addedTin().revision();
    EXPECT_EQ(newB->addedTin().revision(), revision);
    EXPECT_EQ(trianglesOf(newB->addedTin()), trianglesOf(b->addedTin()));

    // Through the object browser: B may not go while A covers it; A, then C, then B may, and
    // what is left is the grid with the very objects of the reopened terrain.
    guimisc::UserDialogScript script;
    auto deleteThrough = [&](GeoEditSurfaceItemI* surface) {
        root->model()->select(surface);
        root->model()->objectBrowserView()->deleteAction()->trigger();
    };
    deleteThrough(newB);
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Warning");
    EXPECT_EQ(script.records()[0].text, "B is overlapped with A.");
    EXPECT_EQ(root->geoEditSurfaceGroupItem()->childItems().size(), 3u);
    for (GeoEditSurfaceItemI* surface : surfaces) {
        script.answer(QMessageBox::Yes);
        deleteThrough(surface);
    }
    EXPECT_EQ(script.records().size(), 4u) << "one question for each deletion";
    EXPECT_TRUE(root->geoEditSurfaceGroupItem()->childItems().empty());
    EXPECT_EQ(trianglesOf(reopened), grid);
}

TEST_F(GeoEditSurfaceItemITest, ArchiveWhoseAddedTriangleFitsNothingFailsTheOpenNamingIt)
{
    applyBrush(QStringLiteral("applied"), raiseCell(edited(), 1, 1, 5.0));
    // Never applied: its triangles are in no TIN.
    const TinChange stray = raiseCell(edited(), 4, 4, 5.0);
    GeoEditSurfaceByBrushItem* never =
        group()->createGeoEditSurfaceByBrushItem(QStringLiteral("never"), stray.added, stray.removed);
    group()->attachChildAtBack(never);
    const QString archive = saveArchive();

    ProjectSession second;
    guimisc::UserDialogScript script;
    second.mainWindow().openProject(archive);
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Error");
    EXPECT_EQ(script.records()[0].text, "Fatal error in buildAddedTin.: geoedit2.geb");
    EXPECT_EQ(second.mainWindow().project(), nullptr);
}

} // namespace
} // namespace varnel::test
