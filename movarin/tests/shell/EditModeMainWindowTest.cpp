// The edit-mode project window: its parts, docks and interfaces, the item tree's three
// orders, what "DataModel" loads, and the TIN and background images a new project gets.
#include "ProjectTestSupport.h"

#include "brask/core/ObjectBrowser.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "brask/window/ProjectMdiArea.h"
#include "brask/window/ProjectWindowItem.h"
#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/sections/LandXmlExportItem.h"
#include "movarin/sections/ZindralExportItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include <common/exception/RuntimeException.h>

#include <QMdiSubWindow>
#include <QStandardItem>
#include <QStandardItemModel>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class EditModeMainWindowTest : public ScratchSettingsTest {
protected:
    void SetUp() override
    {
        ScratchSettings::writeStartupDefaults();
        m_session.newEditProject();
        m_window = m_session.createEditWindow();
        ASSERT_NE(m_window, nullptr);
    }

    EditModeMainWindowModelRootItem* root() const { return m_window->model()->rootItem(); }
    QStandardItemModel* rows() const { return m_window->model()->standardItemModel(); }

    ProjectSession m_session;
    EditModeMainWindow* m_window = nullptr;
};

TEST_F(EditModeMainWindowTest, WindowShowsTheFixedItemsInTheirThreeOrders)
{
    EXPECT_EQ(m_window->windowTitle(), "Main Window");
    EXPECT_FALSE(ProjectSession::subWindowOf(m_window)->windowIcon().isNull());
    EXPECT_EQ(m_window->sizeHint(), QSize(800, 600));
    EXPECT_EQ(m_window->windowIdPrefix(), "editMainWindow");
    EXPECT_EQ(m_window->centralWidget(), m_window->view());
    EXPECT_EQ(m_window->windowItem()->parent(), m_session.project()->projectFile());
    EXPECT_EQ(m_session.project()->projectWindow(), m_window);

    const std::vector<mvc::core::ModelItem*> entries = {
        root()->baseTinItem(),        root()->geoEditSurfaceGroupItem(),
        root()->tinItem(),            root()->crossSectionGroupItem(),
        root()->geoDataTopItem(),     root()->backgroundImageGroupItem(),
        root()->zindralExportItem(),  root()->landXmlExportItem()};

    // Browser rows: entries 0 to 5; the export items have none.
    ASSERT_EQ(rows()->rowCount(), 6);
    QStringList texts;
    for (int i = 0; i < rows()->rowCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows()->item(i), entries[i]->browserItem());
        EXPECT_FALSE(rows()->item(i)->icon().isNull());
        EXPECT_EQ(rows()->item(i)->checkState(), Qt::Checked);
        EXPECT_FALSE(rows()->item(i)->isEditable());
        EXPECT_FALSE(entries[i]->isDeletable());
        EXPECT_FALSE(entries[i]->isReorderable());
        texts << rows()->item(i)->text();
    }
    EXPECT_EQ(texts, QStringList({"base TIN (no data)", "GeoEdit Surfaces", "TIN (no data)",
                                  "Cross sections", "Geographic data", "Background images"}));
    EXPECT_EQ(entries[6]->browserItem(), nullptr);
    EXPECT_EQ(entries[7]->browserItem(), nullptr);

    // Children in creation order 0, 2, 5, 1, 4, 3, 6, 7; painting from the bottom
    // 5, 0, 2, 1, 3, 4.
    EXPECT_EQ(root()->childItems(),
              (std::vector<mvc::core::ModelItem*>{entries[0], entries[2], entries[5], entries[1],
                                                  entries[4], entries[3], entries[6],
                                                  entries[7]}));
    EXPECT_EQ(root()->paintingOrder(),
              (std::vector<mvc::core::ModelItem*>{entries[5], entries[0], entries[2], entries[1],
                                                  entries[3], entries[4]}));

    // Where each item's files go, and what undo texts call it.
    EXPECT_EQ(entries[1]->relativeSubPath(), "geoEditSurfaceGroupItem");
    EXPECT_EQ(root()->geoEditSurfaceGroupItem()->moldsContainer()->relativeSubPath(),
              "geoEditSurfaceGroupItem/moldsContainer");
    EXPECT_EQ(entries[3]->relativeSubPath(), "");
    EXPECT_EQ(entries[4]->relativeSubPath(), "geoData");
    EXPECT_EQ(entries[5]->relativeSubPath(), "backgroundImageGroup");
    EXPECT_EQ(entries[1]->itemTypeName(), "GeoEdit surface");
    EXPECT_EQ(entries[3]->itemTypeName(), "Cross section");
    EXPECT_EQ(root()->baseTinItem()->relativeFilename(), "readOnlyTin.tin");
    EXPECT_EQ(root()->tinItem()->relativeFilename(), "tin.tin");

    EXPECT_EQ(m_window->tinItem(), root()->tinItem());
    EXPECT_TRUE(m_window->isTinEmpty());
    EXPECT_EQ(m_window->moldsContainer(), root()->geoEditSurfaceGroupItem()->moldsContainer());
    EXPECT_EQ(m_window->mdiArea(), m_session.mainWindow().mdiArea());
    // The molds' files come first; the TINs' are listed but written only once they hold data.
    std::vector<std::string> files;
    for (const QString& mold : defaultMoldFiles()) {
        files.push_back(mold.toStdString());
    }
    files.insert(files.end(), {"readOnlyTin.tin", "tin.tin"});
    EXPECT_EQ(m_window->windowItem()->containedFiles(), files);
}

