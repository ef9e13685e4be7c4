// The actions, menus and tool bar of the main window: the enabling table in its three
// columns, the menus that follow the mode and the developers setting, the window list, the
// camera and dock bindings of the active window, Undo and Redo, and the mouse-position
// read-out.
#include "MainWindowTestSupport.h"

#include "brask/core/ObjectBrowser.h"
#include "brask/core/View.h"
#include "brask/window/ProjectMdiArea.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectModelWindow.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/ToolBar.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageLoader.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"

#include <guimisc/UserDialogScript.h>
#include <guimisc/widget/MousePositionWidget.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QStatusBar>
#include <QUndoCommand>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <iterator>

namespace varnel::test {
namespace {

// The enabling table as the design gives it: create, edit, no project.
struct TableEntry {
    const char* name;
    bool isMenu;
    bool create;
    bool edit;
    bool none;
};

const TableEntry enablingTable[] = {
    {"Open", false, 1, 1, 1},
    {"Save", false, 1, 1, 0},
    {"Save As", false, 1, 1, 0},
    {"Save as Edit mode project", false, 1, 0, 0},
    {"Property", false, 1, 1, 0},
    {"Show Start Page", false, 1, 1, 1},
    {"Open Work Directory", false, 1, 1, 1},
    {"Draw lines and points", false, 1, 1, 0},
    {"Exit", false, 1, 1, 1},
    {"Background Image", false, 1, 1, 0},
    {"Undo", false, 0, 0, 0},
    {"Redo", false, 0, 0, 0},
    {"Main Toolbar", false, 1, 1, 0},
    {"Object Browser", false, 1, 1, 0},
    {"Mold Browser", false, 0, 1, 0},
    {"Status Bar", false, 1, 1, 0},
    {"Background Color", false, 0, 0, 0},
    {"Fit", false, 1, 1, 0},
    {"Reset Rotation", false, 1, 1, 0},
    {"Rotate 90", false, 1, 1, 0},
    {"XY Plane", false, 0, 0, 0},
    {"YZ Plane", false, 0, 0, 0},
    {"XZ Plane", false, 0, 0, 0},
    {"Move Left", false, 1, 1, 0},
    {"Move Right", false, 1, 1, 0},
    {"Move Up", false, 1, 1, 0},
    {"Move Down", false, 1, 1, 0},
    {"Zoom In", false, 1, 1, 0},
    {"Zoom Out", false, 1, 1, 0},
    {"Zoom In in X Direction", false, 0, 0, 0},
    {"Zoom Out in X Direction", false, 0, 0, 0},
    {"Zoom In in Y Direction", false, 0, 0, 0},
    {"Zoom Out in Y Direction", false, 0, 0, 0},
    {"Focus Main Window", false, 1, 1, 0},
    {"Bird's Eye Window", false, 1, 1, 0},
    {"Tile Windows", false, 0, 0, 0},
    {"Preferences", false, 1, 1, 1},
    {"Calculate Soil Volume", false, 0, 1, 0},
    {"Z-direction Scale", false, 0, 0, 0},
    {"Mouse Hint", false, 1, 1, 1},
    {"About", false, 1, 1, 1},
    {"New Project", false, 1, 1, 1},
    {"File", true, 1, 1, 1},
    {"Edit", true, 1, 1, 0},
    {"View", true, 1, 1, 0},
    {"Toolbar", true, 1, 1, 0},
    {"Camera Control", true, 0, 0, 0},
    {"Option", true, 1, 1, 1},
    {"Tool", true, 1, 1, 0},
    {"Help", true, 1, 1, 1},
    {"Import", true, 1, 1, 0},
    {"Export", true, 1, 1, 0},
    {"Recent Projects", true, 1, 1, 1},
    {"Add/Import", true, 1, 1, 0},
};

class ActionManagerTest : public MainWindowTest {
protected:
    MainWindowActionManager& manager() { return *window().actionManager(); }
    QAction* action(const char* name) { return manager().action(QString::fromLatin1(name)); }
    QMenu* menu(const char* title) { return manager().menu(QString::fromLatin1(title)); }

