// The brush as the user takes it: "Add by brushing" from the group's menu, mouse events
// carrying the held button and the modifiers at pixels of the main view (`View::conv` on a view
// of 10 pixels a metre), Return and Escape, "Set brush" answered in its dialog, boxes answered
// by the message script and Undo and Redo from the main window. Oracles: the cut and fill of
// the TIN modifier, the edited TIN's triangle objects and vertex elevations, its outline and
// edges, and the previews the profile windows would get.
#include "BrushTestSupport.h"
#include "surfaces/SurfacesTestSupport.h"

#include "support/ModalAnswerer.h"

#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/surfaces/BrushEdit.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushWaitingSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerPathSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerVoidSelectionHelper.h"
#include "movarin/surfaces/PendingBrushEdit.h"

#include "orlin/util/TinModifier.h"

#include <common/exception/RuntimeException.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace varnel::test {
namespace {

using Controller = GeoEditSurfaceGroupItemController;

/// One preview as a profile window receives it.
struct Preview {
    std::size_t added;
    std::size_t removed;
};

class BrushToolTest : public SurfacesTest {
protected:
    void SetUp() override
    {
        SurfacesTest::SetUp();
        useTerrain(gridTin(30, 30, 1.0));
        QObject::connect(controller(), &Controller::brushEditAddedTinChanged, controller(),
                         [this](const tin::core::Tin* added, const tin::core::Tin* removed) {
                             m_previews.push_back({added->allTriangles().size(), removed->allTriangles().size()});
                         });
    }

    void TearDown() override
    {
        for (const auto& box : m_unexpected.messageBoxes()) {
            ADD_FAILURE() << "unexpected box: " << box.text.toStdString();
        }
        SurfacesTest::TearDown();
    }

    void useTerrain(const tin::core::Tin& terrain)
    {
        m_window->setTin(terrain);
        view()->setScale(10.0);
        view()->setCenterPoint(QPointF(15.0, 15.0));
        view()->updateView();
    }

    mvc::core::View* view() const { return m_window->view(); }
    Controller* controller() const { return group()->groupController(); }
    QUndoStack& stack() { return *project().undoStack(); }
    Controller::SelectionHelper* tool() const
    {
        return static_cast<Controller::SelectionHelper*>(controller()->selectionHelper());
    }
    /// The edit of the brush waiting between strokes.
    const BrushEdit& pending() const
    {
        return dynamic_cast<Controller::BrushWaitingSelectionHelper&>(*tool()).pendingBrushEdit().edit();
    }

    /// "Add by brushing" from the group's context menu, the group selected as a right click
    /// on its row leaves it.
    void startBrush()
    {
        group()->model()->select(group());
        controller()->addByBrushingAction()->trigger();
        ASSERT_NE(dynamic_cast<Controller::BrushWaitingSelectionHelper*>(tool()), nullptr);
    }