TEST_F(EditModeMainWindowTest, DocksAndInterfacesAreFoundThroughQt)
{
    QWidget* window = m_window;
    auto viewWindow = qobject_cast<mvc::window::WindowWithViewI*>(window);
    ASSERT_NE(viewWindow, nullptr);
    EXPECT_EQ(viewWindow->view()->model(), m_window->model());
    auto toolBarWindow = qobject_cast<mvc::window::WindowProvidingOperationToolBarI*>(window);
    ASSERT_NE(toolBarWindow, nullptr);
    EXPECT_EQ(toolBarWindow->operationToolBar(), m_window->model()->operationToolBar());

    auto browserWindow = qobject_cast<mvc::window::WindowWithObjectBrowserI*>(window);
    ASSERT_NE(browserWindow, nullptr);
    mvc::core::ObjectBrowser* browser = browserWindow->dockWidget();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->view()->model(), rows());
    EXPECT_EQ(m_window->dockWidgetArea(browser), Qt::LeftDockWidgetArea);

    // The Mold Browser is the GeoEdit surface group controller's, docked on the right before
    // the window is first shown, and the same dock at every request.
    auto moldsWindow = qobject_cast<WindowWithMoldsContainerBrowserI*>(window);
    ASSERT_NE(moldsWindow, nullptr);
    MoldsContainerBrowser* molds = moldsWindow->dockWidget();
    ASSERT_NE(molds, nullptr);
    EXPECT_EQ(molds, root()->geoEditSurfaceGroupItem()->groupController()->moldsContainerBrowser());
    EXPECT_EQ(molds, moldsWindow->dockWidget());
    EXPECT_EQ(molds->windowTitle(), "Mold Browser");
    EXPECT_EQ(molds->parentWidget(), window);
    EXPECT_EQ(m_window->dockWidgetArea(molds), Qt::RightDockWidgetArea);
    ProjectSession::subWindowOf(m_window)->show();
    EXPECT_TRUE(molds->isVisible());

    // The create-mode window has no molds dock.
    EXPECT_EQ(qobject_cast<WindowWithMoldsContainerBrowserI*>(
                  static_cast<QWidget*>(m_session.createWindow())),
              nullptr);
}

