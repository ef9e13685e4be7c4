#pragma once

#include <QObject>
#include <QPointer>

#include <array>
#include <vector>

class QAction;
class QDockWidget;
class QMenu;
class QMenuBar;
class QSignalMapper;
class QWidget;

namespace varnel {

class MainWindow;
class ToolBar;

/// Every action, menu and the main tool bar of the main window, connected to the main
/// window's slots, to its dialog manager and to the active project window.
///
/// Enabling. Each action and menu has three flags, for a create-mode project, an edit-mode
/// project and no project; `handleCreateProjectOpen`, `handleEditProjectOpen` and
/// `handleProjectClose` apply the column of the current mode (create 0, edit 1, otherwise
/// the no-project column), so after a close the enabling stays that of the last mode. Undo
/// and Redo are the undo stack's own actions: the table disables them and the stack enables
/// them again as soon as it can undo or redo.
///
/// Mode-dependent menus. File, View and Tool are refilled by `setCreateMode` and
/// `setEditMode` (which set the mode but do not apply the table) and File and Tool by
/// `setDevelopersOnlyVisibility` (after the preferences were accepted): entries hidden in the
/// mode, and the developers' entries unless "developers/mode" is true, are left out. Import,
/// Export, Add/Import, Recent Projects and the View menu's window list are filled each time
/// they are about to show. The menu bar holds File, Edit, View, Option, Tool and Help; the
/// camera actions are on the main tool bar only.
///
/// Active window. `handleWindowActivated` binds the camera actions to the window's main view
/// (each action reaches one view, once), the Object Browser and Mold Browser actions to the
/// window's docks, and Background Color and Z-direction Scale to the window's slots of those
/// names when it has them.
///
/// Made by the main window without a Qt parent and deleted by it; the menus, the menu bar and
/// the tool bar are Qt children of the main window, the actions children of the manager.
class MainWindowActionManager : public QObject {
    Q_OBJECT
public:
    enum Mode { CreateMode = 0, EditMode = 1, NoProject = 2 };

    explicit MainWindowActionManager(MainWindow* mainWindow);
    ~MainWindowActionManager() override;

    int mode() const;
    void setCreateMode();
    void setEditMode();
    /// The mode of the start, with no project: refills the menus of that mode; the next
    /// `handleProjectClose` applies the no-project column.
    void setNoProjectMode();
    /// Binds the camera, dock and window-slot actions to `window` (the content of the active
    /// sub-window) and refills the menu bar; nothing for null.
    void handleWindowActivated(QWidget* window);

    QMenuBar* menuBar() const;
    ToolBar* mainToolBar() const;
    QMenu* recentProjectsMenu() const;

    /// Every action and menu by its name as the user reads it (the action's text without
    /// the "&" of its accelerator; menus by their title, "Camera Control" included);
    /// null for an unknown name.
    QAction* action(const QString& name) const;
    QMenu* menu(const QString& title) const;

public slots:
    void handleCreateProjectOpen();
    void handleEditProjectOpen();
    void handleProjectClose();
    void setupImportMenu();
    void setupExportMenu();
    void setupAddMenu();
    void updateWindowList();
    void activateWindow(QWidget* subWindow);
    void setDevelopersOnlyVisibility();

private:
    /// An entry of the enabling table: an action (a menu by its `menuAction()`) and its
    /// flags for create mode, edit mode and no project.
    struct Enabling {
        QAction* action;
        std::array<bool, 3> flags;
    };

    /// A dock action's current binding, so that the next binding can undo it.
    struct DockBinding {
        QAction* action = nullptr;
        QPointer<QDockWidget> dock;
    };

    void createFileMenu();
    void createEditMenu();
    void createViewMenu();
    void createCameraActions();
    void createToolMenu();
    void createOptionMenu();
    void createHelpMenu();
    void fillMenuBar();
    void createMainToolBar();
    void buildEnablingTable();
    /// Sets the mode and refills the menus that depend on it.
    void setMode(Mode mode);
    void applyEnablingTable();

    void setupFileMenu();
    void setupViewMenu();
    void setupToolMenu();
    /// Refills `menu` with `items` (null stands for a separator) less the entries hidden in
    /// the mode and, unless developers mode is on, the developers' entries.
    void fillModeMenu(QMenu* menu, const std::vector<QAction*>& items,
                      const std::vector<QAction*>& hiddenInCreateMode,
                      const std::vector<QAction*>& hiddenInEditMode,
                      const std::vector<QAction*>& developersOnly);

    void bindCameraActions(QWidget* window);
    void bindDockAction(DockBinding& binding, QDockWidget* dock);
    void bindSlotActions(QWidget* window);

    QAction* makeAction(const QString& text, const char* iconPath = nullptr);

    MainWindow* m_mainWindow;

    // File.
    QAction* m_newProjectAction;
    QAction* m_openAction;
    QAction* m_saveAction;
    QAction* m_saveAsAction;
    QAction* m_saveAsEditAction;
    QAction* m_propertyAction;
    QAction* m_importBackgroundImageAction;
    QAction* m_exportZindralGridAction;
    QAction* m_exportLandXmlAction;
    QAction* m_openWorkDirectoryAction;
    QAction* m_showStartPageAction;
    QAction* m_exitAction;
    // Edit.
    QAction* m_undoAction;
    QAction* m_redoAction;
    // View.
    QAction* m_mainToolBarAction;
    QAction* m_objectBrowserAction;
    QAction* m_moldBrowserAction;
    QAction* m_statusBarAction;
    QAction* m_backgroundColorAction;
    QAction* m_zScaleAction;
    QAction* m_tileWindowsAction;
    QAction* m_windowListSeparator;
    // Tool bar and camera.
    QAction* m_focusMainWindowAction;
    QAction* m_birdEyeWindowAction;
    QAction* m_fitAction;
    QAction* m_resetRotationAction;
    QAction* m_rotate90Action;
    QAction* m_xyPlaneAction;
    QAction* m_yzPlaneAction;
    QAction* m_xzPlaneAction;
    QAction* m_moveLeftAction;
    QAction* m_moveRightAction;
    QAction* m_moveUpAction;
    QAction* m_moveDownAction;
    QAction* m_zoomInAction;
    QAction* m_zoomOutAction;
    QAction* m_zoomInXAction;
    QAction* m_zoomOutXAction;
    QAction* m_zoomInYAction;
    QAction* m_zoomOutYAction;
    // Option, Tool, Help.
    QAction* m_preferencesAction;
    QAction* m_calculateSoilVolumeAction;
    QAction* m_drawAuxiliaryAction;
    QAction* m_mouseHintAction;
    QAction* m_aboutAction;

    QMenu* m_fileMenu;
    QMenu* m_importMenu;
    QMenu* m_exportMenu;
    QMenu* m_recentProjectsMenu;
    QMenu* m_editMenu;
    QMenu* m_addMenu;
    QMenu* m_viewMenu;
    QMenu* m_toolBarMenu;
    QMenu* m_cameraMenu;
    QMenu* m_optionMenu;
    QMenu* m_toolMenu;
    QMenu* m_helpMenu;

    QMenuBar* m_menuBar;
    QSignalMapper* m_signalMapper;
    ToolBar* m_mainToolBar;
    std::vector<QAction*> m_windowListActions;
    std::vector<Enabling> m_enabling;
    DockBinding m_objectBrowserBinding;
    DockBinding m_moldBrowserBinding;
    QPointer<QObject> m_cameraView;
    QPointer<QWidget> m_slotWindow;
    int m_mode = NoProject;
    bool m_projectOpen = false;
};

} // namespace varnel
