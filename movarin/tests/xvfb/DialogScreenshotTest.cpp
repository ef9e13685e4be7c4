// Every dialog and window of the program drawn by the X server as the user sees it, each
// kept as "screenshots/<name>.png" in the build folder for a look. Every picture is checked
// not to be blank (at least 20 colours); where a picture shows figures or drawings, the
// test checks those too (the soil volumes, the auxiliary lines' pixels, the profile's
// pixels, the view after a preference change). How the rest looks is for a person.
#include "movarin/sections/CalculateSoilVolumeDialog.h"
#include "movarin/sections/CalculateSoilVolumeDialogSelectionHelper.h"
#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionItemPathPropertyDialog.h"
#include "movarin/sections/DrawAuxiliaryDialog.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataGroupItemControllerExportTypeSelectDialog.h"
#include "movarin/sections/GeoDataGroupValueEditDialog.h"
#include "movarin/sections/GeoDataGroupValueEditWidget.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolygonItemController.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataPolylineSetting.h"
#include "movarin/sections/GeoDataTopForCreateItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindowActionManager.h"
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
#include "movarin/survey/TinItem.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushEditSettingDialog.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLine.h"
#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialog.h"
#include "movarin/surfaces/IconView.h"
#include "movarin/surfaces/MoldGroupItemWidget.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/surfaces/MoldsContainerWidget.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemController.h"
#include "movarin/surfaces/MoldItemControllerSelectionHelper.h"
#include "movarin/surfaces/MoldItemPropertyDialog.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "kalmo/ShpImportSettingDialog.h"
#include "kalmo/ShpImportSettingWizard.h"
#include "mirvel/EllipseToPlaneProjectionPairSelectDialog.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/util/TinModifier.h"
#include "pelkas/GdalImageLoader.h"

#include "support/ModalAnswerer.h"
#include "support/ScratchSettings.h"
#include "support/TerrainStl.h"

#include <guimisc/SettingsSupport.h>
#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWheelEvent>
#include <QSet>
#include <QSettings>
#include <QStandardItem>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTableView>
#include <QTableWidget>
#include <QWindow>
#include <QScreen>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>
#include <utility>

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