TEST_F(EditModeMainWindowTest, DataModelLoadsTheElementsItFinds)
{
    // Every row unchecked where its element is read; the cross sections only inside
    // "CrossSectionTop"; the images under the name of earlier versions.
    const QString window = QStringLiteral(
        "<Windows><Window name=\"editMainWindow\"><DataModel>"
        "<BaseTin checkState=\"0\"/><Tin checkState=\"0\"/>"
        "<BackgroundImages checkState=\"0\"/>"
        "<GeoEditSurfaceGroup checkState=\"0\"/>"
        "%1"
        "<GeoDataTop checkState=\"0\"/><ZindralExportSetting isExpanded=\"1\"/>"
        "</DataModel></Window></Windows>");
    struct Case {
        const char* name;
        QString crossSections;
        Qt::CheckState expected;
    };
    const Case cases[] = {
        {"inside CrossSectionTop", "<CrossSectionTop><CrossSectionGroup checkState=\"0\"/>"
                                   "</CrossSectionTop>",
         Qt::Unchecked},
        {"directly under DataModel", "<CrossSectionGroup checkState=\"0\"/>", Qt::Checked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Project& project = m_session.newEditProject();
        m_session.writeProjectXml(window.arg(c.crossSections));
        project.load();
        auto loaded = qobject_cast<EditModeMainWindow*>(project.projectWindow());
        ASSERT_NE(loaded, nullptr);
        QStandardItemModel* loadedRows = loaded->model()->standardItemModel();
        ASSERT_EQ(loadedRows->rowCount(), 6);
        for (int i : {0, 1, 2, 4, 5}) {
            EXPECT_EQ(loadedRows->item(i)->checkState(), Qt::Unchecked) << "row " << i;
        }
        EXPECT_EQ(loadedRows->item(3)->checkState(), c.expected);
    }
}

TEST_F(EditModeMainWindowTest, BackgroundImagesAreAppendedInTheirOrderOrNotAtAll)
{
    BackgroundImageGroupItem* group = root()->backgroundImageGroupItem();
    QImage red(4, 3, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QImage blue(5, 2, QImage::Format_ARGB32);
    blue.fill(Qt::blue);

    try {
        m_window->setBackgroundImages({"a.png", "b.jpg", "c.tif"}, {red, blue},
                                      {imagePlacement(0, 0, 1, 0), imagePlacement(1, 1, 1, 0)});
        ADD_FAILURE() << "unequal lengths were taken";
    } catch (const common::exception::RuntimeException& e) {
        EXPECT_STREQ(e.what(), "The sizes of filenames and images are not equal.");
    }
    EXPECT_THROW(m_window->setBackgroundImages({"a.png"}, {red}, {}),
                 common::exception::RuntimeException);
    m_window->setBackgroundImages({}, {}, {});
    EXPECT_TRUE(group->childItems().empty());
    EXPECT_EQ(group->browserItem()->rowCount(), 0);

    m_window->setBackgroundImages(
        {"a.png", "b.jpg"}, {red, blue},
        {imagePlacement(100000.5, -35000.25, 0.5, 30), imagePlacement(7, 8, 2, 0)});
    ASSERT_EQ(group->childItems().size(), 2u);
    ASSERT_EQ(group->browserItem()->rowCount(), 2);
    const struct {
        QString caption;
        QImage image;
        gdalimg::GdalImageSetting setting;
        std::string file;
    } expected[] = {{"a.png", red, imagePlacement(100000.5, -35000.25, 0.5, 30),
                     "backgroundImageGroup/background1.png"},
                    {"b.jpg", blue, imagePlacement(7, 8, 2, 0),
                     "backgroundImageGroup/background2.png"}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        auto item = qobject_cast<BackgroundImageItem*>(group->childItems()[i]);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(group->browserItem()->child(i), item->browserItem());
        EXPECT_EQ(item->caption(), expected[i].caption);
        EXPECT_EQ(item->filename(), expected[i].caption);
        EXPECT_EQ(item->image()->image(), expected[i].image);
        EXPECT_TRUE(item->image()->isSettingLoaded());
        EXPECT_EQ(item->image()->setting().topLeft(), expected[i].setting.topLeft());
        EXPECT_EQ(item->image()->setting().scale(), expected[i].setting.scale());
        EXPECT_EQ(item->image()->setting().angle(), expected[i].setting.angle());
        EXPECT_EQ(item->relativeFilename(), expected[i].file);
        EXPECT_EQ(item->parentItem(), group);
    }
    // The rows are the model's: the browser can select them.
    EXPECT_EQ(root()->fromBrowserItem(group->browserItem()->child(1)), group->childItems()[1]);
}

} // namespace
} // namespace varnel::test