    void mouse(QEvent::Type type, double x, double y, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF pixel = view()->conv(QPointF(x, y));
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pixel, view()->mapToGlobal(pixel.toPoint()), button, held, modifiers);
        QApplication::sendEvent(view(), &event);
    }
    /// Press at the first position, moves with the button held through the others, release
    /// at the last.
    void stroke(const std::vector<QPointF>& path, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseMove, path.front().x(), path.front().y(), Qt::NoButton, modifiers);
        mouse(QEvent::MouseButtonPress, path.front().x(), path.front().y(), Qt::LeftButton, modifiers);
        for (const QPointF& p : path) {
            mouse(QEvent::MouseMove, p.x(), p.y(), Qt::LeftButton, modifiers);
        }
        mouse(QEvent::MouseButtonRelease, path.back().x(), path.back().y(), Qt::NoButton, modifiers);
    }
    void key(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }

    /// "Set brush" with the dialog answered by `answer` (the dialog at hand), then OK.
    void setBrush(const std::function<void(QDialog*)>& answer)
    {
        ModalAnswerer answerer([&](QWidget* widget) {
            auto dialog = qobject_cast<QDialog*>(widget);
            ASSERT_NE(dialog, nullptr);
            answer(dialog);
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        controller()->setBrushAction()->trigger();
        EXPECT_TRUE(answerer.answered());
        EXPECT_FALSE(answerer.leftOpen());
    }
    static void setField(QDialog* dialog, const char* name, double value)
    {
        dialog->findChild<QDoubleSpinBox*>(QLatin1String(name))->setValue(value);
    }

    bool lastPreviewIsEmpty() const
    {
        return !m_previews.empty() && m_previews.back().added == 0 && m_previews.back().removed == 0;
    }

    /// The vertices of the pending added TIN off elevation 0: their elevations, and whether
    /// all lie within `within` of (15, 15) in x and in y.
    std::vector<double> movedVertices(double within) const
    {
        std::vector<double> moved;
        for (const auto& [p, z] : elevationsOf(pending().addedTin())) {
            if (z != 0.0) {
                EXPECT_LE(std::max(std::abs(p->x() - 15.0), std::abs(p->y() - 15.0)), within);
                moved.push_back(z);
            }
        }
        std::sort(moved.begin(), moved.end());
        return moved;
    }

    guimisc::UserDialogScript m_unexpected;
    std::vector<Preview> m_previews;
};

TEST_F(BrushToolTest, OneClickRaisesTheTwentyFiveVerticesWithinTwoMetresAndReturnCommitsTheirVolume)
{
    const auto elevations = elevationsOf(edited());
    const Identities before = identities(edited());
    const double outline = outlineLength(edited());
    startBrush();
    // Press, move and release at one place: the square is brushed once.
    stroke({QPointF(15, 15)});
    EXPECT_EQ(movedVertices(2.0), std::vector<double>(25, 0.1));
    EXPECT_EQ(identities(edited()), before);
    EXPECT_TRUE(pending().isPartOf(edited()));
    ASSERT_FALSE(m_previews.empty());
    EXPECT_EQ(m_previews.back().added, pending().addedTin().allTriangles().size());

    key(Qt::Key_Return);
    ASSERT_EQ(surfacesOf(*group()).size(), 1u);
    GeoEditSurfaceItemI* surface = surfacesOf(*group()).front();
    EXPECT_EQ(surface->caption(), "BrushEdit 1");
    ASSERT_EQ(stack().count(), 1);
    EXPECT_EQ(stack().text(0), "Add new GeoEdit surface by brushing");
    bool ok = false;
    double fill = NAN;
    double cut = NAN;
    tin::util::TinModifier::calculateDifferences(base(), edited(), &ok, &fill, &cut);
    ASSERT_TRUE(ok);
    EXPECT_NEAR(fill, 2.5, 1e-9);
    EXPECT_EQ(cut, 0.0);
    EXPECT_TRUE(elevationsKept(elevations));
    EXPECT_TRUE(edgesHaveOneOrTwoTriangles(edited()));
    EXPECT_NEAR(outlineLength(edited()), outline, 1e-9);
    EXPECT_NEAR(planArea(surface->addedTin()), planArea(surface->removedTin()), 1e-9);
    EXPECT_TRUE(lastPreviewIsEmpty());
    EXPECT_NE(dynamic_cast<Controller::VoidSelectionHelper*>(tool()), nullptr);
}

TEST_F(BrushToolTest, StrokesLeaveTheEditedTinAloneAndEscapeOrAnotherToolDiscardsThem)
{
    const auto elevations = elevationsOf(edited());
    const Identities before = identities(edited());
    startBrush();
    stroke({QPointF(5, 5), QPointF(8, 6), QPointF(12, 6), QPointF(12, 10)});
    stroke({QPointF(20, 20), QPointF(20, 25)}, Qt::ShiftModifier);
    EXPECT_TRUE(tool()->hasPendingBrushEdit());
    EXPECT_EQ(identities(edited()), before);
    EXPECT_EQ(elevationsOf(edited()), elevations);
    EXPECT_TRUE(pending().isPartOf(edited()));
    EXPECT_EQ(movedVertices(15.0).front(), -0.1) << "Shift lowers";

    key(Qt::Key_Escape);
    EXPECT_EQ(identities(edited()), before);
    EXPECT_EQ(elevationsOf(edited()), elevations);
    EXPECT_TRUE(surfacesOf(*group()).empty());
    EXPECT_EQ(stack().count(), 0);
    EXPECT_TRUE(lastPreviewIsEmpty());
    EXPECT_NE(dynamic_cast<Controller::VoidSelectionHelper*>(tool()), nullptr);

    // The path tool replacing the brush: the empty preview, no box (the fixture's script).
    startBrush();
    stroke({QPointF(8, 8), QPointF(12, 8)});
    m_previews.clear();
    controller()->addAction()->trigger();
    EXPECT_NE(dynamic_cast<Controller::PathSelectionHelper*>(tool()), nullptr);
    ASSERT_EQ(m_previews.size(), 1u);
    EXPECT_TRUE(lastPreviewIsEmpty());
}

TEST_F(BrushToolTest, RedoBringsBackTheElevationsOfASurfaceWhosePointsAnotherEditMet)
{
    const std::vector<QPointF> path = {QPointF(8, 8), QPointF(14, 8), QPointF(14, 12)};
    startBrush();
    stroke(path);
    key(Qt::Key_Return);
    const auto withA = trianglesOf(edited());
    stack().undo();
    // The same size over the same area, twice: B meets A's raised points in the factory.
    startBrush();
    stroke(path);
    stroke(path);
    key(Qt::Key_Escape);
    stack().redo();
    EXPECT_EQ(trianglesOf(edited()), withA);
}

TEST_F(BrushToolTest, UndoFromTheMainWindowDiscardsPendingStrokesWithTheMessageAndTheEmptyPreview)
{
    startBrush();
    stroke({QPointF(8, 8), QPointF(12, 8)});
    key(Qt::Key_Return);
    startBrush();
    stroke({QPointF(20, 20), QPointF(22, 24)});
    const Identities withSurface = identities(edited());
    ASSERT_TRUE(tool()->hasPendingBrushEdit());

    guimisc::UserDialogScript script;
    QAction* undo = m_session.mainWindow().actionManager()->action(QStringLiteral("Undo"));
    ASSERT_NE(undo, nullptr);
    undo->trigger();
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Warning");
    EXPECT_EQ(script.records()[0].text, "The brush edit was discarded because the edited TIN changed.");
    EXPECT_TRUE(lastPreviewIsEmpty());
    EXPECT_FALSE(tool()->hasPendingBrushEdit());
    EXPECT_NE(identities(edited()), withSurface);

    // The brush waits and works on the edited TIN as it now is.
    stroke({QPointF(20, 20)});
    EXPECT_TRUE(pending().isPartOf(edited()));
    key(Qt::Key_Return);
    ASSERT_EQ(surfacesOf(*group()).size(), 1u);
    EXPECT_EQ(surfacesOf(*group()).front()->caption(), "BrushEdit 1");
    EXPECT_EQ(script.records().size(), 1u);
}

TEST_F(BrushToolTest, SetBrushResetsToItsOpeningLocksTheSizeWhileStrokesArePendingAndTakesANegativeUnit)
{
    setBrush([](QDialog* dialog) {
        auto field = [dialog](const char* name) { return dialog->findChild<QDoubleSpinBox*>(QLatin1String(name)); };
        auto useLimit = dialog->findChild<QCheckBox*>(QStringLiteral("brushUseLimitCheckBox"));
        EXPECT_FALSE(field("brushLimitSpinBox")->isEnabled());
        QTest::mouseClick(useLimit, Qt::LeftButton, Qt::NoModifier, QPoint(5, useLimit->height() / 2));
        EXPECT_TRUE(field("brushLimitSpinBox")->isEnabled());
        field("brushSizeSpinBox")->setValue(0.05);
        EXPECT_EQ(field("brushSizeSpinBox")->value(), 0.1);
        field("brushEditUnitSpinBox")->setValue(2.0);
        field("brushLimitSpinBox")->setValue(12.0);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Reset), Qt::LeftButton);
        EXPECT_EQ(field("brushSizeSpinBox")->value(), 5.0);
        EXPECT_EQ(field("brushEditUnitSpinBox")->value(), 0.1);
        EXPECT_EQ(field("brushLimitSpinBox")->value(), 0.0);
        EXPECT_FALSE(useLimit->isChecked());
        EXPECT_FALSE(field("brushLimitSpinBox")->isEnabled());
        setField(dialog, "brushSizeSpinBox", 3.0);
        setField(dialog, "brushEditUnitSpinBox", -0.25);
    });
    EXPECT_EQ(controller()->brushSize(), 3.0);
    EXPECT_EQ(controller()->brushEditUnit(), -0.25);
    EXPECT_FALSE(controller()->brushLimitEnabled());

    startBrush();
    stroke({QPointF(15, 15)});
    EXPECT_EQ(movedVertices(1.5), std::vector<double>(9, -0.25));
    setBrush([](QDialog* dialog) {
        EXPECT_FALSE(dialog->findChild<QDoubleSpinBox*>("brushSizeSpinBox")->isEnabled());
        setField(dialog, "brushEditUnitSpinBox", 0.5);
    });
    EXPECT_EQ(controller()->brushSize(), 3.0);
    EXPECT_EQ(controller()->brushEditUnit(), 0.5);
    EXPECT_TRUE(tool()->hasPendingBrushEdit()) << "the settings dialog discarded the strokes";
}