// Opens the browser's right-click menu of each item as the user does (the item selected,
// then a right press on its row) and keeps its picture as "browser-menu-<name>".
void keepBrowserMenus(QWidget* mainWindow, mvc::core::Model* model,
                      const std::vector<std::pair<mvc::core::ModelItem*, QString>>& items)
{
    mvc::core::ObjectBrowserView* browser = model->objectBrowserView();
    ASSERT_NE(browser, nullptr);
    browser->expandAll();
    for (const auto& [item, name] : items) {
        // Selected first: the item's tool-bar buttons may add a tool-bar row and move the
        // browser down before the right press.
        model->select(item);
        QPoint placed(-1, -1);
        for (int wait = 0; wait < 40; ++wait) {
            QTest::qWait(50);
            const QPoint now = browser->viewport()->mapTo(mainWindow, QPoint());
            if (now == placed) {
                break;
            }
            placed = now;
        }
        const QRect rect = browser->visualRect(item->browserItem()->index());
        ASSERT_TRUE(rect.isValid()) << name.toStdString();
        const QPoint inWindow = browser->viewport()->mapTo(mainWindow, rect.center());
        // Released only once the menu is hidden again: a release on the menu that has just
        // opened under the mouse could trigger its first entry.
        QWindow* window = mainWindow->windowHandle();
        QTest::mousePress(window, Qt::RightButton, Qt::NoModifier, inWindow);
        QMenu* menu = model->rightClickMenu();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu)) << name.toStdString();
        QTest::qWait(50);
        keep(menu->grab().toImage(), QStringLiteral("browser-menu-") + name);
        menu->hide();
        QTest::mouseRelease(window, Qt::RightButton, Qt::NoModifier, inWindow);
    }
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
    guimisc::SettingsSupport::setValue(
        settings::generalRecentProjects,
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

// A trapezoid channel being edited: its bottom points selected (marker dots, the dotted
// rectangle and the slopes), then the editor's menu opened by a right click in the view.
TEST_F(DialogScreenshotTest, MoldSettingAndTheEditorsMenu)
{
    const mold::core::Mold channel(mold::core::Mold::Subtract, {-6.0, -2.0, 2.0, 6.0},
                                   {0.0, -2.0, -2.0, 0.0}, 0.0, 0.0);
    MoldItemPropertyDialog dialog(QStringLiteral("Trapezoid channel"), channel);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    DetailView* view = dialog.detailView();
    // One notch out, so that the slope labels beside the mold stay in the picture.
    QWheelEvent wheel(QPointF(view->rect().center()), QPointF(view->mapToGlobal(view->rect().center())),
                      QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(view, &wheel);
    const QPoint from = view->conv(QPointF(-3.0, -1.0)).toPoint();
    const QPoint to = view->conv(QPointF(3.0, -3.0)).toPoint();
    QTest::mouseMove(view, from);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent drag(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &drag);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_EQ(2u, dialog.moldItem()->controller()->selectionHelper()->selection().size());
    QTest::qWait(100);
    keep(dialog.grab().toImage(), QStringLiteral("mold-setting"));

    QMenu* menu = dialog.moldItem()->controller()->contextMenu();
    QTest::mouseClick(view, Qt::RightButton, Qt::NoModifier, view->conv(QPointF(4.0, 1.0)).toPoint());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::qWait(50);
    keep(menu->grab().toImage(), QStringLiteral("mold-setting-menu"));
    menu->hide();
}

// The brush settings with the limit in use and the size locked, as "Set brush" opens them
// while strokes are pending.
TEST_F(DialogScreenshotTest, BrushSetting)
{
    GeoEditSurfaceGroupItemControllerBrushEditSettingDialog dialog;
    BrushSettings settings;
    settings.brushEditUnit = -0.25;
    settings.brushLimit = 12.5;
    settings.brushLimitEnabled = true;
    dialog.setSettings(settings);
    dialog.setSizeEnabled(false);
    showAndKeep(&dialog, QStringLiteral("brush-setting"));
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

    void addTin() { root()->tinItem()->setTin(new tin::core::Tin(valleyTin())); }

    static tin::core::Tin valleyTin()
    {
        tin::core::Tin tin;
        std::vector<std::shared_ptr<tin::core::Point>> nodes;
        for (int j = 0; j < 20; ++j) {
            for (int i = 0; i < 20; ++i) {
                nodes.push_back(std::make_shared<tin::core::Point>(gridPoint(i, j)));
            }
        }
        auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * 20 + i)]; };
        for (int j = 0; j < 19; ++j) {
            for (int i = 0; i < 19; ++i) {
                tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
                tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
            }
        }
        return tin;
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
    guimisc::SettingsSupport::setValue(settings::generalRecentProjects,
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

// A terrain surface, written as the program's STL export writes it, opened as an edit-mode
// project: the window as it opens (the Mold Browser docked on the right, wide enough to read
// its title, the surface fitted between the docks), the dock alone, and the window maximised
// by the user, the surface fitted again.
TEST_F(ProjectScreenshotTest, EditModeSurfaceWindowAndItsMoldBrowser)
{
    const QString stl = m_dir.filePath(QStringLiteral("terrain.stl"));
    TerrainStl::write(stl);
    m_window->openProject(stl);
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

    keepBrowserMenus(m_window.get(), m_projectWindow->model(),
                     {{root()->coordinatePointsGroupItem(), QStringLiteral("points-group")},
                      {root()->coordinatePointsGroupItem()->childItems().front(),
                       QStringLiteral("points")},
                      {root()->coordinatePointsForTinItem(), QStringLiteral("points-for-tin")},
                      {root()->tinItem(), QStringLiteral("tin")},
                      {root()->backgroundImageGroupItem(), QStringLiteral("images-group")},
                      {image, QStringLiteral("image")}});
}

TEST_F(ProjectScreenshotTest, GeographicDataAndItsDialogs)
{
    importPoints();
    addTin();
    // A polygon and a polyline over the valley, the polygon selected with its vertices.
    GeoDataGroupItem* reference =
        root()->geoDataTopItem()->groupItem(QStringLiteral("referenceinformation"));
    ASSERT_NE(reference, nullptr);
    auto polyline = reference->createPolylineItem(QStringLiteral("C"));
    auto line = new tin::core::Polyline();
    for (int j = 0; j < 20; j += 3) {
        line->addPoint(tin::core::Point2D(636500.0 + 570.0 + 40.0 * std::sin(j / 2.0),
                                          849500.0 + 60.0 * j, -1));
    }
    polyline->setPolyline(line);
    GeoDataPolylineSetting lineSetting;
    lineSetting.color = QColor(200, 30, 30);
    lineSetting.lineWidth = 3;
    polyline->setSetting(lineSetting);
    reference->attachChildAtFront(polyline);
    auto polygon = reference->createPolygonItem(QStringLiteral("Polygon1"));
    polygon->setPolygon(new tin::core::Polygon({{636700, 849700}, {637000, 849650},
                                                {637100, 849900}, {636850, 850050},
                                                {636650, 849950}}));
    GeoDataPolygonSetting setting;
    setting.color = QColor(30, 90, 200);
    setting.lineWidth = 2;
    polygon->setSetting(setting);
    reference->attachChildAtFront(polygon);
    root()->geoDataTopItem()->expandBrowserItem();
    reference->expandBrowserItem();
    polygon->selectBrowserItem();
    keepWindow(QStringLiteral("main-window-geodata"));

    // The group's menu, opened where the user right-clicks its row.
    auto browser = m_projectWindow->findChild<mvc::core::ObjectBrowserView*>();
    ASSERT_NE(browser, nullptr);
    const QRect rect = browser->visualRect(reference->browserItem()->index());
    ASSERT_TRUE(rect.isValid());
    const QPoint inWindow = browser->viewport()->mapTo(m_window.get(), rect.center());
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, Qt::NoModifier, inWindow);
    QTest::mousePress(m_window->windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow);
    QTest::mouseRelease(m_window->windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow);
    QMenu* menu = m_projectWindow->model()->rightClickMenu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::qWait(50);
    keep(menu->grab().toImage(), QStringLiteral("browser-menu-geodata-group"));
    menu->hide();

    std::unique_ptr<QDialog> property(polygon->controller()->propertyDialog(m_window.get()));
    ASSERT_NE(property, nullptr);
    showAndKeep(property.get(), QStringLiteral("geodata-polygon-setting"));

    GeoDataGroupItemControllerExportTypeSelectDialog exportType(m_window.get());
    showAndKeep(&exportType, QStringLiteral("geodata-export-type"));

    // The value dialogs of a real and of an enumerated group, as a definition opens them.
    const GeoDataGroupItem height(QStringLiteral("Vegetation Height"),
                                  QStringLiteral("vegetationheight"), QStringLiteral("m"), nullptr);
    const GeoDataGroupItem dead(QStringLiteral("Dead area"), QStringLiteral("deadarea"),
                                GeoDataGroupItem::EnumValues{{0, QStringLiteral("Normal")},
                                                             {1, QStringLiteral("Dead")}},
                                nullptr);
    for (const auto& [group, name] :
         {std::make_pair(&height, QStringLiteral("geodata-value-real")),
          std::make_pair(&dead, QStringLiteral("geodata-value-enum"))}) {
        GeoDataGroupValueEditDialog value(m_window.get());
        value.setWindowTitle(QStringLiteral("Edit Polygon1 value"));
        value.setWidget(group->buildValueEditWidget());
        value.setValue(1);
        value.disableCancel();
        showAndKeep(&value, name);
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

// An edit-mode project on the valley: the Mold Browser with a mold picked, the surfaces
// group's menu, a path being drawn with its preview and the surface it makes.
TEST_F(ProjectScreenshotTest, MoldBrowserPathToolAndSurfacesMenu)
{
    m_window->newEditProject();
    auto edit = m_window->findChild<EditModeMainWindow*>();
    ASSERT_NE(edit, nullptr);
    edit->setTin(valleyTin());
    EditModeMainWindowModelRootItem* editRoot = edit->model()->rootItem();
    GeoEditSurfaceGroupItemController* surfaces = editRoot->geoEditSurfaceGroupItem()->groupController();
    MoldsContainerBrowser* dock = surfaces->moldsContainerBrowser();
    ASSERT_TRUE(dock->isVisible());
    QTest::mouseClick(dock->moldsContainerWidget()->groupWidget(mold::core::Mold::Add)->icons()[1],
                      Qt::LeftButton);
    QTest::qWait(100);
    keep(dock->grab().toImage(), QStringLiteral("mold-browser"));

    edit->parentWidget()->showMaximized();
    QTest::qWait(100);
    mvc::core::View* view = edit->view();
    // Close enough for the 9 m wide mold to show: 160 m of the valley's floor.
    view->fit(QRectF(636970.0, 850020.0, 160.0, 160.0));
    surfaces->geoEditSurfaceAction()->trigger();
    // Along the valley floor, three clicks and the mouse on its way to a fourth.
    const std::vector<QPointF> path = {{637030.0, 850040.0}, {637045.0, 850090.0},
                                       {637035.0, 850130.0}, {637050.0, 850170.0}};
    for (std::size_t i = 0; i < path.size(); ++i) {
        const QPoint at = view->conv(path[i]).toPoint();
        QTest::mouseMove(view, at);
        if (i + 1 < path.size()) {
            QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
        }
    }
    QTest::qWait(200);
    keep(m_window->grab().toImage(), QStringLiteral("main-window-mold-path"));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(editRoot->geoEditSurfaceGroupItem()->childItems().size(), 1u);
    QTest::qWait(200);
    keep(m_window->grab().toImage(), QStringLiteral("main-window-mold-surface"));

    keepBrowserMenus(m_window.get(), edit->model(),
                     {{editRoot->geoEditSurfaceGroupItem(), QStringLiteral("geoedit-surfaces")}});
}

// An edit-mode project in a main window of 1280 by 800: a valley as the base TIN and, as the
// edited TIN, the valley with a mound merged into its middle.
class EditModeScreenshotTest : public DialogScreenshotTest {
protected:
    void SetUp() override
    {
        DialogScreenshotTest::SetUp();
        m_window = std::make_unique<MainWindow>();
        m_window->resize(1280, 800);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->newEditProject();
        m_projectWindow = m_window->findChild<EditModeMainWindow*>();
        ASSERT_NE(m_projectWindow, nullptr);
        auto valley = [](double x, double y) { return 0.004 * (x - 100) * (x - 100) + 0.01 * y; };
        auto mound = [&](double x, double y) {
            return valley(x, y) + 6.0 - 0.002 * ((x - 100) * (x - 100) + (y - 100) * (y - 100));
        };
        const tin::core::Tin base = grid(0, 200, 20, valley);
        bool ok = false;
        const tin::core::Tin edited =
            tin::util::TinModifier::add(base, grid(50, 150, 10, mound), &ok, nullptr, nullptr, nullptr);
        ASSERT_TRUE(ok);
        root()->baseTinItem()->setTin(new tin::core::Tin(base));
        root()->tinItem()->setTin(new tin::core::Tin(edited));
        view()->fit(root()->boundingBox());
        QTest::qWait(100);
    }

    void TearDown() override { m_window.reset(); }

    EditModeMainWindowModelRootItem* root() const { return m_projectWindow->model()->rootItem(); }
    mvc::core::View* view() const { return m_projectWindow->view(); }

    template <class Z>
    static tin::core::Tin grid(double from, double to, int cells, Z z)
    {
        tin::core::Tin tin;
        auto at = [&](int i, int j) {
            const double x = from + (to - from) * i / cells, y = from + (to - from) * j / cells;
            return tin::core::Point(x, y, z(x, y));
        };
        for (int i = 0; i < cells; ++i) {
            for (int j = 0; j < cells; ++j) {
                tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
                tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
            }
        }
        return tin;
    }

    // A left click at world point (x, y) after a move there.
    void clickAt(double x, double y)
    {
        const QPoint at = view()->conv(QPointF(x, y)).toPoint();
        QTest::mouseMove(view(), at);
        QMouseEvent move(QEvent::MouseMove, at, view()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view(), &move);
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, at);
    }

    std::unique_ptr<MainWindow> m_window;
    EditModeMainWindow* m_projectWindow = nullptr;
};

template <class Button>
Button* buttonNamed(QWidget* parent, const QString& text)
{
    for (Button* b : parent->findChildren<Button*>()) {
        if (b->text().remove(QLatin1Char('&')) == text) {
            return b;
        }
    }
    return nullptr;
}

// The exact fill of the fixture over a convex region (all of it when empty), from the
// surfaces' own definition rather than from the TINs: base and mound share the grid's 10 m
// cells and diagonals over the mound's square, so the edited TIN (the higher of the two there)
// stands above the base by the positive part of d = mound - valley = 6 - 0.002 r^2, linear
// over each triangle from its corners. Each triangle is clipped to the region and to d >= 0,
// and a linear function integrates over a convex polygon as the area of each fan triangle
// times the mean of its corners.
double moundFill(const std::vector<QPointF>& region)
{
    struct Corner {
        double x, y, d;
    };
    using Polygon = std::vector<Corner>;
    // Keeps the part where f is at least 0, f linear and given by its values at the corners.
    const auto clip = [](const Polygon& polygon, const std::vector<double>& f) {
        Polygon kept;
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const std::size_t j = (i + 1) % polygon.size();
            if (f[i] >= 0.0) {
                kept.push_back(polygon[i]);
            }
            if ((f[i] > 0.0 && f[j] < 0.0) || (f[i] < 0.0 && f[j] > 0.0)) {
                const double t = f[i] / (f[i] - f[j]);
                const Corner& a = polygon[i];
                const Corner& b = polygon[j];
                kept.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.d + t * (b.d - a.d)});
            }
        }
        return kept;
    };
    double turn = 0.0;
    for (std::size_t k = 0; k < region.size(); ++k) {
        const QPointF& a = region[k];
        const QPointF& b = region[(k + 1) % region.size()];
        turn += a.x() * b.y() - b.x() * a.y();
    }
    const double side = turn >= 0.0 ? 1.0 : -1.0;
    const auto d = [](double x, double y) { return 6.0 - 0.002 * ((x - 100) * (x - 100) + (y - 100) * (y - 100)); };
    const auto corner = [&](double x, double y) { return Corner{x, y, d(x, y)}; };
    double fill = 0.0;
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            const double x = 50.0 + 10.0 * i, y = 50.0 + 10.0 * j;
            for (Polygon polygon : {Polygon{corner(x, y), corner(x + 10, y), corner(x + 10, y + 10)},
                                    Polygon{corner(x, y), corner(x + 10, y + 10), corner(x, y + 10)}}) {
                for (std::size_t k = 0; k < region.size() && !polygon.empty(); ++k) {
                    const QPointF& a = region[k];
                    const QPointF& b = region[(k + 1) % region.size()];
                    std::vector<double> inside;
                    for (const Corner& c : polygon) {
                        inside.push_back(side * ((b.x() - a.x()) * (c.y - a.y()) - (b.y() - a.y()) * (c.x - a.x())));
                    }
                    polygon = clip(polygon, inside);
                }
                std::vector<double> above;
                for (const Corner& c : polygon) {
                    above.push_back(c.d);
                }
                polygon = clip(polygon, above);
                for (std::size_t k = 1; k + 1 < polygon.size(); ++k) {
                    const Corner &a = polygon[0], &b = polygon[k], &c = polygon[k + 1];
                    const double area = std::abs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2.0;
                    fill += area * (a.d + b.d + c.d) / 3.0;
                }
            }
        }
    }
    return fill;
}

