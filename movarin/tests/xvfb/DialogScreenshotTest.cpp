// Every dialog and window of the program drawn by the X server as the user sees it, each
// kept as "screenshots/<name>.png" in the build folder for a look. A test only checks that a
// picture is not blank (at least 20 colours): whether it looks right is for a person.
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowAboutDialog.h"
#include "movarin/shell/MainWindowMiscDialogManager.h"
#include "movarin/shell/MouseHelpDialog.h"
#include "movarin/shell/PreferenceDialog.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectProperty.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/StartPageDialog.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageGroupItemController.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BackgroundImageItemController.h"
#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"
#include "movarin/survey/CoordinatePointsBaseItemEditElevationDialog.h"
#include "movarin/survey/CoordinatePointsBaseItemView.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/CoordinatePointsGroupItemController.h"
#include "movarin/survey/CoordinatePointsGroupItemImportSettingDialog.h"
#include "movarin/survey/CoordinatePointsItem.h"
#include "movarin/survey/CoordinatePointsItemController.h"
#include "movarin/survey/ReadOnlyTinItem.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "kalmo/ShpImportSettingDialog.h"
#include "kalmo/ShpImportSettingWizard.h"
#include "mirvel/EllipseToPlaneProjectionPairSelectDialog.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "pelkas/GdalImageLoader.h"

#include "support/ModalAnswerer.h"
#include "support/ScratchSettings.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSettings>
#include <QStandardItem>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTableView>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace varnel::test {
namespace {

const QString shapefile = QStringLiteral(MOVARIN_SHARED_DATA_DIR "/real/shapefile/a001_network.shp");
const QString photo = QStringLiteral(MOVARIN_SHARED_DATA_DIR "/real/image/autzen.jpg");

// Saves the picture as "screenshots/<name>.png" and checks that it is not blank.
void keep(const QImage& image, const QString& name)
{
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    const QString folder = QStringLiteral(MOVARIN_BINARY_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    ASSERT_TRUE(image.save(file)) << file.toStdString();
    const QImage saved(file);
    QSet<QRgb> colours;
    for (int y = 0; y < saved.height(); ++y) {
        for (int x = 0; x < saved.width(); ++x) {
            colours.insert(saved.pixel(x, y));
        }
    }
    EXPECT_GE(colours.size(), 20) << name.toStdString() << ": a blank or nearly blank picture";
}

// Shows a widget as a window, lets it settle and keeps its picture.
void showAndKeep(QWidget* widget, const QString& name)
{
    widget->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget)) << name.toStdString();
    QTest::qWait(100);
    keep(widget->grab().toImage(), name);
}

// Opens a menu where the user would see it, keeps its picture and closes it.
void popupAndKeep(QMenu* menu, const QPoint& globalPos, const QString& name)
{
    menu->popup(globalPos);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu)) << name.toStdString();
    QTest::qWait(50);
    keep(menu->grab().toImage(), name);
    menu->hide();
}

class DialogScreenshotTest : public ScratchSettingsTest {
protected:
    void SetUp() override { ScratchSettings::writeStartupDefaults(); }
};

TEST_F(DialogScreenshotTest, PreferencePages)
{
    PreferenceDialog dialog;
    auto tabs = dialog.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QTest::qWait(50);
        keep(dialog.grab().toImage(), QStringLiteral("preferences-") + tabs->tabText(i).toLower());
    }
}

TEST_F(DialogScreenshotTest, StartPage)
{
    QSettings().setValue(settings::generalRecentProjects,
                         QStringList{QStringLiteral("/work/rivers/upper-reach.cmvn"),
                                     QStringLiteral("/work/rivers/lower-reach-after-the-2019-flood.emvn"),
                                     QStringLiteral("/home/surveyor/projects/2021/delta/delta.v2.cmvn"),
                                     QStringLiteral("/tmp/river.stl")});
    StartPageDialog dialog;
    dialog.loadLinks(QStringLiteral("en_US"));
    auto tabs = dialog.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    showAndKeep(&dialog, QStringLiteral("start-page"));
    for (int i = 1; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QTest::qWait(50);
        keep(dialog.grab().toImage(), QStringLiteral("start-page-tab%1").arg(i + 1));
    }
}

