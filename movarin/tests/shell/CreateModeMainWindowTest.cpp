// The create-mode project window: its parts and interfaces, the item tree's three orders,
// closing, and the two project kinds with their colour scale.
#include "ProjectTestSupport.h"

#include "brask/core/ObjectBrowser.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "brask/window/ProjectMdiArea.h"
#include "brask/window/ProjectWindowItem.h"
#include "movarin/sections/GeoDataTopForCreateItem.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/CreateModeProject.h"
#include "movarin/shell/EditModeProject.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectWindowFactory.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"

#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QToolBar>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class CreateModeMainWindowTest : public ScratchSettingsTest {
protected:
    void SetUp() override { ScratchSettings::writeStartupDefaults(); }
};

TEST_F(CreateModeMainWindowTest, WindowShowsTheFixedItemsInTheirThreeOrders)
{
    ProjectSession session;
    session.newCreateProject();
    CreateModeMainWindow* window = session.createWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Main Window");
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_FALSE(ProjectSession::subWindowOf(window)->windowIcon().isNull());
    EXPECT_EQ(window->sizeHint(), QSize(800, 600));
    EXPECT_EQ(window->windowIdPrefix(), "createMainWindow");
    EXPECT_EQ(window->centralWidget(), window->view());

    CreateModeMainWindowModelRootItem* root = window->model()->rootItem();
    const std::vector<mvc::core::ModelItem*> entries = {
        root->coordinatePointsGroupItem(), root->coordinatePointsForTinItem(), root->tinItem(),
        root->geoDataTopItem(), root->backgroundImageGroupItem()};

    // Browser rows: entries 0 to 4, as the user reads them.
    QStandardItemModel* rows = window->model()->standardItemModel();
    ASSERT_EQ(rows->rowCount(), 5);
    QStringList texts;
    for (int i = 0; i < rows->rowCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows->item(i), entries[i]->browserItem());
        EXPECT_FALSE(rows->item(i)->icon().isNull());
        EXPECT_EQ(rows->item(i)->checkState(), Qt::Checked);
        EXPECT_FALSE(rows->item(i)->isEditable());
        EXPECT_FALSE(entries[i]->isDeletable());
        EXPECT_FALSE(entries[i]->isReorderable());
        texts << rows->item(i)->text();
    }
    EXPECT_EQ(texts, QStringList({"Coordinate point data", "Coordinate points data for TIN",
                                  "TIN (no data)", "Geographic data", "Background images"}));
    // The object browser's tree view shows that model.
    mvc::core::ObjectBrowser* browser =
        qobject_cast<mvc::window::WindowWithObjectBrowserI*>(window)->dockWidget();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->view()->model(), rows);
    EXPECT_EQ(window->dockWidgetArea(browser), Qt::LeftDockWidgetArea);

    // Children in creation order 0, 1, 2, 4, 3; painting from the bottom 4, 2, 0, 1, 3.
    EXPECT_EQ(root->childItems(), (std::vector<mvc::core::ModelItem*>{
                                      entries[0], entries[1], entries[2], entries[4], entries[3]}));
    EXPECT_EQ(root->paintingOrder(), (std::vector<mvc::core::ModelItem*>{
                                         entries[4], entries[2], entries[0], entries[1],
                                         entries[3]}));

    // Where each item's files go, and what undo texts call it.
    EXPECT_EQ(entries[0]->relativeSubPath(), "coordinatePointsGroup");
    EXPECT_EQ(entries[1]->relativeSubPath(), "coordinatePointsForTin");
    EXPECT_EQ(entries[2]->relativeSubPath(), "");
    EXPECT_EQ(entries[3]->relativeSubPath(), "geoData");
    EXPECT_EQ(entries[4]->relativeSubPath(), "backgroundImageGroup");
    EXPECT_EQ(entries[0]->itemTypeName(), "coordinate point data");
    EXPECT_EQ(entries[2]->itemTypeName(), "TIN");
    EXPECT_EQ(entries[3]->itemTypeName(), "Geographic data top");
    EXPECT_EQ(entries[4]->itemTypeName(), "background image");

    EXPECT_EQ(window->tinItem(), root->tinItem());
    EXPECT_EQ(window->tinItem()->tin(), nullptr);
    EXPECT_TRUE(window->isTinEmpty());
    EXPECT_EQ(window->backgroundImageGroupItem(), root->backgroundImageGroupItem());
    EXPECT_EQ(window->windowItem()->containedFiles(),
              std::vector<std::string>({"coordinatePointsForTin/coordinatePointsForTin.tpobin",
                                        "readOnlyTin.tin"}));

    // The Add menu collects the entries of the items in child order.
    QMenu menu;
    window->appendAddActionToMenu(&menu);
    QStringList addEntries;
    for (const QAction* action : menu.actions()) {
        addEntries << action->text();
    }
    EXPECT_EQ(addEntries, QStringList({"Coordinate points data", "New points to points for Tin",
                                       "Add Breakline to points for Tin", "Background image"}));
}