// The figures the dialog shows, "Cut" and "Fill".
std::pair<double, double> shownVolumes(QWidget* dialog)
{
    auto table = dialog->findChild<QTableWidget*>();
    if (!table || !table->item(0, 1) || !table->item(1, 1)) {
        ADD_FAILURE() << "no volumes shown";
        return {-1.0, -1.0};
    }
    EXPECT_EQ(table->item(0, 0)->text(), "Cut");
    EXPECT_EQ(table->item(1, 0)->text(), "Fill");
    return {table->item(0, 1)->text().toDouble(), table->item(1, 1)->text().toDouble()};
}

// The mound raises the valley inside its square and lowers it nowhere: the dialog shows no
// cut and the exact fill, over the whole surface and over a region drawn across the mound.
TEST_F(EditModeScreenshotTest, SoilVolumeWholeAndRegion)
{
    m_window->actionManager()->action(QStringLiteral("Calculate Soil Volume"))->trigger();
    auto dialog = m_projectWindow->findChild<CalculateSoilVolumeDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    QTest::qWait(100);
    keep(dialog->grab().toImage(), QStringLiteral("soil-volume"));
    EXPECT_EQ(shownVolumes(dialog), std::make_pair(0.0, 0.0)) << "nothing computed yet";
    QTest::mouseClick(buttonNamed<QPushButton>(dialog, QStringLiteral("Execute")), Qt::LeftButton);
    QTest::qWait(50);
    keep(dialog->grab().toImage(), QStringLiteral("soil-volume-whole"));
    const double wholeFill = moundFill({});
    EXPECT_GT(wholeFill, 10000.0);
    EXPECT_EQ(shownVolumes(dialog).first, 0.0);
    EXPECT_NEAR(shownVolumes(dialog).second, wholeFill, 0.002);

    QRadioButton* selected = buttonNamed<QRadioButton>(dialog, QStringLiteral("Selected region"));
    QTest::mouseClick(selected, Qt::LeftButton, Qt::NoModifier, QPoint(8, selected->height() / 2));
    QTest::mouseClick(buttonNamed<QPushButton>(dialog, QStringLiteral("Select region")), Qt::LeftButton);
    for (const QPointF& p : {QPointF(60, 60), QPointF(150, 80), QPointF(130, 150)}) {
        clickAt(p.x(), p.y());
    }
    const QPoint band = view()->conv(QPointF(70, 140)).toPoint();
    QMouseEvent move(QEvent::MouseMove, band, view()->mapToGlobal(band), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view(), &move);
    QTest::qWait(100);
    keep(m_window->grab().toImage(), QStringLiteral("main-window-soil-region"));
    QTest::keyClick(view(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    QTest::mouseClick(buttonNamed<QPushButton>(dialog, QStringLiteral("Execute")), Qt::LeftButton);
    QTest::qWait(100);
    keep(dialog->grab().toImage(), QStringLiteral("soil-volume-region"));
    // The region as drawn: the clicks (and the rubber band's last place), through the view.
    auto region = dynamic_cast<const CalculateSoilVolumeDialog::SelectionHelper*>(view()->selectionHelper());
    ASSERT_NE(region, nullptr);
    std::vector<QPointF> corners;
    for (const tin::core::Point2D& p : region->polygon().points()) {
        corners.emplace_back(p.x(), p.y());
    }
    ASSERT_GE(corners.size(), 3u);
    const double regionFill = moundFill(corners);
    EXPECT_GT(regionFill, 0.3 * wholeFill);
    EXPECT_LT(regionFill, 0.9 * wholeFill);
    EXPECT_EQ(shownVolumes(dialog).first, 0.0);
    EXPECT_NEAR(shownVolumes(dialog).second, regionFill, 0.002);
    dialog->reject();
}

// Both export dialogs as Export opens them: LandXML in a project of EPSG 6677 (the datum and
// the coordinate system proposed), the grid model with a UTM zone chosen.
TEST_F(EditModeScreenshotTest, ExportDialogs)
{
    m_window->project()->projectFile()->property()->setProjectionPair(
        m_window->projectionPairBuilder()->projectionPair("EPSG:6677"));
    ModalAnswerer landXml([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("projectNameEdit")->setText(QStringLiteral("Upper reach"));
        dialog->findChild<QComboBox*>("verticalDatumList")->setCurrentIndex(3);
        QTest::qWait(50);
        keep(dialog->grab().toImage(), QStringLiteral("landxml-export"));
        dialog->close();
    });
    m_window->actionManager()->action(QStringLiteral("LandXML"))->trigger();
    EXPECT_TRUE(landXml.answered());

    ModalAnswerer grid([](QWidget* dialog) {
        dialog->findChild<QWidget*>("folderWidget")->findChild<QLineEdit*>()->setText(
            QStringLiteral("/work/rivers/kinu/grid"));
        dialog->findChild<QLineEdit*>("riverNameEdit")->setText(QStringLiteral("鬼怒川"));
        dialog->findChild<QLineEdit*>("surveyDateEdit")->setText(QStringLiteral("2023-05-01"));
        dialog->findChild<QComboBox*>("coordinateSystemList")->setCurrentIndex(4);
        dialog->findChild<QComboBox*>("systemNumberList")->setCurrentIndex(53);
        QTest::qWait(50);
        keep(dialog->grab().toImage(), QStringLiteral("zindral-grid-export"));
        dialog->close();
    });
    m_window->actionManager()->action(QStringLiteral("Zindral Grid data"))->trigger();
    EXPECT_TRUE(grid.answered());
}

// Whether a pixel within `reach` pixels of `at` has the colour `rgb` in `after` and had
// another in `before`: something of that colour was drawn there.
bool drawnNear(const QImage& before, const QImage& after, const QPoint& at, QRgb rgb, int reach = 2)
{
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (after.valid(p) && (after.pixel(p) & 0xffffff) == (rgb & 0xffffff) &&
                (before.pixel(p) & 0xffffff) != (rgb & 0xffffff)) {
                return true;
            }
        }
    }
    return false;
}