TEST_F(DialogScreenshotTest, SmallDialogsOfTheMainWindow)
{
    MainWindow window;
    window.resize(1024, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    MainWindowAboutDialog* about = window.miscDialogManager()->aboutDialog();
    showAndKeep(about, QStringLiteral("about"));
    about->hide();

    window.miscDialogManager()->showMouseHelpDialog();
    MouseHelpDialog* mouseHelp = window.miscDialogManager()->mouseHelpDialog();
    ASSERT_NE(mouseHelp, nullptr);
    showAndKeep(mouseHelp, QStringLiteral("mouse-hint"));
    mouseHelp->close();

    window.newCreateProject();
    ASSERT_NE(window.project(), nullptr);
    ModalAnswerer answerer([](QWidget* dialog) {
        keep(dialog->grab().toImage(), QStringLiteral("project-property"));
        dialog->close();
    });
    window.showProjectPropertyDialog();
    EXPECT_TRUE(answerer.answered());

    // One of the longest names of the catalogue.
    window.project()->projectFile()->property()->setProjectionPair(
        window.projectionPairBuilder()->projectionPair("EPSG:8206"));
    ModalAnswerer longName([](QWidget* dialog) {
        keep(dialog->grab().toImage(), QStringLiteral("project-property-long-name"));
        dialog->close();
    });
    window.showProjectPropertyDialog();
    EXPECT_TRUE(longName.answered());

    guiproj::EllipseToPlaneProjectionPairSelectDialog select(&window);
    select.setBuilder(window.projectionPairBuilder());
    showAndKeep(&select, QStringLiteral("coordinate-system"));
    select.setProjectionPair(window.projectionPairBuilder()->projectionPair("EPSG:2991"));
    QTest::qWait(50);
    keep(select.grab().toImage(), QStringLiteral("coordinate-system-chosen"));
}

TEST_F(DialogScreenshotTest, ShapefileImport)
{
    tinshp::ShpImportSettingWizard wizard(shapefile.toStdString());
    showAndKeep(&wizard, QStringLiteral("shapefile-wizard-page1"));
    wizard.next();
    QTest::qWait(50);
    keep(wizard.grab().toImage(), QStringLiteral("shapefile-wizard-page2"));
    wizard.close();

    tinshp::ShpImportSettingDialog dialog(shapefile.toStdString());
    showAndKeep(&dialog, QStringLiteral("shapefile-dialog"));
}

TEST_F(DialogScreenshotTest, PointDialogsWithoutAProject)
{
    CoordinatePointsBaseItemEditElevationDialog elevation(nullptr);
    elevation.setElevation(12.345);
    showAndKeep(&elevation, QStringLiteral("edit-elevation"));

    CoordinatePointsGroupItemImportSettingDialog import(nullptr);
    showAndKeep(&import, QStringLiteral("points-import-setting"));
}

// A create-mode project in a main window of 1280 by 800, to which a test adds 400 points
// coloured by elevation, a TIN over them and the photo under them.
class ProjectScreenshotTest : public DialogScreenshotTest {
protected:
    void SetUp() override
    {
        DialogScreenshotTest::SetUp();
        gdalimg::GdalImageLoader::init();
        m_script = std::make_unique<guimisc::UserDialogScript>();
        m_window = std::make_unique<MainWindow>();
        m_window->resize(1280, 800);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->newCreateProject();
        ASSERT_NE(m_window->project(), nullptr);
        m_projectWindow = m_window->findChild<CreateModeMainWindow*>();
        ASSERT_NE(m_projectWindow, nullptr);
        QTest::qWait(100);
    }

    void TearDown() override
    {
        m_script.reset();
        m_window.reset();
    }

    CreateModeMainWindowModelRootItem* root() const
    {
        return m_projectWindow->model()->rootItem();
    }

    // The points of a 20 by 20 grid of 60 m cells on the photo's ground, shifted a little so
    // that they do not look like a grid: a valley along y whose floor lies at -60 and whose
    // sides climb to 60, spanning most of the default colour map.
    static tin::core::Point gridPoint(int i, int j)
    {
        const double x = 636500.0 + 60.0 * i + 18.0 * std::sin(1.7 * i + 2.3 * j);
        const double y = 849500.0 + 60.0 * j + 18.0 * std::cos(2.1 * i + 1.3 * j);
        const double z = -60.0 + 12.0 * std::abs(i - 9.5) + 10.0 * std::sin(j / 3.0);
        return tin::core::Point(x, y, z);
    }

    void importPoints()
    {
        const QString file = m_dir.filePath(QStringLiteral("valley.tpo"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Text));
        QTextStream text(&out);
        text.setRealNumberPrecision(10);
        for (int j = 0; j < 20; ++j) {
            for (int i = 0; i < 20; ++i) {
                const tin::core::Point p = gridPoint(i, j);
                text << p.x() << ',' << p.y() << ',' << p.elevation() << '\n';
            }
        }
        out.close();
        m_script->answerFile(file, CoordinatePointsGroupItem::fileFilters().at(3));
        root()->coordinatePointsGroupItem()->controller()->importData();
        ASSERT_EQ(root()->coordinatePointsGroupItem()->childItems().size(), 1u);
        auto item = static_cast<CoordinatePointsItem*>(
            root()->coordinatePointsGroupItem()->childItems().front());
        CoordinatePointsBaseItemViewSetting setting = item->view()->viewSetting();
        item->view()->setViewSetting(
            CoordinatePointsBaseItemViewSetting(setting.color(), setting.radius(), true));
    }

    void addTin()
    {
        auto tin = new tin::core::Tin();
        std::vector<std::shared_ptr<tin::core::Point>> nodes;
        for (int j = 0; j < 20; ++j) {
            for (int i = 0; i < 20; ++i) {
                nodes.push_back(std::make_shared<tin::core::Point>(gridPoint(i, j)));
            }
        }
        auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * 20 + i)]; };
        for (int j = 0; j < 19; ++j) {
            for (int i = 0; i < 19; ++i) {
                tin->addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
                tin->addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
            }
        }
        root()->tinItem()->setTin(tin);
    }

    BackgroundImageItem* importPhoto()
    {
        m_script->answerFile(photo);
        auto group = root()->backgroundImageGroupItem();
        static_cast<BackgroundImageGroupItemController*>(group->controller())->importImage();
        if (group->childItems().empty()) {
            ADD_FAILURE() << "the photo was not imported";
            return nullptr;
        }
        return static_cast<BackgroundImageItem*>(group->childItems().front());
    }

    // The main window's picture after the view was fitted to everything, with the mouse over
    // the middle of the view so that the status bar shows its position.
    void keepWindow(const QString& name)
    {
        mvc::core::View* view = m_projectWindow->view();
        view->fit(root()->boundingBox());
        QTest::mouseMove(view, view->rect().center());
        QTest::qWait(200);
        keep(m_window->grab().toImage(), name);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<guimisc::UserDialogScript> m_script;
    std::unique_ptr<MainWindow> m_window;
    CreateModeMainWindow* m_projectWindow = nullptr;
};