TEST_F(BrushToolTest, FailureWhileBrushingEndsInAnErrorBoxAndDiscardsTheStrokes)
{
    // A listener of the preview that fails on the first one with triangles.
    bool failed = false;
    QObject::connect(controller(), &Controller::brushEditAddedTinChanged, controller(),
                     [&failed](const tin::core::Tin* added, const tin::core::Tin*) {
                         if (!added->empty() && !failed) {
                             failed = true;
                             throw common::exception::RuntimeException("Fatal error in subdivideTriangle2.");
                         }
                     });
    const Identities before = identities(edited());
    startBrush();
    guimisc::UserDialogScript script;
    stroke({QPointF(8, 8), QPointF(12, 8), QPointF(16, 8)});
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Error");
    EXPECT_EQ(script.records()[0].text, "Fatal error in subdivideTriangle2.");
    EXPECT_FALSE(tool()->hasPendingBrushEdit());
    EXPECT_TRUE(lastPreviewIsEmpty());
    EXPECT_EQ(identities(edited()), before);
    ASSERT_NE(dynamic_cast<Controller::BrushWaitingSelectionHelper*>(tool()), nullptr) << "the brush does not wait";
    stroke({QPointF(20, 20)});
    EXPECT_TRUE(tool()->hasPendingBrushEdit());
}

