// Whether a project counts as modified, through the real main window: for every kind of
// undoable edit, an edit saved and then undone leaves the project modified (Exit asks), and a
// redo back to the saved state leaves it unmodified (Exit asks nothing); a rename in the
// object browser is a change that Exit asks about, kept until the next save. File > Save,
// Edit > Undo and Redo and File > Exit are triggered through their own actions, and what a
// save must have kept is read back from the reopened archive.
#include "MainWindowTestSupport.h"
#include "ProjectTestSupport.h"

#include "surfaces/SurfacesTestSupport.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionGroupItemController.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/survey/BreaklineItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsForTinItemController.h"

#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/core/PointSet.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

namespace varnel::test {
namespace {

using Script = guimisc::UserDialogScript;
using mold::core::Mold;

const char* const kModifiedQuestion = "This Project is modified. Do you want to save?";

class ModifiedStateTest : public MainWindowTest {
protected:
    QAction* action(const char* name) const
    {
        QAction* found = m_window->actionManager()->action(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool modified() const
    {
        return m_window->project() && m_window->project()->projectFile()->isModified();
    }
    QUndoStack* stack() const { return m_window->undoStack(); }
    EditModeMainWindow* editWindow() const
    {
        Project* project = m_window->project();
        return project ? qobject_cast<EditModeMainWindow*>(project->projectWindow()) : nullptr;
    }
    EditModeMainWindowModelRootItem* editRoot() const { return editWindow()->model()->rootItem(); }
    mvc::core::View* view() const { return editWindow()->view(); }

    /// A new edit-mode project on `terrain`, shown at 4 pixels a metre around (50, 50).
    void newEditProject(const tin::core::Tin& terrain)
    {
        m_window->newEditProject();
        ASSERT_NE(editWindow(), nullptr);
        editWindow()->setTin(terrain);
        view()->setScale(4.0);
        view()->setCenterPoint(QPointF(50.0, 50.0));
        view()->updateView();
    }

    /// File > Save As into the test's folder, nothing asked on the way.
    QString saveFirst(const QString& name)
    {
        Script script;
        script.answerFile(file(name));
        action("Save As")->trigger();
        EXPECT_TRUE(script.messageBoxes().empty());
        EXPECT_FALSE(modified());
        return m_window->project() ? m_window->project()->filename() : QString();
    }

    /// File > Save of a project that has its file, nothing asked.
    void save()
    {
        Script script;
        action("Save")->trigger();
        EXPECT_TRUE(script.records().empty());
        EXPECT_FALSE(modified());
    }

    /// File > Exit answered Cancel: the question is the modified project's, and the project
    /// stays.
    void expectExitAsks()
    {
        Script script;
        script.answer(QMessageBox::Cancel);
        action("Exit")->trigger();
        ASSERT_EQ(script.messageBoxes().size(), 1u) << "Exit asks before the work goes";
        EXPECT_EQ(script.messageBoxes()[0].text, kModifiedQuestion);
        ASSERT_NE(m_window->project(), nullptr);
    }

    /// The road of every kind of edit: `edit` makes one undo entry whose effect `isDone`
    /// sees. Saved with it, undone: modified, and Exit asks; redone: the saved state again,
    /// unmodified, and Exit closes the project without a word.
    void expectUndoPastSaveIsAChange(const std::function<void()>& edit,
                                     const std::function<bool()>& isDone)
    {
        const int before = stack()->index();
        edit();
        ASSERT_EQ(stack()->index(), before + 1) << "one undo entry";
        ASSERT_TRUE(isDone());
        EXPECT_TRUE(modified());
        save();

        action("Undo")->trigger();
        EXPECT_FALSE(isDone());
        EXPECT_TRUE(modified()) << "what the archive holds is not what the project holds";
        expectExitAsks();
        if (HasFatalFailure() || !m_window->project()) {
            return;
        }

        action("Redo")->trigger();
        EXPECT_TRUE(isDone());
        EXPECT_FALSE(modified()) << "back at the saved state";
        Script script;
        action("Exit")->trigger();
        EXPECT_TRUE(script.records().empty());
        EXPECT_EQ(m_window->project(), nullptr);
    }

    // --- input on the main view ------------------------------------------------------

    void mouse(QEvent::Type type, const QPointF& world, Qt::MouseButtons held)
    {
        const QPointF pixel = view()->conv(world);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pixel, view()->mapToGlobal(pixel.toPoint()), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }
    void click(double x, double y)
    {
        mouse(QEvent::MouseMove, QPointF(x, y), Qt::NoButton);
        mouse(QEvent::MouseButtonPress, QPointF(x, y), Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, QPointF(x, y), Qt::NoButton);
    }
    void key(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }

    // --- the items of an edit-mode project ---------------------------------------------

    GeoEditSurfaceGroupItem* surfaces() const { return editRoot()->geoEditSurfaceGroupItem(); }
    GeoEditSurfaceGroupItemController* surfacesController() const
    {
        return surfaces()->groupController();
    }
    MoldsContainerWidget* moldBrowser() const
    {
        return surfacesController()->moldsContainerBrowser()->moldsContainerWidget();
    }
    /// Clicks the icon of the mold of that name in its tab of the Mold Browser.
    void pickMold(const QString& name)
    {
        QApplication::processEvents();
        for (Mold::EditType type : {Mold::Add, Mold::Subtract}) {
            for (IconView* icon : moldBrowser()->groupWidget(type)->icons()) {
                if (icon->moldItem()->name() == name) {
                    moldBrowser()->findChild<QTabWidget*>("tabWidget")->setCurrentIndex(type);
                    QTest::mouseClick(icon, Qt::LeftButton);
                    return;
                }
            }
        }
        FAIL() << "no mold " << name.toStdString();
    }
    QStringList moldNames(Mold::EditType type) const
    {
        QStringList names;
        for (const MoldItem* mold : editWindow()->moldsContainer()->group(type)->molds()) {
            names << mold->name();
        }
        return names;
    }
    /// A mold surface of "Convex (Add)" drawn with the path tool: three clicks and Return.
    void drawMoldSurface()
    {
        pickMold(QStringLiteral("Convex (Add)"));
        surfacesController()->geoEditSurfaceAction()->trigger();
        Script script;
        click(20, 50);
        click(40, 52);
        click(60, 50);
        key(Qt::Key_Return);
        EXPECT_TRUE(script.messageBoxes().empty());
    }
    GeoDataGroupItem* geoGroup(const char* name) const
    {
        return editRoot()->geoDataTopItem()->groupItem(QLatin1String(name));
    }
    GeoDataPolygonItem* attachPolygon(const QString& caption)
    {
        GeoDataPolygonItem* polygon = geoGroup("roughness")->createPolygonItem(caption);
        polygon->setPolygon(new tin::core::Polygon(
            {tin::core::Point2D(10, 10), tin::core::Point2D(30, 10), tin::core::Point2D(30, 30)}));
        geoGroup("roughness")->attachChildAtBack(polygon);
        return polygon;
    }
    GeoDataPolylineItem* attachPolyline(const QString& caption)
    {
        GeoDataPolylineItem* polyline =
            geoGroup("referenceinformation")->createPolylineItem(caption);
        polyline->setPolyline(
            new tin::core::Polyline({tin::core::Point2D(5, 60), tin::core::Point2D(95, 60)}));
        geoGroup("referenceinformation")->attachChildAtBack(polyline);
        return polyline;
    }

    /// The caption of `item` typed into its editor in the object browser after F2, committed
    /// with Return, as the user renames an item.
    void renameInBrowser(mvc::core::ModelItem* item, const QString& caption)
    {
        mvc::core::ObjectBrowserView* browser = item->model()->objectBrowserView();
        ASSERT_NE(browser, nullptr);
        item->model()->select(item);
        QTest::keyClick(browser, Qt::Key_F2);
        auto editor = qobject_cast<QLineEdit*>(browser->indexWidget(browser->currentIndex()));
        ASSERT_NE(editor, nullptr) << "F2 opens the caption's editor";
        editor->setText(caption);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents(); // the delegate commits in a queued call
        ASSERT_EQ(item->caption(), caption);
    }
};

// --- every kind of undoable edit ---------------------------------------------------------

class CreateModeEdits : public ModifiedStateTest {
protected:
    void SetUp() override
    {
        ModifiedStateTest::SetUp();
        m_window->newCreateProject();
        ASSERT_NE(createModeWindow(), nullptr);
        for (const tin::core::Point& p : {tin::core::Point(0, 0, 1.5), tin::core::Point(10, 0, 2.5),
                                          tin::core::Point(0, 10, 3.5)}) {
            m_points.push_back(pointsForTin()->pointSet()->addPoint(p));
        }
        saveFirst(QStringLiteral("survey"));
    }
    CoordinatePointsForTinItem* pointsForTin() const
    {
        return createModeWindow()->model()->rootItem()->coordinatePointsForTinItem();
    }
    CoordinatePointsForTinItemController* controller() const { return pointsForTin()->controller(); }

    std::vector<std::shared_ptr<tin::core::Point>> m_points;
};

TEST_F(CreateModeEdits, UndoPastASaveOfAPointEditIsAChange)
{
    expectUndoPastSaveIsAChange(
        [&] {
            const CoordinatePointsBaseItemController::Selection all(m_points.begin(), m_points.end());
            controller()->editPointsElevation(all, 7.25);
        },
        [&] { return m_points[0]->elevation() == 7.25 && m_points[2]->elevation() == 7.25; });
}

TEST_F(CreateModeEdits, UndoPastASaveOfABreaklineIsAChange)
{
    expectUndoPastSaveIsAChange([&] { controller()->addBreakline({m_points[0], m_points[1]}); },
                                [&] { return pointsForTin()->breaklineItems().size() == 1; });
}

class EditModeEdits : public ModifiedStateTest {
protected:
    void SetUp() override
    {
        ModifiedStateTest::SetUp();
        newEditProject(flatTerrain());
    }
};

TEST_F(EditModeEdits, UndoPastASaveOfAMoldSurfaceIsAChange)
{
    saveFirst(QStringLiteral("surface"));
    expectUndoPastSaveIsAChange([&] { drawMoldSurface(); },
                                [&] { return surfaces()->childItems().size() == 1; });
}

TEST_F(EditModeEdits, UndoPastASaveOfABrushStrokeIsAChange)
{
    saveFirst(QStringLiteral("brush"));
    expectUndoPastSaveIsAChange(
        [&] {
            surfaces()->model()->select(surfaces());
            surfacesController()->addByBrushingAction()->trigger();
            mouse(QEvent::MouseMove, QPointF(40, 40), Qt::NoButton);
            mouse(QEvent::MouseButtonPress, QPointF(40, 40), Qt::LeftButton);
            mouse(QEvent::MouseMove, QPointF(44, 41), Qt::LeftButton);
            mouse(QEvent::MouseButtonRelease, QPointF(44, 41), Qt::NoButton);
            key(Qt::Key_Return);
        },
        [&] {
            return surfaces()->childItems().size() == 1
                   && qobject_cast<GeoEditSurfaceByBrushItem*>(surfaces()->childItems()[0]);
        });
}

TEST_F(EditModeEdits, UndoPastASaveOfACrossSectionImportIsAChange)
{
    const QString csv = file(QStringLiteral("sections.csv"));
    ASSERT_TRUE(writeFileBytes(csv, "S1,10,10,10,90\nS2,20,10,20,90\n"));
    saveFirst(QStringLiteral("sections"));
    CrossSectionGroupItem* group = editRoot()->crossSectionGroupItem();
    expectUndoPastSaveIsAChange(
        [&] {
            Script script;
            script.answerFile(csv);
            static_cast<CrossSectionGroupItemController*>(group->controller())
                ->importAction()
                ->trigger();
            EXPECT_TRUE(script.messageBoxes().empty());
        },
        [&] { return group->crossSections().size() == 2; });
}

TEST_F(EditModeEdits, UndoPastASaveOfAPolygonDeletionIsAChange)
{
    GeoDataPolygonItem* polygon = attachPolygon(QStringLiteral("meadow"));
    saveFirst(QStringLiteral("geodata"));
    expectUndoPastSaveIsAChange(
        [&] {
            Script script;
            script.answer(QMessageBox::Yes);
            polygon->model()->select(polygon);
            polygon->model()->objectBrowserView()->deleteAction()->trigger();
            EXPECT_EQ(script.messageBoxes().size(), 1u);
        },
        [&] { return geoGroup("roughness")->childItems().empty(); });
}

// The reproduction: a mold deleted in the Mold Browser, saved, the deletion undone, and the
// program left. Exit asks, and its Yes keeps the mold in the archive.
TEST_F(EditModeEdits, UndoPastASaveOfAMoldDeletionIsAChangeThatExitSaves)
{
    const QString archive = saveFirst(QStringLiteral("molds"));
    const auto deleteMold = [&](const char* name) {
        Script script;
        script.answer(QMessageBox::Yes);
        pickMold(QLatin1String(name));
        QTest::mouseClick(moldBrowser()->findChild<QPushButton*>("deleteButton"), Qt::LeftButton);
        EXPECT_EQ(script.messageBoxes().size(), 1u);
    };
    expectUndoPastSaveIsAChange(
        [&] { deleteMold("Slope 1 (Add)"); },
        [&] { return !moldNames(Mold::Add).contains(QStringLiteral("Slope 1 (Add)")); });

    // The archive holds what the redo left: four molds of the Add group.
    m_window->openProject(archive);
    ASSERT_NE(editWindow(), nullptr);
    EXPECT_EQ(moldNames(Mold::Add).size(), 4);
    deleteMold("Convex (Add)");
    save();
    action("Undo")->trigger();
    {
        Script script;
        script.answer(QMessageBox::Yes);
        action("Exit")->trigger();
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].text, kModifiedQuestion);
        EXPECT_EQ(m_window->project(), nullptr);
    }
    m_window->openProject(archive);
    ASSERT_NE(editWindow(), nullptr);
    EXPECT_EQ(moldNames(Mold::Add),
              QStringList({"Convex (Add)", "Slope 2(Add)", "Concave (Add)", "Level plane (Add)"}));
}

// --- changes outside the undo stack -----------------------------------------------------

// A rename in the object browser is a change of its own (it is no undo step): Exit asks about
// it, a save keeps it, and no undo or redo back to the saved state of the stack hides it.
TEST_F(EditModeEdits, RenamesInTheObjectBrowserAreChangesExitAsksAbout)
{
    drawMoldSurface();
    ASSERT_EQ(surfaces()->childItems().size(), 1u);
    CrossSectionGroupItem* sections = editRoot()->crossSectionGroupItem();
    sections->attachChildAtBack(sections->buildCrossSection(
        QStringLiteral("Cross section 1"), tin::core::Point(10, 10), tin::core::Point(10, 90)));
    GeoDataPolygonItem* polygon = attachPolygon(QStringLiteral("meadow"));
    GeoDataPolylineItem* polyline = attachPolyline(QStringLiteral("C"));
    const QString archive = saveFirst(QStringLiteral("renames"));

    const std::vector<std::pair<mvc::core::ModelItem*, QString>> renames = {
        {surfaces()->childItems()[0], QStringLiteral("Levee crest")},
        {sections->childItems()[0], QStringLiteral("km 12.4")},
        {polygon, QStringLiteral("pasture")},
        {polyline, QStringLiteral("1")}};
    for (const auto& [item, caption] : renames) {
        SCOPED_TRACE(caption.toStdString());
        // The same text again changes nothing.
        renameInBrowser(item, item->caption());
        EXPECT_FALSE(modified());
        renameInBrowser(item, caption);
        EXPECT_TRUE(modified());
        expectExitAsks();
        if (HasFatalFailure() || !m_window->project()) {
            return;
        }
        // The surface's edit on the stack undone and redone: still the rename to save.
        action("Undo")->trigger();
        action("Redo")->trigger();
        EXPECT_TRUE(modified());
        save();
    }

    // Each name as saved, read back by a second reader.
    const QStringList inArchive = [&] {
        ProjectSession reader;
        Project& reopened = reader.newEditProject();
        EXPECT_TRUE(reopened.unzipFrom(archive));
        reopened.load();
        auto window = qobject_cast<EditModeMainWindow*>(reopened.projectWindow());
        EditModeMainWindowModelRootItem* root = window->model()->rootItem();
        return QStringList{
            root->geoEditSurfaceGroupItem()->childItems().at(0)->caption(),
            root->crossSectionGroupItem()->childItems().at(0)->caption(),
            root->geoDataTopItem()->groupItem("roughness")->childItems().at(0)->caption(),
            root->geoDataTopItem()->groupItem("referenceinformation")->childItems().at(0)->caption()};
    }();
    EXPECT_EQ(inArchive, QStringList({"Levee crest", "km 12.4", "pasture", "1"}));
}

} // namespace
} // namespace varnel::test
