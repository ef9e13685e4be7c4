#include "movarin/shell/MainWindowActionManager.h"

#include "brask/core/ObjectBrowser.h"
#include "brask/core/View.h"
#include "brask/window/ProjectMdiArea.h"
#include "brask/window/WindowWithQDockWidgetI.h"
#include "brask/window/WindowWithViewI.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowMiscDialogManager.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/ToolBar.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"

#include <QAction>
#include <QDockWidget>
#include <QIcon>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QSettings>
#include <QSignalMapper>
#include <QStatusBar>
#include <QUndoStack>

#include <algorithm>

namespace varnel {
namespace {

// The table's columns, in the order of the flags.
constexpr bool on = true;
constexpr bool off = false;

QString plainText(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

MainWindowActionManager::MainWindowActionManager(MainWindow* mainWindow)
    : m_mainWindow(mainWindow), m_menuBar(new QMenuBar(mainWindow)),
      m_signalMapper(new QSignalMapper(this))
{
    createFileMenu();
    createEditMenu();
    createViewMenu();
    createCameraActions();
    createToolMenu();
    createOptionMenu();
    createHelpMenu();
    fillMenuBar();
    createMainToolBar();
    buildEnablingTable();
    setupFileMenu();
    setupViewMenu();
    setupToolMenu();

    connect(m_signalMapper, &QSignalMapper::mappedWidget, this,
            &MainWindowActionManager::activateWindow);
    connect(m_mainWindow, &MainWindow::preferenceChanged, this,
            &MainWindowActionManager::setDevelopersOnlyVisibility);
    connect(m_viewMenu, &QMenu::aboutToShow, this, &MainWindowActionManager::updateWindowList);
    connect(m_importMenu, &QMenu::aboutToShow, this, &MainWindowActionManager::setupImportMenu);
    connect(m_exportMenu, &QMenu::aboutToShow, this, &MainWindowActionManager::setupExportMenu);
    connect(m_addMenu, &QMenu::aboutToShow, this, &MainWindowActionManager::setupAddMenu);
    connect(m_recentProjectsMenu, &QMenu::aboutToShow, m_mainWindow,
            &MainWindow::setupRecentProjectsMenu);
}

MainWindowActionManager::~MainWindowActionManager()
{
    // The menus and the tool bar are the main window's children; while the main window
    // outlives the manager they would show actions that are gone.
    delete m_menuBar;
    delete m_mainToolBar;
    for (QMenu* menu : {m_fileMenu, m_importMenu, m_exportMenu, m_recentProjectsMenu, m_editMenu,
                        m_addMenu, m_viewMenu, m_toolBarMenu, m_cameraMenu, m_optionMenu,
                        m_toolMenu, m_helpMenu}) {
        delete menu;
    }
}

QAction* MainWindowActionManager::makeAction(const QString& text, const char* iconPath)
{
    auto action = new QAction(text, this);
    action->setObjectName(plainText(text));
    if (iconPath) {
        action->setIcon(QIcon(QString::fromLatin1(iconPath)));
    }
    return action;
}

void MainWindowActionManager::createFileMenu()
{
    m_newProjectAction = makeAction(tr("New Project"), ":/images/iconNew.png");
    m_newProjectAction->setShortcut(QKeySequence(tr("Ctrl+N")));
    connect(m_newProjectAction, &QAction::triggered, m_mainWindow, &MainWindow::newCreateProject);

    m_openAction = makeAction(tr("Open"), ":/images/iconOpen.png");
    m_openAction->setShortcut(QKeySequence(tr("Ctrl+O")));
    m_openAction->setStatusTip(tr("Open Project files"));
    connect(m_openAction, &QAction::triggered, m_mainWindow,
            QOverload<>::of(&MainWindow::openProject));

    m_saveAction = makeAction(tr("Save"), ":/images/iconSave.png");
    m_saveAction->setShortcut(QKeySequence(tr("Ctrl+S")));
    connect(m_saveAction, &QAction::triggered, m_mainWindow, &MainWindow::saveProject);

    m_saveAsAction = makeAction(tr("Save As"));
    connect(m_saveAsAction, &QAction::triggered, m_mainWindow, &MainWindow::saveProjectAs);

    m_saveAsEditAction = makeAction(tr("Save as Edit mode project"));
    connect(m_saveAsEditAction, &QAction::triggered, m_mainWindow,
            &MainWindow::saveProjectAsEdit);

    m_propertyAction = makeAction(tr("Property"), ":/libs/guimisc/images/iconProperty.png");
    connect(m_propertyAction, &QAction::triggered, m_mainWindow,
            &MainWindow::showProjectPropertyDialog);

    m_importBackgroundImageAction = makeAction(tr("Background Image"));
    connect(m_importBackgroundImageAction, &QAction::triggered, m_mainWindow,
            &MainWindow::importBackgroundImage);

    m_exportZindralGridAction = makeAction(tr("Zindral Grid data"));
    connect(m_exportZindralGridAction, &QAction::triggered, m_mainWindow,
            &MainWindow::exportZindralGrid);
    m_exportLandXmlAction = makeAction(tr("LandXML"));
    connect(m_exportLandXmlAction, &QAction::triggered, m_mainWindow, &MainWindow::exportLandXml);

    m_openWorkDirectoryAction = makeAction(tr("Open Work Directory"));
    connect(m_openWorkDirectoryAction, &QAction::triggered, m_mainWindow,
            &MainWindow::openWorkFolder);

    m_showStartPageAction = makeAction(tr("Show Start Page"));
    connect(m_showStartPageAction, &QAction::triggered, m_mainWindow,
            &MainWindow::openStartDialog);

    m_exitAction = makeAction(tr("Exit"));
    connect(m_exitAction, &QAction::triggered, m_mainWindow, &QWidget::close);

    m_fileMenu = new QMenu(tr("&File"), m_mainWindow);
    m_importMenu = new QMenu(tr("Import", "in file menu"), m_mainWindow);
    m_importMenu->setIcon(QIcon(QStringLiteral(":/libs/guimisc/images/iconImport.png")));
    m_exportMenu = new QMenu(tr("Export"), m_mainWindow);
    m_exportMenu->setIcon(QIcon(QStringLiteral(":/libs/guimisc/images/iconExport.png")));
    m_recentProjectsMenu = new QMenu(tr("Recent Projects"), m_mainWindow);
}

void MainWindowActionManager::createEditMenu()
{
    QUndoStack* stack = m_mainWindow->undoStack();
    m_undoAction = stack->createUndoAction(this);
    m_undoAction->setObjectName(QStringLiteral("Undo"));
    m_undoAction->setIcon(QIcon(QStringLiteral(":/images/iconUndo.png")));
    m_undoAction->setShortcut(QKeySequence(tr("Ctrl+Z")));
    m_undoAction->setShortcutContext(Qt::ApplicationShortcut);
    m_redoAction = stack->createRedoAction(this);
    m_redoAction->setObjectName(QStringLiteral("Redo"));
    m_redoAction->setIcon(QIcon(QStringLiteral(":/images/iconRedo.png")));
    m_redoAction->setShortcut(QKeySequence(tr("Ctrl+Y")));
    m_redoAction->setShortcutContext(Qt::ApplicationShortcut);

    m_editMenu = new QMenu(tr("&Edit"), m_mainWindow);
    m_addMenu = new QMenu(tr("Add/Import"), m_mainWindow);
    m_editMenu->addAction(m_undoAction);
    m_editMenu->addAction(m_redoAction);
    m_editMenu->addMenu(m_addMenu);
}

void MainWindowActionManager::createViewMenu()
{
    m_mainToolBarAction = makeAction(tr("Main Toolbar"));
    m_mainToolBarAction->setCheckable(true);
    m_mainToolBarAction->setChecked(true);

    m_objectBrowserAction = makeAction(tr("Object Browser"));
    m_objectBrowserAction->setCheckable(true);
    m_moldBrowserAction = makeAction(tr("Mold Browser"));
    m_moldBrowserAction->setCheckable(true);
    m_objectBrowserBinding.action = m_objectBrowserAction;
    m_moldBrowserBinding.action = m_moldBrowserAction;

    m_statusBarAction = makeAction(tr("Status Bar"));
    m_statusBarAction->setCheckable(true);
    m_statusBarAction->setChecked(true);
    connect(m_statusBarAction, &QAction::triggered, m_mainWindow->statusBar(),
            &QWidget::setVisible);

    m_backgroundColorAction =
        makeAction(tr("Background Color"), ":/libs/guibase/images/iconColor.png");
    m_zScaleAction = makeAction(tr("Z-direction Scale"));
    m_tileWindowsAction = makeAction(tr("Tile Windows"));

    m_windowListSeparator = new QAction(this);
    m_windowListSeparator->setSeparator(true);

    m_viewMenu = new QMenu(tr("&View"), m_mainWindow);
    m_toolBarMenu = new QMenu(tr("Toolbar"), m_mainWindow);
    m_toolBarMenu->addAction(m_mainToolBarAction);
}

void MainWindowActionManager::createCameraActions()
{
    m_focusMainWindowAction = makeAction(tr("Focus Main Window"), ":/images/iconMainWindow.png");
    connect(m_focusMainWindowAction, &QAction::triggered, m_mainWindow,
            &MainWindow::focusProjectMainWindow);
    m_birdEyeWindowAction = makeAction(tr("Bird's Eye Window"), ":/images/iconVis3D.png");
    connect(m_birdEyeWindowAction, &QAction::triggered, m_mainWindow,
            &MainWindow::focusBirdEyeWindow);

    // The actions with a view operation are connected to the active window's view when a
    // window becomes active; the plane and axis zooms have none.
    m_fitAction = makeAction(tr("Fit"), ":/images/iconViewFit.png");
    m_resetRotationAction = makeAction(tr("Reset Rotation"), ":/images/iconViewRotateReset.png");
    m_rotate90Action = makeAction(tr("Rotate 90"), ":/images/iconViewRotate90.png");
    m_xyPlaneAction = makeAction(tr("XY Plane"), ":/images/iconViewXY.png");
    m_yzPlaneAction = makeAction(tr("YZ Plane"), ":/images/iconViewYZ.png");
    m_xzPlaneAction = makeAction(tr("XZ Plane"), ":/images/iconViewXZ.png");
    m_moveLeftAction = makeAction(tr("Move Left"), ":/images/iconViewMoveLeft.png");
    m_moveRightAction = makeAction(tr("Move Right"), ":/images/iconViewMoveRight.png");
    m_moveUpAction = makeAction(tr("Move Up"), ":/images/iconViewMoveUp.png");
    m_moveDownAction = makeAction(tr("Move Down"), ":/images/iconViewMoveDown.png");
    m_zoomInAction = makeAction(tr("Zoom In"), ":/images/iconViewZoomIn.png");
    m_zoomOutAction = makeAction(tr("Zoom Out"), ":/images/iconViewZoomOut.png");
    m_zoomInXAction = makeAction(tr("Zoom In in X Direction"), ":/images/iconViewZoomInX.png");
    m_zoomOutXAction = makeAction(tr("Zoom Out in X Direction"), ":/images/iconViewZoomOutX.png");
    m_zoomInYAction = makeAction(tr("Zoom In in Y Direction"), ":/images/iconViewZoomInY.png");
    m_zoomOutYAction = makeAction(tr("Zoom Out in Y Direction"), ":/images/iconViewZoomOutY.png");

    m_cameraMenu = new QMenu(tr("Camera Control"), m_mainWindow);
    m_cameraMenu->addActions({m_fitAction, m_resetRotationAction, m_rotate90Action,
                              m_xyPlaneAction, m_yzPlaneAction, m_xzPlaneAction,
                              m_moveLeftAction, m_moveRightAction, m_moveUpAction,
                              m_moveDownAction, m_zoomInAction, m_zoomOutAction, m_zoomInXAction,
                              m_zoomOutXAction, m_zoomInYAction, m_zoomOutYAction});
}

void MainWindowActionManager::createToolMenu()
{
    m_calculateSoilVolumeAction = makeAction(tr("Calculate Soil Volume"));
    connect(m_calculateSoilVolumeAction, &QAction::triggered, m_mainWindow,
            &MainWindow::calculateSoilVolumeDialog);
    m_drawAuxiliaryAction = makeAction(tr("Draw lines and points"));
    connect(m_drawAuxiliaryAction, &QAction::triggered, m_mainWindow->miscDialogManager(),
            &MainWindowMiscDialogManager::showDrawAuxiliaryDialog);
    m_toolMenu = new QMenu(tr("&Tool"), m_mainWindow);
}

void MainWindowActionManager::createOptionMenu()
{
    m_preferencesAction = makeAction(tr("Preferences"));
    connect(m_preferencesAction, &QAction::triggered, m_mainWindow,
            &MainWindow::showPreferenceDialog);
    m_optionMenu = new QMenu(tr("&Option"), m_mainWindow);
    m_optionMenu->addAction(m_preferencesAction);
    m_optionMenu->addSeparator();
}

void MainWindowActionManager::createHelpMenu()
{
    m_mouseHintAction = makeAction(tr("Mouse Hint"), ":/images/iconMouseHelp.png");
    connect(m_mouseHintAction, &QAction::triggered, m_mainWindow->miscDialogManager(),
            &MainWindowMiscDialogManager::showMouseHelpDialog);
    m_aboutAction = makeAction(tr("About"));
    connect(m_aboutAction, &QAction::triggered, m_mainWindow->miscDialogManager(),
            &MainWindowMiscDialogManager::showAboutDialog);
    m_helpMenu = new QMenu(tr("&Help"), m_mainWindow);
    m_helpMenu->addAction(m_mouseHintAction);
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(m_aboutAction);
}

void MainWindowActionManager::fillMenuBar()
{
    m_menuBar->clear();
    for (QMenu* menu : {m_fileMenu, m_editMenu, m_viewMenu, m_optionMenu, m_toolMenu, m_helpMenu}) {
        m_menuBar->addMenu(menu);
    }
}

void MainWindowActionManager::createMainToolBar()
{
    m_mainToolBar = new ToolBar(tr("Main ToolBar"), m_mainWindow);
    m_mainToolBar->setObjectName(QStringLiteral("misc::MainWindowActionManager::m_mainToolBar"));
    m_mainToolBar->setAllowedAreas(Qt::TopToolBarArea);
    m_mainToolBar->setFloatable(false);
    const std::vector<std::vector<QAction*>> groups = {
        {m_openAction, m_saveAction},
        {m_undoAction, m_redoAction},
        {m_fitAction},
        {m_resetRotationAction, m_rotate90Action},
        {m_xyPlaneAction, m_yzPlaneAction, m_xzPlaneAction},
        {m_moveLeftAction, m_moveRightAction, m_moveUpAction, m_moveDownAction},
        {m_zoomInAction, m_zoomOutAction},
        {m_zoomInXAction, m_zoomOutXAction, m_zoomInYAction, m_zoomOutYAction},
        {m_focusMainWindowAction, m_birdEyeWindowAction},
        {m_mouseHintAction}};
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (i > 0) {
            m_mainToolBar->addSeparator();
        }
        for (QAction* action : groups[i]) {
            m_mainToolBar->addAction(action);
        }
    }
    connect(m_mainToolBarAction, &QAction::triggered, m_mainToolBar, &QWidget::setVisible);
    connect(m_mainToolBar, &ToolBar::visibilityChanged, m_mainToolBarAction, &QAction::setChecked);
}

void MainWindowActionManager::buildEnablingTable()
{
    //                                         create edit  none
    m_enabling = {
        {m_openAction, {on, on, on}},
        {m_saveAction, {on, on, off}},
        {m_saveAsAction, {on, on, off}},
        {m_saveAsEditAction, {on, off, off}},
        {m_propertyAction, {on, on, off}},
        {m_showStartPageAction, {on, on, on}},
        {m_openWorkDirectoryAction, {on, on, on}},
        {m_drawAuxiliaryAction, {on, on, off}},
        {m_exitAction, {on, on, on}},
        {m_importBackgroundImageAction, {on, on, off}},
        {m_undoAction, {off, off, off}},
        {m_redoAction, {off, off, off}},
        {m_mainToolBarAction, {on, on, off}},
        {m_objectBrowserAction, {on, on, off}},
        {m_moldBrowserAction, {off, on, off}},
        {m_statusBarAction, {on, on, off}},
        {m_backgroundColorAction, {off, off, off}},
        {m_fitAction, {on, on, off}},
        {m_resetRotationAction, {on, on, off}},
        {m_rotate90Action, {on, on, off}},
        {m_xyPlaneAction, {off, off, off}},
        {m_yzPlaneAction, {off, off, off}},
        {m_xzPlaneAction, {off, off, off}},
        {m_moveLeftAction, {on, on, off}},
        {m_moveRightAction, {on, on, off}},
        {m_moveUpAction, {on, on, off}},
        {m_moveDownAction, {on, on, off}},
        {m_zoomInAction, {on, on, off}},
        {m_zoomOutAction, {on, on, off}},
        {m_zoomInXAction, {off, off, off}},
        {m_zoomOutXAction, {off, off, off}},
        {m_zoomInYAction, {off, off, off}},
        {m_zoomOutYAction, {off, off, off}},
        {m_focusMainWindowAction, {on, on, off}},
        {m_birdEyeWindowAction, {on, on, off}},
        {m_tileWindowsAction, {off, off, off}},
        {m_preferencesAction, {on, on, on}},
        {m_calculateSoilVolumeAction, {off, on, off}},
        {m_zScaleAction, {off, off, off}},
        {m_mouseHintAction, {on, on, on}},
        {m_aboutAction, {on, on, on}},
        {m_newProjectAction, {on, on, on}},
        {m_fileMenu->menuAction(), {on, on, on}},
        {m_editMenu->menuAction(), {on, on, off}},
        {m_viewMenu->menuAction(), {on, on, off}},
        {m_toolBarMenu->menuAction(), {on, on, off}},
        {m_cameraMenu->menuAction(), {off, off, off}},
        {m_optionMenu->menuAction(), {on, on, on}},
        {m_toolMenu->menuAction(), {on, on, off}},
        {m_helpMenu->menuAction(), {on, on, on}},
        {m_importMenu->menuAction(), {on, on, off}},
        {m_exportMenu->menuAction(), {on, on, off}},
        {m_recentProjectsMenu->menuAction(), {on, on, on}},
        {m_addMenu->menuAction(), {on, on, off}},
    };
}

void MainWindowActionManager::applyEnablingTable()
{
    const int column = (m_mode == CreateMode || m_mode == EditMode) ? m_mode : NoProject;
    for (const Enabling& entry : m_enabling) {
        entry.action->setEnabled(entry.flags[column]);
    }
}

int MainWindowActionManager::mode() const
{
    return m_mode;
}

void MainWindowActionManager::setCreateMode()
{
    setMode(CreateMode);
}

void MainWindowActionManager::setEditMode()
{
    setMode(EditMode);
}

void MainWindowActionManager::setNoProjectMode()
{
    setMode(NoProject);
}

void MainWindowActionManager::setMode(Mode mode)
{
    m_mode = mode;
    setupFileMenu();
    setupViewMenu();
    setupToolMenu();
}

void MainWindowActionManager::handleCreateProjectOpen()
{
    m_projectOpen = true;
    applyEnablingTable();
}

void MainWindowActionManager::handleEditProjectOpen()
{
    handleCreateProjectOpen();
}

void MainWindowActionManager::handleProjectClose()
{
    m_projectOpen = false;
    applyEnablingTable();
}

void MainWindowActionManager::fillModeMenu(QMenu* menu, const std::vector<QAction*>& items,
                                           const std::vector<QAction*>& hiddenInCreateMode,
                                           const std::vector<QAction*>& hiddenInEditMode,
                                           const std::vector<QAction*>& developersOnly)
{
    const QList<QAction*> old = menu->actions();
    menu->clear(); // deletes the separators it made, which nothing else holds
    for (QAction* action : old) {
        if (action->isSeparator() && action != m_windowListSeparator
            && action->parent() == this) {
            delete action;
        }
    }

    std::vector<QAction*> hidden;
    if (m_mode != EditMode) {
        hidden.insert(hidden.end(), hiddenInCreateMode.begin(), hiddenInCreateMode.end());
    }
    if (m_mode != CreateMode) {
        hidden.insert(hidden.end(), hiddenInEditMode.begin(), hiddenInEditMode.end());
    }
    if (!QSettings().value(QLatin1String(settings::developersMode), false).toBool()) {
        hidden.insert(hidden.end(), developersOnly.begin(), developersOnly.end());
    }
    for (QAction* action : items) {
        if (!action) {
            auto separator = new QAction(this);
            separator->setSeparator(true);
            menu->addAction(separator);
        } else if (std::find(hidden.begin(), hidden.end(), action) == hidden.end()) {
            menu->addAction(action);
        }
    }
}

void MainWindowActionManager::setupFileMenu()
{
    fillModeMenu(m_fileMenu,
                 {m_newProjectAction, m_openAction, m_saveAction, m_saveAsAction,
                  m_saveAsEditAction, nullptr, m_openWorkDirectoryAction, nullptr,
                  m_propertyAction, nullptr, m_importMenu->menuAction(),
                  m_exportMenu->menuAction(), nullptr, m_recentProjectsMenu->menuAction(),
                  nullptr, m_showStartPageAction, nullptr, m_exitAction},
                 {}, {m_saveAsEditAction}, {m_openWorkDirectoryAction});
}

void MainWindowActionManager::setupViewMenu()
{
    // The window list after its separator goes with the rest; the View menu rebuilds it
    // whenever it is about to show.
    fillModeMenu(m_viewMenu,
                 {m_toolBarMenu->menuAction(), m_objectBrowserAction, m_moldBrowserAction,
                  m_statusBarAction, nullptr, m_backgroundColorAction, m_zScaleAction, nullptr,
                  m_tileWindowsAction, m_windowListSeparator},
                 {m_moldBrowserAction}, {}, {});
}

void MainWindowActionManager::setupToolMenu()
{
    fillModeMenu(m_toolMenu, {m_calculateSoilVolumeAction, nullptr, m_drawAuxiliaryAction},
                 {m_calculateSoilVolumeAction}, {}, {m_drawAuxiliaryAction});
}

void MainWindowActionManager::setDevelopersOnlyVisibility()
{
    setupFileMenu();
    setupToolMenu();
}

void MainWindowActionManager::setupImportMenu()
{
    if (!m_importMenu->actions().contains(m_importBackgroundImageAction)) {
        m_importMenu->addAction(m_importBackgroundImageAction);
    }
}

void MainWindowActionManager::setupExportMenu()
{
    m_exportMenu->clear();
    if (m_mode == EditMode) {
        m_exportMenu->addAction(m_exportZindralGridAction);
        m_exportMenu->addAction(m_exportLandXmlAction);
    }
}

void MainWindowActionManager::setupAddMenu()
{
    m_addMenu->clear();
    m_mainWindow->fillAddMenu(m_addMenu);
}

void MainWindowActionManager::updateWindowList()
{
    for (QAction* action : m_windowListActions) {
        m_signalMapper->removeMappings(action);
        delete action;
    }
    m_windowListActions.clear();

    const QList<QMdiSubWindow*> windows =
        m_mainWindow->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    for (int i = 0; i < windows.size(); ++i) {
        const int n = i + 1;
        const QString text = QStringLiteral("%1%2 ")
                                 .arg(n < 10 ? QStringLiteral("&") : QString())
                                 .arg(n)
                             + windows[i]->windowTitle();
        auto action = new QAction(windows[i]->windowIcon(), text, this);
        action->setEnabled(m_projectOpen);
        m_viewMenu->addAction(action);
        connect(action, &QAction::triggered, m_signalMapper,
                QOverload<>::of(&QSignalMapper::map));
        m_signalMapper->setMapping(action, windows[i]);
        m_windowListActions.push_back(action);
    }
}

void MainWindowActionManager::activateWindow(QWidget* subWindow)
{
    auto window = qobject_cast<QMdiSubWindow*>(subWindow);
    if (!window) {
        return;
    }
    window->show();
    m_mainWindow->mdiArea()->setActiveSubWindow(window);
    window->setFocus();
}

void MainWindowActionManager::handleWindowActivated(QWidget* window)
{
    if (!window) {
        return;
    }
    bindCameraActions(window);
    auto withObjectBrowser = qobject_cast<mvc::window::WindowWithObjectBrowserI*>(window);
    bindDockAction(m_objectBrowserBinding,
                   withObjectBrowser ? withObjectBrowser->dockWidget() : nullptr);
    auto withMoldBrowser = qobject_cast<WindowWithMoldsContainerBrowserI*>(window);
    bindDockAction(m_moldBrowserBinding,
                   withMoldBrowser ? withMoldBrowser->dockWidget() : nullptr);
    bindSlotActions(window);
    fillMenuBar();
}

void MainWindowActionManager::bindCameraActions(QWidget* window)
{
    auto withView = qobject_cast<mvc::window::WindowWithViewI*>(window);
    mvc::core::View* view = withView ? withView->view() : nullptr;
    if (!view) {
        return;
    }
    using Slot = void (mvc::core::View::*)();
    const std::pair<QAction*, Slot> bindings[] = {
        {m_fitAction, QOverload<>::of(&mvc::core::View::fit)},
        {m_zoomInAction, &mvc::core::View::zoomIn},
        {m_zoomOutAction, &mvc::core::View::zoomOut},
        {m_resetRotationAction, &mvc::core::View::resetRotation},
        {m_rotate90Action, &mvc::core::View::rotate90},
        {m_moveLeftAction, &mvc::core::View::moveLeft},
        {m_moveRightAction, &mvc::core::View::moveRight},
        {m_moveUpAction, &mvc::core::View::moveUp},
        {m_moveDownAction, &mvc::core::View::moveDown}};
    for (const auto& binding : bindings) {
        if (m_cameraView) {
            QObject::disconnect(binding.first, &QAction::triggered, m_cameraView, nullptr);
        }
        connect(binding.first, &QAction::triggered, view, binding.second, Qt::UniqueConnection);
    }
    m_cameraView = view;
}

void MainWindowActionManager::bindDockAction(DockBinding& binding, QDockWidget* dock)
{
    QAction* action = binding.action;
    if (binding.dock) {
        QObject::disconnect(action, nullptr, binding.dock, nullptr);
        QObject::disconnect(binding.dock, nullptr, action, nullptr);
    }
    binding.dock = dock;
    if (!dock) {
        action->setEnabled(false);
        action->setChecked(false);
        return;
    }
    action->setEnabled(true);
    action->setChecked(dock->isVisible());
    connect(action, &QAction::triggered, dock, &QWidget::setVisible, Qt::UniqueConnection);
    connect(dock, &QDockWidget::visibilityChanged, action, &QAction::setChecked,
            Qt::UniqueConnection);
}

void MainWindowActionManager::bindSlotActions(QWidget* window)
{
    for (QAction* action : {m_backgroundColorAction, m_zScaleAction}) {
        if (m_slotWindow) {
            QObject::disconnect(action, nullptr, m_slotWindow, nullptr);
        }
    }
    m_slotWindow = window;
    const QMetaMethod triggered = QMetaMethod::fromSignal(&QAction::triggered);
    const std::pair<QAction*, const char*> bindings[] = {
        {m_backgroundColorAction, "editBackgroundColor()"}, {m_zScaleAction, "editZScale()"}};
    for (const auto& binding : bindings) {
        const int index = window->metaObject()->indexOfSlot(binding.second);
        const bool connected =
            index >= 0
            && static_cast<bool>(connect(binding.first, triggered, window,
                                         window->metaObject()->method(index),
                                         Qt::UniqueConnection));
        binding.first->setEnabled(connected);
    }
}

QMenuBar* MainWindowActionManager::menuBar() const
{
    return m_menuBar;
}

ToolBar* MainWindowActionManager::mainToolBar() const
{
    return m_mainToolBar;
}

QMenu* MainWindowActionManager::recentProjectsMenu() const
{
    return m_recentProjectsMenu;
}

QAction* MainWindowActionManager::action(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

QMenu* MainWindowActionManager::menu(const QString& title) const
{
    for (QMenu* menu : {m_fileMenu, m_importMenu, m_exportMenu, m_recentProjectsMenu, m_editMenu,
                        m_addMenu, m_viewMenu, m_toolBarMenu, m_cameraMenu, m_optionMenu,
                        m_toolMenu, m_helpMenu}) {
        if (plainText(menu->title()) == title) {
            return menu;
        }
    }
    return nullptr;
}

} // namespace varnel