TEST_F(BrushToolTest, BrushTooSmallForItsTrianglesWarnsOnceAndTheStrokeBrushesNoMore)
{
    // A 5 m grid: a brush of 0.1 m cuts each triangle into some 24,000.
    useTerrain(gridTin(6, 6, 5.0));
    setBrush([](QDialog* dialog) { setField(dialog, "brushSizeSpinBox", 0.1); });
    startBrush();
    stroke({QPointF(1, 3)});
    ASSERT_TRUE(tool()->hasPendingBrushEdit());
    const std::size_t added = pending().addedTin().allTriangles().size();
    const std::size_t removed = pending().removedTin().allTriangles().size();

    guimisc::UserDialogScript script;
    stroke({QPointF(2, 1), QPointF(28, 1), QPointF(28, 2), QPointF(28, 28)});
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].text, "The brush is too small for the triangles under it.");
    EXPECT_EQ(pending().addedTin().allTriangles().size(), added);
    EXPECT_EQ(pending().removedTin().allTriangles().size(), removed);
    EXPECT_NE(dynamic_cast<Controller::BrushWaitingSelectionHelper*>(tool()), nullptr);
}

} // namespace
} // namespace varnel::test

namespace varnel::test {
namespace {

/// Each triangle of `tin` as the bits of its three vertices (x, y, elevation), the vertices
/// in order, the triangles sorted: two TINs agree bit for bit when these agree.
std::vector<std::array<std::uint64_t, 9>> vertexBits(const tin::core::Tin& tin)
{
    std::vector<std::array<std::uint64_t, 9>> all;
    for (const TrianglePtr& t : tin.allTriangles()) {
        std::array<std::array<std::uint64_t, 3>, 3> corners{};
        for (int v = 0; v < 3; ++v) {
            const double xyz[3] = {t->point(v)->x(), t->point(v)->y(), t->point(v)->elevation()};
            std::memcpy(corners[static_cast<std::size_t>(v)].data(), xyz, sizeof xyz);
        }
        std::sort(corners.begin(), corners.end());
        std::array<std::uint64_t, 9> bits{};
        for (std::size_t k = 0; k < 9; ++k) {
            bits[k] = corners[k / 3][k % 3];
        }
        all.push_back(bits);
    }
    std::sort(all.begin(), all.end());
    return all;
}

/// How many triangles of `a` have no twin in `b`.
std::size_t unmatched(const std::vector<std::array<std::uint64_t, 9>>& a,
                      const std::vector<std::array<std::uint64_t, 9>>& b)
{
    std::vector<std::array<std::uint64_t, 9>> rest;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(rest));
    return rest.size();
}

// Mold surfaces and brush strokes laid one over another, and a touch that lifts a vertex by
// a unit in the last place, saved and opened again: every vertex of the edited TIN, and of
// each surface's added and removed triangles, reads back bit for bit as it was saved.
TEST_F(BrushToolTest, ASavedMixOfSurfacesAndStrokesReadsBackBitForBit)
{
    useTerrain(gridTin(30, 30, 1.0, [](double x, double y) {
        return 0.1 * x + 0.05 * y + 0.3 * std::sin(0.7 * x) * std::cos(0.4 * y);
    }));
    using tin::core::Point;
    ASSERT_NE(applyMold(QStringLiteral("Convex (Add)"), {Point(3, 6, 2.0), Point(27, 10, 3.5)}), nullptr);
    startBrush();
    stroke({QPointF(8, 8), QPointF(12, 9), QPointF(16, 11)});
    stroke({QPointF(20, 20), QPointF(22, 23)}, Qt::ShiftModifier);
    key(Qt::Key_Return);
    ASSERT_NE(applyMold(QStringLiteral("Slope 1 (Sub)"), {Point(5, 24, 0.5), Point(14, 4, 1.0), Point(25, 18, 0.8)}),
              nullptr);
    startBrush();
    stroke({QPointF(11, 7), QPointF(13, 13), QPointF(9, 19)});
    key(Qt::Key_Return);
    ASSERT_NE(applyMold(QStringLiteral("Convex (Sub)"), {Point(6, 14, 1.7), Point(18, 20, 1.9), Point(24, 14, 1.7)}), nullptr);
    startBrush();
    stroke({QPointF(15, 12), QPointF(15, 16)}, Qt::ShiftModifier);
    stroke({QPointF(7, 14), QPointF(23, 15)});
    key(Qt::Key_Return);
    // A touch that lifts one vertex of the terrain by a unit in the last place: the lifted
    // vertex lives beside the base TIN's, within the point factory's tolerance of it.
    std::shared_ptr<tin::core::Point> kept;
    for (const TrianglePtr& t : base().allTriangles()) {
        for (int k = 0; k < 3; ++k) {
            if (t->point(k)->x() == 28.0 && t->point(k)->y() == 28.0) {
                kept = t->point(k);
            }
        }
    }
    ASSERT_NE(kept, nullptr);
    const auto lifted = tin::core::PointFactory::instance().factory(
        tin::core::Point(kept->x(), kept->y(), kept->elevation() + 1.0));
    lifted->setElevation(std::nextafter(kept->elevation(), 1e300));
    TinChange touch;
    for (const TrianglePtr& t : edited().findTriangleFromPoint(kept)) {
        touch.removed.addTriangle(t);
        std::shared_ptr<tin::core::Point> v[3];
        for (int k = 0; k < 3; ++k) {
            v[k] = t->point(k) == kept ? lifted : t->point(k);
        }
        touch.added.addTriangle(v[0], v[1], v[2]);
    }
    ASSERT_FALSE(touch.added.empty());
    applyBrush(QStringLiteral("touch"), touch);
    const std::vector<GeoEditSurfaceItemI*> surfaces = surfacesOf(*group());
    ASSERT_EQ(surfaces.size(), 7u);

    const auto edited0 = vertexBits(edited());
    std::vector<std::pair<decltype(edited0), decltype(edited0)>> surfaceBits;
    for (GeoEditSurfaceItemI* s : surfaces) {
        surfaceBits.emplace_back(vertexBits(s->addedTin()), vertexBits(s->removedTin()));
    }
    const QString archive = saveArchive();

    ProjectSession other;
    EditModeMainWindowModelRootItem* reopened = reopen(other, archive);
    ASSERT_NE(reopened, nullptr);
    const auto edited1 = vertexBits(*reopened->tinItem()->tin());
    EXPECT_EQ(edited1.size(), edited0.size());
    EXPECT_EQ(unmatched(edited0, edited1), 0u) << "triangles of the edited TIN changed";
    const std::vector<GeoEditSurfaceItemI*> back = surfacesOf(*reopened->geoEditSurfaceGroupItem());
    ASSERT_EQ(back.size(), surfaces.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        SCOPED_TRACE(surfaces[i]->caption().toStdString());
        EXPECT_EQ(unmatched(surfaceBits[i].first, vertexBits(back[i]->addedTin())), 0u);
        EXPECT_EQ(unmatched(surfaceBits[i].second, vertexBits(back[i]->removedTin())), 0u);
    }
}

} // namespace
} // namespace varnel::test