// Opens every menu of the menu bar and each of its submenus; an empty one (Export in create
// mode) opens nothing and has no picture.
void keepMenus(QMenuBar* bar, const QString& prefix)
{
    const auto slug = [](QString text) {
        return text.remove(QLatin1Char('&')).remove(QLatin1Char('/')).replace(QLatin1Char(' '), QLatin1Char('-')).toLower();
    };
    for (QAction* action : bar->actions()) {
        QMenu* menu = action->menu();
        if (!menu || !action->isVisible()) {
            continue;
        }
        const QPoint at = bar->mapToGlobal(bar->actionGeometry(action).bottomLeft());
        const QString name = prefix + slug(action->text());
        emit menu->aboutToShow();
        if (!menu->isEmpty()) {
            popupAndKeep(menu, at, name);
        }
        for (QAction* sub : menu->actions()) {
            if (!sub->menu() || !sub->isVisible()) {
                continue;
            }
            emit sub->menu()->aboutToShow();
            if (!sub->menu()->isEmpty()) {
                popupAndKeep(sub->menu(), at + QPoint(200, 0), name + QLatin1Char('-') + slug(sub->text()));
            }
        }
    }
}

TEST_F(ProjectScreenshotTest, MenusOfTheMainWindowInBothModes)
{
    // With recent projects and in developers mode every menu has something to show.
    QSettings().setValue(settings::generalRecentProjects,
                         QStringList{QStringLiteral("/work/rivers/upper-reach.cmvn"),
                                     QStringLiteral("/work/rivers/lower-reach.emvn")});
    QSettings().setValue(settings::developersMode, true);
    emit m_window->preferenceChanged();
    keepMenus(m_window->menuBar(), QStringLiteral("menu-"));
    // The edit-mode menus (Export has entries there) once that project kind has a window.
    m_window->newEditProject();
    if (m_window->project()) {
        QTest::qWait(100);
        keepMenus(m_window->menuBar(), QStringLiteral("menu-edit-mode-"));
        keep(m_window->grab().toImage(), QStringLiteral("main-window-edit-mode"));
        ModalAnswerer answerer([](QWidget* dialog) {
            keep(dialog->grab().toImage(), QStringLiteral("project-property-edit-mode"));
            dialog->close();
        });
        m_window->showProjectPropertyDialog();
        EXPECT_TRUE(answerer.answered());
    }
}

// A terrain surface opened as an edit-mode project: the window as it opens (the Mold Browser
// docked on the right, wide enough to read its title, the surface fitted between the docks),
// the dock alone, and the window maximised by the user, the surface fitted again.
TEST_F(ProjectScreenshotTest, EditModeSurfaceWindowAndItsMoldBrowser)
{
    m_window->openProject(
        QStringLiteral(MOVARIN_SHARED_DATA_DIR "/real/stl/hmstl_scene-thick_binary.stl"));
    auto edit = m_window->findChild<EditModeMainWindow*>();
    ASSERT_NE(edit, nullptr);
    QTest::qWait(200);
    keep(m_window->grab().toImage(), QStringLiteral("main-window-edit-mode-surface"));
    MoldsContainerBrowser* dock = static_cast<WindowWithMoldsContainerBrowserI*>(edit)->dockWidget();
    ASSERT_NE(dock, nullptr);
    keep(dock->grab().toImage(), QStringLiteral("mold-browser-dock"));
    static_cast<QWidget*>(edit->parent())->showMaximized();
    QTest::qWait(200);
    keep(m_window->grab().toImage(), QStringLiteral("main-window-edit-mode-surface-maximized"));
}