    void expectColumn(int column)
    {
        for (const TableEntry& entry : enablingTable) {
            SCOPED_TRACE(entry.name);
            QAction* a = entry.isMenu ? (menu(entry.name) ? menu(entry.name)->menuAction() : nullptr)
                                      : action(entry.name);
            ASSERT_NE(a, nullptr);
            const bool expected = column == 0 ? entry.create : column == 1 ? entry.edit : entry.none;
            EXPECT_EQ(a->isEnabled(), expected);
        }
    }

    QStringList texts(const char* title) { return menuTexts(menu(title)); }

    static void setDevelopersMode(bool on) { QSettings().setValue(settings::developersMode, on); }
};

TEST_F(ActionManagerTest, EnablingTableInItsThreeColumns)
{
    EXPECT_EQ(manager().mode(), MainWindowActionManager::NoProject);
    {
        SCOPED_TRACE("at start");
        expectColumn(2);
    }
    window().newCreateProject();
    {
        SCOPED_TRACE("create mode");
        expectColumn(0);
    }
    manager().setEditMode();
    manager().handleEditProjectOpen();
    {
        SCOPED_TRACE("edit mode, set directly");
        expectColumn(1);
    }
    // A close keeps the last mode's column.
    guimisc::UserDialogScript script;
    script.answer(QMessageBox::No);
    window().closeProject();
    EXPECT_EQ(manager().mode(), MainWindowActionManager::EditMode);
    expectColumn(1);

    // Every table entry names a distinct action; the 44 actions all have a name.
    QSet<QAction*> actions;
    for (const TableEntry& entry : enablingTable) {
        actions.insert(entry.isMenu ? menu(entry.name)->menuAction() : action(entry.name));
    }
    EXPECT_EQ(actions.size(), int(std::size(enablingTable)));
    EXPECT_NE(action("Zindral Grid data"), nullptr);
    EXPECT_NE(action("LandXML"), nullptr);
}

TEST_F(ActionManagerTest, MenusFollowTheMode)
{
    const QStringList menuBar = [this] {
        QStringList titles;
        for (QAction* a : window().menuBar()->actions()) {
            titles << a->text();
        }
        return titles;
    }();
    EXPECT_EQ(menuBar, QStringList({"&File", "&Edit", "&View", "&Option", "&Tool", "&Help"}));
    EXPECT_EQ(window().menuBar(), manager().menuBar());

    window().newCreateProject();
    EXPECT_TRUE(texts("File").contains("Save as Edit mode project"));
    EXPECT_TRUE(action("Save as Edit mode project")->isEnabled());
    EXPECT_FALSE(texts("View").contains("Mold Browser"));
    EXPECT_FALSE(texts("Tool").contains("Calculate Soil Volume"));
    emit menu("Export")->aboutToShow();
    EXPECT_TRUE(menu("Export")->actions().isEmpty());
    emit menu("Import")->aboutToShow();
    emit menu("Import")->aboutToShow();
    EXPECT_EQ(texts("Import"), QStringList{"Background Image"});
    EXPECT_EQ(texts("Edit"), QStringList({"Undo", "Redo", "Add/Import"}));
    EXPECT_EQ(texts("Help"), QStringList({"Mouse Hint", "", "About"}));

    manager().setEditMode();
    emit menu("Export")->aboutToShow();
    EXPECT_EQ(texts("Export"), QStringList({"Zindral Grid data", "LandXML"}));
    EXPECT_FALSE(texts("File").contains("Save as Edit mode project"));
    EXPECT_TRUE(texts("View").contains("Mold Browser"));
    EXPECT_TRUE(texts("Tool").contains("Calculate Soil Volume"));
    // Refilling leaves no separators behind.
    manager().setCreateMode();
    manager().setEditMode();
    EXPECT_EQ(menu("File")->actions().size(), 16);
}

// File > Import > Background Image does what the background images group's Import does.
TEST_F(ActionManagerTest, ImportMenuAddsABackgroundImageInEitherMode)
{
    gdalimg::GdalImageLoader::init(); // as the program's start does
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(qRgb(20, 160, 40));
    const QString path = file("photo.png");
    ASSERT_TRUE(picture.save(path));
    for (bool editMode : {false, true}) {
        SCOPED_TRACE(editMode ? "edit mode" : "create mode");
        guimisc::UserDialogScript script;
        if (window().project()) {
            script.answer(QMessageBox::No); // the question before the earlier project goes
        }
        if (editMode) {
            window().newEditProject();
        } else {
            window().newCreateProject();
        }
        script.clearRecords();
        emit menu("Import")->aboutToShow();
        QAction* entry = menu("Import")->actions().value(0);
        ASSERT_NE(entry, nullptr);
        ASSERT_EQ(entry->text(), "Background Image");
        ASSERT_TRUE(entry->isEnabled());
        script.answerFile(path);
        entry->trigger();
        EXPECT_EQ(script.pendingAnswers(), 0u) << "the file dialog was asked";
        EXPECT_TRUE(script.messageBoxes().empty());
        auto projectWindow = qobject_cast<ProjectModelWindow*>(window().project()->projectWindow());
        ASSERT_NE(projectWindow, nullptr);
        const auto& images = projectWindow->backgroundImageGroupItem()->childItems();
        ASSERT_EQ(images.size(), 1u);
        auto image = qobject_cast<BackgroundImageItem*>(images[0]);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->image()->image().convertToFormat(QImage::Format_RGB32), picture);
        EXPECT_TRUE(window().project()->projectFile()->isModified());
    }
}

TEST_F(ActionManagerTest, DevelopersEntriesFollowThePreferencesWithoutARestart)
{
    setDevelopersMode(false);
    window().newCreateProject();
    EXPECT_FALSE(texts("File").contains("Open Work Directory"));
    EXPECT_FALSE(texts("Tool").contains("Draw lines and points"));

    ModalAnswerer answerer([](QWidget* modal) {
        const QList<QCheckBox*> boxes = modal->findChildren<QCheckBox*>();
        for (QCheckBox* box : boxes) {
            if (box->parentWidget()->metaObject()->className()
                == QByteArray("varnel::PreferencePageDevelopers")) {
                box->setChecked(true);
            }
        }
        modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    window().showPreferenceDialog();
    ASSERT_TRUE(answerer.answered());
    EXPECT_EQ(answerer.answeredClassName(), "varnel::PreferenceDialog");
    EXPECT_TRUE(QSettings().value(settings::developersMode).toBool());
    EXPECT_TRUE(texts("File").contains("Open Work Directory"));
    EXPECT_TRUE(texts("Tool").contains("Draw lines and points"));
}

TEST_F(ActionManagerTest, WindowListNumbersTheSubWindows)
{
    window().newCreateProject();
    for (int i = 2; i <= 12; ++i) {
        auto widget = new QWidget;
        widget->setWindowTitle(QStringLiteral("Window %1").arg(i));
        window().mdiArea()->addSubWindow(widget)->show();
    }
    emit menu("View")->aboutToShow();
    QStringList entries = texts("View");
    entries = entries.mid(entries.lastIndexOf(QString()) + 1);
    ASSERT_EQ(entries.size(), 12);
    EXPECT_EQ(entries[0], "&1 Main Window");
    EXPECT_EQ(entries[1], "&2 Window 2");
    EXPECT_EQ(entries[8], "&9 Window 9");
    EXPECT_EQ(entries[9], "10 Window 10");
    EXPECT_EQ(entries[11], "12 Window 12");

    emit menu("View")->aboutToShow();
    EXPECT_EQ(menu("View")->actions().size(), texts("View").size()) << "no stale entries";
    QAction* first = menu("View")->actions().at(menu("View")->actions().size() - 12);
    EXPECT_TRUE(first->isEnabled());
    first->trigger();
    EXPECT_EQ(window().mdiArea()->activeSubWindow(), createModeWindow()->parentWidget());
}

TEST_F(ActionManagerTest, CameraActionsActOnceOnTheActiveView)
{
    window().newCreateProject();
    CreateModeMainWindow* projectWindow = createModeWindow();
    QMdiSubWindow* projectSub = qobject_cast<QMdiSubWindow*>(projectWindow->parentWidget());
    auto other = new QWidget;
    other->setWindowTitle("Other");
    QMdiSubWindow* otherSub = window().mdiArea()->addSubWindow(other);
    otherSub->show();
    window().mdiArea()->setActiveSubWindow(projectSub);
    window().mdiArea()->setActiveSubWindow(otherSub);
    window().mdiArea()->setActiveSubWindow(projectSub);
    ASSERT_EQ(window().mdiArea()->activeSubWindow(), projectSub);

    mvc::core::View* view = projectWindow->view();
    const double scale = view->scale();
    action("Zoom In")->trigger();
    EXPECT_DOUBLE_EQ(view->scale(), 2 * scale);
    action("Zoom Out")->trigger();
    EXPECT_DOUBLE_EQ(view->scale(), scale);

    // Docks: the object browser's action follows the dock and hides it.
    mvc::core::ObjectBrowser* browser =
        qobject_cast<mvc::window::WindowWithObjectBrowserI*>(projectWindow)->dockWidget();
    EXPECT_TRUE(action("Object Browser")->isChecked());
    action("Object Browser")->trigger();
    EXPECT_FALSE(browser->isVisible());
    browser->show();
    EXPECT_TRUE(action("Object Browser")->isChecked());
    EXPECT_FALSE(action("Mold Browser")->isEnabled()) << "the project window has no molds dock";
}

// A window with a molds browser and the two optional slots, as the edit-mode window will be.
class MoldsWindow : public QMainWindow, public WindowWithMoldsContainerBrowserI {
    Q_OBJECT
    Q_INTERFACES(varnel::WindowWithMoldsContainerBrowserI)
public:
    MoldsWindow() : m_browser(new MoldsContainerBrowser(this))
    {
        addDockWidget(Qt::RightDockWidgetArea, m_browser);
        setDockWidgetFunction([this] { return m_browser; });
    }
    int colorEdits = 0;

public slots:
    void editBackgroundColor() { ++colorEdits; }

private:
    MoldsContainerBrowser* m_browser;
};

TEST_F(ActionManagerTest, DockAndSlotActionsBindToTheWindowThatHasThem)
{
    MoldsWindow moldsWindow;
    moldsWindow.show();
    manager().handleWindowActivated(&moldsWindow);
    MoldsContainerBrowser* browser = moldsWindow.dockWidget();
    EXPECT_EQ(browser->windowTitle(), "Mold Browser");
    EXPECT_TRUE(action("Mold Browser")->isEnabled());
    EXPECT_TRUE(action("Mold Browser")->isChecked());
    action("Mold Browser")->trigger();
    EXPECT_FALSE(browser->isVisible());
    EXPECT_FALSE(action("Object Browser")->isEnabled());

    EXPECT_TRUE(action("Background Color")->isEnabled());
    EXPECT_FALSE(action("Z-direction Scale")->isEnabled());
    action("Background Color")->trigger();
    EXPECT_EQ(moldsWindow.colorEdits, 1);

    // Another window takes the bindings away.
    QMainWindow plain;
    manager().handleWindowActivated(&plain);
    EXPECT_FALSE(action("Mold Browser")->isEnabled());
    EXPECT_FALSE(action("Background Color")->isEnabled());
    action("Background Color")->trigger();
    EXPECT_EQ(moldsWindow.colorEdits, 1);
    browser->show();
    EXPECT_FALSE(action("Mold Browser")->isChecked()) << "the old dock no longer reaches it";
}

TEST_F(ActionManagerTest, ToolBarAndStatusBarFollowTheirActions)
{
    ToolBar* toolBar = manager().mainToolBar();
    EXPECT_EQ(toolBar->windowTitle(), "Main ToolBar");
    EXPECT_EQ(toolBar->objectName(), "misc::MainWindowActionManager::m_mainToolBar");
    EXPECT_EQ(window().toolBarArea(toolBar), Qt::TopToolBarArea);
    EXPECT_FALSE(toolBar->isFloatable());
    QStringList buttons;
    for (QAction* a : toolBar->actions()) {
        buttons << (a->isSeparator() ? QString("|") : a->objectName());
    }
    EXPECT_EQ(buttons.join(","),
              "Open,Save,|,Undo,Redo,|,Fit,|,Reset Rotation,Rotate 90,|,XY Plane,YZ Plane,"
              "XZ Plane,|,Move Left,Move Right,Move Up,Move Down,|,Zoom In,Zoom Out,|,"
              "Zoom In in X Direction,Zoom Out in X Direction,Zoom In in Y Direction,"
              "Zoom Out in Y Direction,|,Focus Main Window,Bird's Eye Window,|,Mouse Hint");

    window().newCreateProject();
    toolBar->hide();
    EXPECT_FALSE(action("Main Toolbar")->isChecked());
    action("Main Toolbar")->trigger();
    EXPECT_TRUE(toolBar->isVisible());
    EXPECT_TRUE(action("Main Toolbar")->isChecked());

    action("Status Bar")->trigger();
    EXPECT_FALSE(window().statusBar()->isVisible());
    action("Status Bar")->trigger();
    EXPECT_TRUE(window().statusBar()->isVisible());

    // The two window buttons: a create-mode project without a TIN has no 3-D view.
    guimisc::UserDialogScript script;
    action("Bird's Eye Window")->trigger();
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Warning");
    EXPECT_EQ(script.records()[0].text, "No TIN data.");
    EXPECT_EQ(window().mdiArea()->subWindowList().size(), 1);
    auto other = window().mdiArea()->addSubWindow(new QWidget);
    other->show();
    window().mdiArea()->setActiveSubWindow(other);
    action("Focus Main Window")->trigger();
    EXPECT_EQ(window().mdiArea()->activeSubWindow(), createModeWindow()->parentWidget());
}

TEST_F(ActionManagerTest, UndoAndRedoAreEnabledByTheStackOnly)
{
    window().newCreateProject();
    EXPECT_FALSE(action("Undo")->isEnabled());
    EXPECT_FALSE(action("Redo")->isEnabled());
    window().undoStack()->push(new QUndoCommand("Change"));
    EXPECT_TRUE(action("Undo")->isEnabled());
    EXPECT_FALSE(action("Redo")->isEnabled());
    action("Undo")->trigger();
    EXPECT_FALSE(action("Undo")->isEnabled());
    EXPECT_TRUE(action("Redo")->isEnabled());
    EXPECT_EQ(action("Undo")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(action("Undo")->shortcutContext(), Qt::ApplicationShortcut);
    EXPECT_EQ(action("Redo")->shortcut(), QKeySequence("Ctrl+Y"));
    // Applying the table disables them whatever the stack can do.
    manager().handleCreateProjectOpen();
    EXPECT_FALSE(action("Redo")->isEnabled());
}

TEST_F(ActionManagerTest, MousePositionShowsTwoDecimalsOrAllInDevelopersMode)
{
    window().newCreateProject();
    mvc::core::View* view = createModeWindow()->view();
    emit view->positionChanged(QPointF(1234.56789, -2.5));
    EXPECT_TRUE(window().mousePositionWidget()->text().contains("1234.57"));
    EXPECT_TRUE(window().mousePositionWidget()->text().contains("-2.50"));

    setDevelopersMode(true);
    emit window().preferenceChanged();
    emit view->positionChanged(QPointF(1234.56789, -2.5));
    EXPECT_TRUE(window().mousePositionWidget()->text().contains("1234.56789"));
}

} // namespace
} // namespace varnel::test

#include "MainWindowActionManagerTest.moc"