TEST_F(CreateModeMainWindowTest, InterfacesAreFoundThroughQt)
{
    ProjectSession session;
    session.newCreateProject();
    QWidget* window = session.createWindow();
    auto concrete = qobject_cast<CreateModeMainWindow*>(window);
    ASSERT_NE(concrete, nullptr);

    auto toolBarWindow = qobject_cast<mvc::window::WindowProvidingOperationToolBarI*>(window);
    ASSERT_NE(toolBarWindow, nullptr);
    EXPECT_NE(toolBarWindow->operationToolBar(), nullptr);
    EXPECT_EQ(toolBarWindow->operationToolBar(), concrete->model()->operationToolBar());

    auto viewWindow = qobject_cast<mvc::window::WindowWithViewI*>(window);
    ASSERT_NE(viewWindow, nullptr);
    EXPECT_EQ(viewWindow->view()->model(), concrete->model());

    auto dockWindow = qobject_cast<mvc::window::WindowWithObjectBrowserI*>(window);
    ASSERT_NE(dockWindow, nullptr);
    EXPECT_EQ(dockWindow->dockWidget()->parentWidget(), window);
}

TEST_F(CreateModeMainWindowTest, CloseButtonOnlyHidesTheWindow)
{
    ProjectSession session;
    Project& project = session.newCreateProject();
    QPointer<CreateModeMainWindow> window = session.createWindow();
    QPointer<QMdiSubWindow> subWindow = ProjectSession::subWindowOf(window);
    subWindow->show();
    ASSERT_TRUE(subWindow->isVisible());

    EXPECT_FALSE(subWindow->close());
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(subWindow->isVisible());
    ASSERT_FALSE(window.isNull());
    ASSERT_FALSE(subWindow.isNull());
    EXPECT_EQ(project.projectWindow(), window.data());
    EXPECT_EQ(window->model()->rootItem()->childItems().size(), 5u);
    EXPECT_EQ(session.mainWindow().mdiArea()->subWindowList().size(), 1);

    subWindow->show();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(CreateModeMainWindowTest, FactoryMakesOnlyKnownKinds)
{
    ProjectSession session;
    Project& project = session.newCreateProject();
    mvc::window::ProjectMdiArea* area = session.mainWindow().mdiArea();
    // Unknown and empty prefixes make nothing.
    for (const char* prefix : {"createMainWindow2", "editmainwindow", ""}) {
        EXPECT_EQ(createProjectWindow(QString::fromLatin1(prefix), area, project.projectFile()),
                  nullptr)
            << prefix;
    }
    EXPECT_EQ(createProjectWindow("createMainWindow", nullptr, project.projectFile()), nullptr);
    EXPECT_TRUE(area->subWindowList().isEmpty());
    // The window item hangs under the project file.
    CreateModeMainWindow* window = session.createWindow();
    EXPECT_EQ(window->windowItem()->parent(), project.projectFile());
}

TEST_F(CreateModeMainWindowTest, ProjectKindsHaveTheirCodesAndWindowKinds)
{
    ProjectSession session;
    Project& create = session.newCreateProject();
    EXPECT_EQ(create.fileExtension(), "cmvn");
    EXPECT_EQ(create.windowIdPrefix(), "createMainWindow");
    EXPECT_EQ(create.undoStack(), session.mainWindow().undoStack());
    EXPECT_EQ(create.mainWindow(), &session.mainWindow());
    EXPECT_TRUE(QFileInfo(create.workFolder()).isDir());
    EXPECT_EQ(QFileInfo(create.workFolder()).dir(), session.mainWindow().workspace()->workspace());
    EXPECT_EQ(session.mainWindow().workspace()->workspace().dirName(), ".movarin_workspace");

    Project& edit = session.newEditProject();
    EXPECT_EQ(edit.fileExtension(), "emvn");
    EXPECT_EQ(edit.windowIdPrefix(), "editMainWindow");
    EXPECT_NE(edit.projectFile()->property(), nullptr);
    // An edit-mode project does not take a create-mode window as its own.
    session.createWindow();
    EXPECT_EQ(edit.projectWindow(), nullptr);
}

TEST_F(CreateModeMainWindowTest, ColourScaleFollowsThePreferences)
{
    const auto expected = [](double min, double max, double water) {
        guimisc::colormapper::ElevationColorMapper mapper;
        mapper.setRange(min, max);
        mapper.setWaterSurfaceValue(water);
        return mapper;
    };
    const std::vector<double> elevations = {-120, -75, -50, -10, 0, 10, 45, 80, 120};
    const auto agree = [&](const guimisc::colormapper::ElevationColorMapper& a,
                           const guimisc::colormapper::ElevationColorMapper& b) {
        for (double z : elevations) {
            if (a.color(z) != b.color(z)) {
                return false;
            }
        }
        return true;
    };

    ProjectSession session;
    const Project& project = session.newCreateProject();
    const guimisc::colormapper::ElevationColorMapper* mapper = project.elevationColorMapper();
    EXPECT_TRUE(agree(*mapper, expected(-100, 100, 0)));

    QSettings().setValue(settings::graphicsColormapMin, QStringLiteral("-60"));
    QSettings().setValue(settings::graphicsColormapWaterSurface, 20.0);
    EXPECT_TRUE(agree(*mapper, expected(-100, 100, 0))) << "read only on the signal";
    emit session.mainWindow().preferenceChanged();
    EXPECT_TRUE(agree(*mapper, expected(-60, 100, 20)));
    EXPECT_FALSE(agree(*mapper, expected(-100, 100, 0)));

    // A value that is no number, and a missing one, count as 0.
    QSettings().setValue(settings::graphicsColormapMax, QStringLiteral("high"));
    QSettings().remove(settings::graphicsColormapWaterSurface);
    emit session.mainWindow().preferenceChanged();
    EXPECT_TRUE(agree(*mapper, expected(-60, 0, 0)));
}

} // namespace
} // namespace varnel::test