TEST_F(ProjectScreenshotTest, PointsTinAndTheirDialogs)
{
    importPoints();
    addTin();
    keepWindow(QStringLiteral("main-window-points-and-tin"));

    auto points = static_cast<CoordinatePointsItem*>(
        root()->coordinatePointsGroupItem()->childItems().front());
    points->controller()->selectAllAction()->trigger();
    keepWindow(QStringLiteral("main-window-points-selected"));

    std::unique_ptr<QDialog> property(points->controller()->propertyDialog(m_window.get()));
    ASSERT_NE(property, nullptr);
    showAndKeep(property.get(), QStringLiteral("points-color-setting"));
}

TEST_F(ProjectScreenshotTest, ObjectBrowserMenus)
{
    importPoints();
    addTin();
    BackgroundImageItem* image = importPhoto();
    ASSERT_NE(image, nullptr);
    keepWindow(QStringLiteral("main-window-photo-points-tin"));

    auto browser = m_projectWindow->findChild<mvc::core::ObjectBrowserView*>();
    ASSERT_NE(browser, nullptr);
    browser->expandAll();
    QTest::qWait(50);
    const std::vector<std::pair<mvc::core::ModelItem*, QString>> items = {
        {root()->coordinatePointsGroupItem(), QStringLiteral("points-group")},
        {root()->coordinatePointsGroupItem()->childItems().front(), QStringLiteral("points")},
        {root()->coordinatePointsForTinItem(), QStringLiteral("points-for-tin")},
        {root()->tinItem(), QStringLiteral("tin")},
        {root()->backgroundImageGroupItem(), QStringLiteral("images-group")},
        {image, QStringLiteral("image")},
    };
    for (const auto& [item, name] : items) {
        const QRect rect = browser->visualRect(item->browserItem()->index());
        ASSERT_TRUE(rect.isValid()) << name.toStdString();
        const QPoint inWindow = browser->viewport()->mapTo(m_window.get(), rect.center());
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, Qt::NoModifier, inWindow);
        QTest::mousePress(m_window->windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow);
        QTest::mouseRelease(m_window->windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow);
        QMenu* menu = m_projectWindow->model()->rightClickMenu();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu)) << name.toStdString();
        QTest::qWait(50);
        keep(menu->grab().toImage(), QStringLiteral("browser-menu-") + name);
        menu->hide();
    }
}

TEST_F(ProjectScreenshotTest, ImageDialogs)
{
    BackgroundImageItem* image = importPhoto();
    ASSERT_NE(image, nullptr);
    auto controller = static_cast<BackgroundImageItemController*>(image->controller());

    std::unique_ptr<QDialog> position(controller->propertyDialog(m_window.get()));
    ASSERT_NE(position, nullptr);
    showAndKeep(position.get(), QStringLiteral("image-position"));
    position->hide();

    controller->showGeoreferenceDialog();
    BackgroundImageItemGeoreferenceDialog* georeference = controller->georeferenceDialog();
    ASSERT_NE(georeference, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(georeference));
    // Two pairs as the user types them: picture positions (y up from the top-left corner)
    // to map positions.
    auto table = georeference->findChild<QTableView*>(QStringLiteral("gcpTableView"));
    ASSERT_NE(table, nullptr);
    const double pairs[2][4] = {{412.5, -3120.25, 636027.125, 850241.875},
                                {2890.75, -655.5, 638505.625, 852706.5}};
    for (int row = 0; row < 2; ++row) {
        for (int column = 1; column <= 4; ++column) {
            QAbstractItemModel* model = table->model();
            EXPECT_TRUE(model->setData(model->index(row, column), pairs[row][column - 1]));
        }
    }
    // The pane marks the pairs once the mouse has been over it.
    auto pane = georeference->findChild<QWidget*>(QStringLiteral("imageWidget"));
    ASSERT_NE(pane, nullptr);
    QTest::mouseMove(pane, pane->rect().center());
    QTest::mouseMove(pane, pane->rect().center() + QPoint(5, 5));
    QTest::qWait(200);
    keep(georeference->grab().toImage(), QStringLiteral("georeference"));
    keep(m_window->grab().toImage(), QStringLiteral("main-window-georeference-mode"));

    georeference->close();
    QTest::qWait(50);
}

} // namespace
} // namespace varnel::test