// A red polyline, a yellow triangle, two cyan edges (the points taken in pairs, so nothing
// joins the second point to the third) and a point in the colour carried on from them: each
// is on the main view where its coordinates say, and nothing is drawn between the edges.
TEST_F(EditModeScreenshotTest, AuxiliaryDrawings)
{
    QWidget* shown = view();
    const QImage before = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ModalAnswerer answerer([](QWidget* modal) {
        modal->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral(
            "# color: #ff0000\n# type: polyline\n20 20\n100 60\n180 30\n\n"
            "# color: yellow\n# type: triangle\n60 120\n140 120\n100 180\n\n"
            "# color: #00ffff\n# type: edge\n30 170\n70 190\n130 190\n170 170\n\n"
            "# type: point\n100 100\n"));
        QTest::mouseClick(modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply),
                          Qt::LeftButton);
        QTest::qWait(100);
        keep(modal->grab().toImage(), QStringLiteral("draw-lines-and-points"));
        QTest::mouseClick(modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    m_window->actionManager()->action(QStringLiteral("Draw lines and points"))->trigger();
    EXPECT_TRUE(answerer.answered());
    QTest::qWait(100);
    keep(m_window->grab().toImage(), QStringLiteral("main-window-auxiliary-drawings"));
    const QImage after = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);

    const auto middle = [this](QPointF a, QPointF b) { return view()->conv((a + b) / 2.0).toPoint(); };
    const auto at = [this](double x, double y) { return view()->conv(QPointF(x, y)).toPoint(); };
    const QRgb red = qRgb(255, 0, 0), yellow = qRgb(255, 255, 0), cyan = qRgb(0, 255, 255);
    EXPECT_TRUE(drawnNear(before, after, middle({20, 20}, {100, 60}), red));
    EXPECT_TRUE(drawnNear(before, after, middle({100, 60}, {180, 30}), red));
    EXPECT_TRUE(drawnNear(before, after, middle({60, 120}, {140, 120}), yellow));
    EXPECT_TRUE(drawnNear(before, after, middle({140, 120}, {100, 180}), yellow));
    EXPECT_TRUE(drawnNear(before, after, middle({100, 180}, {60, 120}), yellow)) << "the triangle is closed";
    EXPECT_TRUE(drawnNear(before, after, middle({30, 170}, {70, 190}), cyan));
    EXPECT_TRUE(drawnNear(before, after, middle({130, 190}, {170, 170}), cyan));
    EXPECT_FALSE(drawnNear(before, after, middle({70, 190}, {130, 190}), cyan, 4)) << "edges go in pairs";
    EXPECT_FALSE(drawnNear(before, after, middle({180, 30}, {20, 20}), red, 4)) << "a polyline stays open";
    // Every point is a dot of its record's colour.
    EXPECT_TRUE(drawnNear(before, after, at(20, 20), red, 1));
    EXPECT_TRUE(drawnNear(before, after, at(100, 180), yellow, 1));
    EXPECT_TRUE(drawnNear(before, after, at(100, 100), cyan, 1));
    // Away from the drawings the view is as it was.
    for (const QPoint& p : {at(160, 110), at(40, 100), at(185, 120)}) {
        EXPECT_EQ(after.pixel(p), before.pixel(p));
    }
}

// A surface along the mound being edited: while the reference line of its second vertex is
// dragged (the line and the grid turned to it), then with the guide labels (lengths,
// elevations, the reference lines and their angles); and its path table.
TEST_F(EditModeScreenshotTest, SurfaceBeingEditedAndItsPathTable)
{
    QSettings().setValue(settings::graphicsShowTinEdges, false);
    GeoEditSurfaceGroupItemController* surfaces = root()->geoEditSurfaceGroupItem()->groupController();
    MoldsContainerBrowser* molds = surfaces->moldsContainerBrowser();
    QTest::mouseClick(molds->moldsContainerWidget()->groupWidget(mold::core::Mold::Add)->icons()[1],
                      Qt::LeftButton);
    molds->hide();
    m_projectWindow->parentWidget()->showMaximized();
    QTest::qWait(100);
    view()->fit(QRectF(40.0, 50.0, 140.0, 90.0));
    QTest::qWait(100);
    surfaces->geoEditSurfaceAction()->trigger();
    for (const QPointF& p : {QPointF(50, 70), QPointF(95, 95), QPointF(140, 88), QPointF(165, 125)}) {
        clickAt(p.x(), p.y());
    }
    QTest::keyClick(view(), Qt::Key_Return);
    ASSERT_EQ(root()->geoEditSurfaceGroupItem()->childItems().size(), 1u);
    auto surface = static_cast<GeoEditSurfaceItem*>(root()->geoEditSurfaceGroupItem()->childItems().front());
    m_projectWindow->model()->select(surface);
    auto controller = static_cast<GeoEditSurfaceItemController*>(surface->controller());

    const auto send = [this](QEvent::Type type, const QPointF& world, Qt::MouseButton button,
                             Qt::MouseButtons buttons) {
        const QPoint at = view()->conv(world).toPoint();
        QMouseEvent event(type, at, view()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    };
    controller->action(GeoEditSurfaceItemController::EditReferenceLinesAction)->trigger();
    send(QEvent::MouseMove, QPointF(96, 94), Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, QPointF(95, 95), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPointF(105, 120), Qt::NoButton, Qt::LeftButton);
    QTest::qWait(200);
    keep(m_window->grab().toImage(), QStringLiteral("main-window-surface-reference-line"));
    send(QEvent::MouseButtonRelease, QPointF(105, 120), Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseMove, QPointF(60, 130), Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(controller->pendingReferenceLines().at(1).defined);
    QTest::qWait(200);
    keep(m_window->grab().toImage(), QStringLiteral("main-window-surface-edit"));

    GeoEditSurfaceItemPathPropertyDialog dialog(m_window.get());
    dialog.setController(controller);
    dialog.resize(560, 240);
    showAndKeep(&dialog, QStringLiteral("geoedit-surface-path"));
    dialog.reject();
}

// What the X server shows of `widget` (not a fresh rendering, which `grab` gives): a view
// that was not drawn again still shows its old picture here.
QImage onScreen(QWidget* widget)
{
    QApplication::processEvents();
    QTest::qWait(200);
    QWidget* top = widget->window();
    const QPoint at = widget->mapTo(top, QPoint(0, 0));
    return top->windowHandle()
        ->screen()
        ->grabWindow(top->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The pixels at which two pictures of one size differ, left of column `right`.
int differingPixels(const QImage& a, const QImage& b, int right)
{
    if (a.size() != b.size()) {
        return a.width() * a.height();
    }
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < std::min(right, a.width()); ++x) {
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return count;
}

// Option > Preferences over a surface along the mound: while the dialog is open the view
// behind it is drawn with the surface over the terrain, and once the dialog is accepted with
// the edges off and a colour range of the terrain's own, the view on the screen shows that
// at once, as a fresh drawing of it does, not only after the next fit.
TEST_F(EditModeScreenshotTest, PreferencesTakeEffectOnTheOpenViewAtOnce)
{
    ASSERT_TRUE(QSettings().value(settings::graphicsShowTinEdges).toBool());
    GeoEditSurfaceGroupItemController* surfaces = root()->geoEditSurfaceGroupItem()->groupController();
    MoldsContainerBrowser* molds = surfaces->moldsContainerBrowser();
    QTest::mouseClick(molds->moldsContainerWidget()->groupWidget(mold::core::Mold::Add)->icons()[1],
                      Qt::LeftButton);
    molds->hide();
    m_projectWindow->parentWidget()->showMaximized();
    QTest::qWait(100);
    view()->fit(QRectF(40.0, 50.0, 140.0, 90.0));
    surfaces->geoEditSurfaceAction()->trigger();
    const QPointF path[] = {{50, 70}, {95, 95}, {140, 88}, {165, 125}};
    for (const QPointF& p : path) {
        clickAt(p.x(), p.y());
    }
    QTest::keyClick(view(), Qt::Key_Return);
    ASSERT_EQ(root()->geoEditSurfaceGroupItem()->childItems().size(), 1u);
    // A tool in use would draw over the view: the pictures show the project alone. The view's
    // transform is brought to its size as laid out now, which the preferences keep.
    m_projectWindow->model()->select(root()->tinItem());
    QTest::qWait(200);
    view()->updateView();
    const QTransform placed = view()->transform();

    // Pixels on the vertical edges x = 60, 70, ... 170 of the edited TIN's grid, away from
    // the surface, and the middles of the surface's path.
    std::vector<QPoint> onEdges;
    for (double x = 60.0; x <= 170.0; x += 10.0) {
        onEdges.push_back(view()->conv(QPointF(x, 133.0)).toPoint());
    }
    std::vector<QPoint> onPath;
    for (int i = 0; i + 1 < 4; ++i) {
        onPath.push_back(view()->conv((path[i] + path[i + 1]) / 2.0).toPoint());
    }
    // How many of the pixels have a black one within 2 pixels (lines are 1 or 2 pixels wide).
    const auto blackAmong = [](const QImage& picture, const std::vector<QPoint>& pixels) {
        int count = 0;
        for (const QPoint& p : pixels) {
            bool black = false;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    black = black || qGray(picture.pixel(p + QPoint(dx, dy))) < 60;
                }
            }
            count += black ? 1 : 0;
        }
        return count;
    };
    const QImage before = onScreen(view());
    ASSERT_EQ(differingPixels(before, view()->grab().toImage().convertToFormat(QImage::Format_RGB32),
                              view()->width()),
              0);
    EXPECT_EQ(blackAmong(before, onEdges), static_cast<int>(onEdges.size()));

    // The dialog stands beside the main window but for a strip over the view's right edge.
    const int free = view()->width() - 40;
    QImage whileOpen;
    ModalAnswerer answerer([&](QWidget* dialog) {
        dialog->move(view()->mapToGlobal(QPoint(free, 0)));
        QTest::qWait(100);
        // As the view is drawn when a window over it moves away.
        view()->repaint();
        whileOpen = onScreen(view());
        EXPECT_EQ(differingPixels(whileOpen, before, free), 0) << "the view behind the dialog";
        dialog->findChild<QCheckBox*>(QStringLiteral("showTinEdgesCheckBox"))->setChecked(false);
        dialog->findChild<QLineEdit*>(QStringLiteral("minEdit"))->setText(QStringLiteral("0"));
        dialog->findChild<QLineEdit*>(QStringLiteral("maxEdit"))->setText(QStringLiteral("20"));
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    m_window->actionManager()->action(QStringLiteral("Preferences"))->trigger();
    ASSERT_TRUE(answerer.answered());
    EXPECT_FALSE(answerer.leftOpen());
    EXPECT_FALSE(QSettings().value(settings::graphicsShowTinEdges).toBool());
    keep(whileOpen, QStringLiteral("main-view-preferences-open"));
    EXPECT_EQ(blackAmong(whileOpen, onPath), static_cast<int>(onPath.size())) << "the surface's path";

    const QImage after = onScreen(view());
    keep(after, QStringLiteral("main-view-after-preferences"));
    const QImage fresh = view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(differingPixels(after, fresh, view()->width()), 0)
        << "the screen shows what the view draws now";
    ASSERT_EQ(view()->transform(), placed);
    EXPECT_EQ(blackAmong(after, onEdges), 0) << "no TIN edges";
    EXPECT_EQ(blackAmong(after, onPath), static_cast<int>(onPath.size())) << "the surface's path";
    EXPECT_GT(differingPixels(after, before, view()->width()), view()->width() * view()->height() / 2)
        << "the colours of the new range";
}

// Whether a pixel within `reach` pixels of `at` is of the colour `rgb`.
bool colourNear(const QImage& picture, const QPoint& at, QRgb rgb, int reach)
{
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (picture.valid(p) && (picture.pixel(p) & 0xffffff) == (rgb & 0xffffff)) {
                return true;
            }
        }
    }
    return false;
}

// A section across the mound in its window: the edited profile over the dotted base
// profile, the flags of two reference lines that cross it, and the points of the valley
// floor picked with a rubber band, which the table shows too. The plot's pixels are checked
// against the TINs' own elevations along the section and the lines' crossings.
TEST_F(EditModeScreenshotTest, CrossSectionWindow)
{
    GeoDataGroupItem* reference =
        root()->geoDataTopItem()->groupItem(QStringLiteral("referenceinformation"));
    const std::pair<QString, double> banks[] = {{QStringLiteral("1"), 62.0},
                                                {QStringLiteral("C"), 100.0}};
    for (const auto& [caption, x] : banks) {
        GeoDataPolylineItem* polyline = reference->createPolylineItem(caption);
        GeoDataPolylineSetting setting;
        setting.color = QColor(caption == QStringLiteral("C") ? Qt::blue : Qt::darkGreen);
        polyline->setSetting(setting);
        polyline->setPolyline(new tin::core::Polyline({{x, 20.0}, {x + 5.0, 180.0}}));
        reference->attachChildAtBack(polyline);
    }
    CrossSectionGroupItem* group = root()->crossSectionGroupItem();
    const QPointF start(30.0, 95.0), end(170.0, 105.0);
    CrossSectionItem* section = group->buildCrossSection(
        QStringLiteral("Cross section 1"), tin::core::Point(start.x(), start.y()),
        tin::core::Point(end.x(), end.y()));
    group->attachChildAtBack(section);
    section->controller()->showAction()->trigger();
    CrossSectionDialog* dialog = section->controller()->crossSectionDialog();
    ASSERT_NE(dialog, nullptr);
    QWidget* window = section->controller()->crossSectionSubWindow();
    window->resize(1100, 560);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(100);
    // A rubber band around the rows of the valley floor.
    CrossSectionLhView* plot = dialog->lhView();
    const QPoint from = plot->conv(QPointF(55.0, 9.5)).toPoint();
    const QPoint to = plot->conv(QPointF(90.0, 6.0)).toPoint();
    const auto send = [plot](QEvent::Type type, const QPoint& at, Qt::MouseButton button,
                             Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, plot->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(plot, &event);
    };
    send(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QTest::qWait(100);
    keep(window->grab().toImage(), QStringLiteral("cross-section-window"));

    // Along the section, at distance L: the edited profile black (3 pixels) at the edited
    // TIN's elevation, also just inside the mound's rim, where the profile climbs its step
    // (not at the step itself), and where the mound stands on the base, the base profile's
    // dark grey dots (2 pixels, a dot at least every 6) at the base TIN's elevation.
    const QImage drawn = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double length = std::hypot(end.x() - start.x(), end.y() - start.y());
    const auto elevation = [&](const tin::core::Tin* tin, double l) {
        const QPointF p = start + (end - start) * (l / length);
        double z = std::nan("");
        EXPECT_TRUE(tin->interpolatedElevation(tin::core::Point2D(p.x(), p.y()), &z)) << l;
        return z;
    };
    const tin::core::Tin* edited = root()->tinItem()->tin();
    const tin::core::Tin* base = root()->baseTinItem()->tin();
    const QRect plotArea = plot->plotRect().toAlignedRect().adjusted(4, 4, -4, -4);
    int onProfile = 0, onBase = 0, samples = 0, baseSamples = 0;
    for (double l = 2.0; l < length - 2.0; l += 1.3) {
        // Not where the profile steps up onto the mound (its edges x = 50 and x = 150).
        const double x = start.x() + (end.x() - start.x()) * (l / length);
        if (std::abs(x - 50.0) < 2.0 || std::abs(x - 150.0) < 2.0) {
            continue;
        }
        ++samples;
        const double h = elevation(edited, l);
        onProfile += colourNear(drawn, plot->conv(QPointF(l, h)).toPoint(), qRgb(0, 0, 0), 1) ? 1 : 0;
        const double below = elevation(base, l);
        const QPoint under = plot->conv(QPointF(l, below)).toPoint();
        // The plot frames the edited profile: the base shows where it is not far below.
        if (x > 52.0 && x < 148.0 && plotArea.contains(under)) {
            EXPECT_GT(h - below, 1.0);
            ++baseSamples;
            onBase += colourNear(drawn, under, QColor(Qt::darkGray).rgb(), 3) ? 1 : 0;
        }
    }
    ASSERT_GT(samples, 80);
    EXPECT_EQ(onProfile, samples) << "the edited profile where the edited TIN is";
    ASSERT_GE(baseSamples, 4);
    EXPECT_EQ(onBase, baseSamples) << "the base profile where the base TIN is";

    // A flag in each reference line's colour above the distance where the line crosses.
    for (const auto& [caption, x] : banks) {
        SCOPED_TRACE(caption.toStdString());
        // The line x + 5 (y - 20) / 160 against the section start + t (end - start).
        const double t = (x + 5.0 * (start.y() - 20.0) / 160.0 - start.x()) /
                         ((end.x() - start.x()) - 5.0 * (end.y() - start.y()) / 160.0);
        const int column = qRound(plot->conv(QPointF(t * length, 0.0)).x());
        const QRgb colour = QColor(caption == QStringLiteral("C") ? Qt::blue : Qt::darkGreen).rgb();
        int found = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            found += colourNear(drawn, QPoint(column, y), colour, 1) ? 1 : 0;
        }
        EXPECT_GE(found, 8) << "the flag's post";
    }
}

// An edit-mode project with two cross sections: the menus of the folder and of a section,
// the main window with a section selected (its end marks and labels), and the path table.
TEST_F(ProjectScreenshotTest, CrossSections)
{
    m_window->newEditProject();
    auto editWindow = m_window->findChild<EditModeMainWindow*>();
    ASSERT_NE(editWindow, nullptr);
    QTest::qWait(100);
    CrossSectionGroupItem* group = editWindow->model()->rootItem()->crossSectionGroupItem();
    const std::pair<tin::core::Point, tin::core::Point> ends[] = {
        {tin::core::Point(-40.0, 30.0), tin::core::Point(45.0, -20.0)},
        {tin::core::Point(-60.0, -35.0), tin::core::Point(20.0, 40.0)}};
    for (const auto& [start, end] : ends) {
        CrossSectionItem* section = group->buildCrossSection(
            QStringLiteral("Cross section %1").arg(group->childItems().size() + 1), start, end);
        group->attachChildAtBack(section);
    }
    auto section = static_cast<CrossSectionItem*>(group->childItems().front());

    keepBrowserMenus(m_window.get(), editWindow->model(),
                     {{group, QStringLiteral("cross-sections-group")},
                      {section, QStringLiteral("cross-section")}});

    editWindow->model()->select(section);
    // With room for the labels beyond the ends.
    editWindow->view()->fit(
        editWindow->model()->rootItem()->boundingBox().adjusted(-15.0, -15.0, 15.0, 15.0));
    QTest::qWait(200);
    keep(m_window->grab().toImage(), QStringLiteral("main-window-cross-section-selected"));

    CrossSectionItemPathPropertyDialog dialog(m_window.get());
    dialog.setController(section->controller());
    showAndKeep(&dialog, QStringLiteral("cross-section-path"));
}

} // namespace
} // namespace varnel::test
