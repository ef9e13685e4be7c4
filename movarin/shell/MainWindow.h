#pragma once

#include "brask/proj/ProjectMainWindowI.h"
#include "brask/proj/VersionNumber.h"
#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"
#include "movarin/shell/ProjectWorkspace.h"

#include <guimisc/WindowConfigurationManager.h>

#include <QImage>
#include <QLocale>
#include <QPointer>
#include <QString>
#include <QUndoStack>

#include <exception>
#include <memory>
#include <vector>

class QMdiSubWindow;
class QMenu;

namespace gdalimg {
class GdalImageSetting;
}

namespace guimisc::widget {
class MousePositionWidget;
}

namespace mvc::core {
class View;
}

namespace mvc::window {
class ProjectMdiArea;
}

namespace tin::core {
class Tin;
}

namespace varnel {

class BirdEyeView;
class MainWindowActionManager;
class MainWindowMiscDialogManager;
class Project;

/// The application window and the owner of the one open project.
///
/// It creates, opens, saves and closes projects of the two kinds (create mode, archives
/// ".cmvn"; edit mode, ".emvn"), keeps the recent projects ("general/recentprojects", newest
/// first, at most ten, paths compared exactly), the window title ("<file name> - Movarin",
/// "Untitled - Movarin", or "Movarin" without a project) and the status bar with the
/// mouse-position read-out of the active view. The menus, the tool bar and the enabling of
/// the actions belong to the action manager, which calls the slots below; the About box and
/// the small tool windows to the dialog manager.
///
/// Holds what every project reaches through it: the undo stack that all project commands go
/// to, the workspace under which projects have their work folders, the MDI area in which
/// the project windows live (the central widget), the program's locale and version (from
/// ":/data/varnel_info.xml"), and the catalogue of EPSG coordinate systems from which
/// projects borrow their system. It emits `preferenceChanged()` after the preference dialog
/// was accepted.
///
/// Start-up and exit. The constructor reads the settings: "general/lastiodir" (the home
/// folder when missing or gone) becomes the folder of the file dialogs; the other keys the
/// start-up knows are read with their defaults and written back; a store without
/// "general/locale" is a first start, on which the preference dialog saves its initial
/// values unseen. The destructor stores the folder of the file dialogs and closes the
/// project without asking.
///
/// Failures are shown in message boxes (through `guimisc::UserDialogs`) titled "Warning"
/// for an unmet precondition or a question and "Error" for a failed operation; no exception
/// leaves a slot. Opening and saving report success as a boolean where they return one. While
/// a project is being opened or saved the window refuses to close.
///
/// Ownership: the undo stack, the catalogue and the action manager are members; the
/// workspace, the MDI area, the dialog manager and the status-bar widgets are Qt children;
/// the open project (null when none) is owned and deleted when it closes. The catalogue
/// reads its EPSG list once, in the constructor.
class MainWindow : public mvc::proj::ProjectMainWindowI {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    ProjectWorkspace* workspace() override;
    mvc::proj::VersionNumber versionNumber() const override;
    /// The program's locale (the system locale until the settings say otherwise).
    QLocale locale() const override;

    QUndoStack* undoStack();
    mvc::window::ProjectMdiArea* mdiArea() const;
    /// The coordinate systems a project can name; the pairs belong to the catalogue.
    const guiproj::EllipseToPlaneProjectionPairBuilder* projectionPairBuilder() const;
    /// The open project, or null.
    Project* project() const;
    MainWindowActionManager* actionManager() const;
    MainWindowMiscDialogManager* miscDialogManager() const;
    guimisc::widget::MousePositionWidget* mousePositionWidget() const;

    /// Lets the project window append the "Add" entries of its items; nothing without a
    /// project.
    void fillAddMenu(QMenu* menu);

    /// True when the workspace folder's absolute path is ASCII-only; otherwise shows the
    /// warning that asks the user to change it in the preferences and returns false.
    bool checkWorkingDirectory();

public slots:
    void openStartDialog();
    void newCreateProject();
    void newEditProject();
    /// The file dialog for a project or STL file.
    void openProject();
    /// Opens the archive (or STL file) at `filename`: a ".cmvn" archive as a create-mode
    /// project, any other suffix but "stl" as an edit-mode project. A ".stl" surface (the
    /// suffix in lower case) becomes the base and edited TIN of a new edit-mode project
    /// without file name. No project is made when the reader fails (an "Error" box with the
    /// reader's message) or when the surface is not single-valued, two of its triangles
    /// overlapping in plan or one standing vertical (`tin::util::PlanOverlapCheck`; an
    /// "Error" box "<file> is no single-valued surface: its triangles overlap in plan.").
    /// A missing file, or one that is no zip archive holding "project.xml",
    /// is refused with a message and the open project stays as it was; otherwise the open
    /// project is closed first (asking to save it when modified). An open that fails after
    /// that leaves no project, with the actions that need one disabled.
    void openProject(const QString& filename);
    /// Opens the path the triggering action carries as its data.
    void openRecentProject();

    /// Asks to save a modified project (Yes, No, Cancel), then closes it; false when the
    /// user cancelled or the save failed, and the project stays open.
    bool closeProject();
    bool saveProject();
    bool saveProjectAs();
    /// Converts the create-mode project into a new edit-mode project saved under a name the
    /// user chooses (its TIN as base and edited TIN, its background images in their order
    /// and placements); false when anything stopped it. The create-mode project goes only
    /// once the edit-mode project and its window stand.
    bool saveProjectAsEdit();

    /// File > Import > Background Image: what the background images group's Import does
    /// in the project window; nothing without a project.
    void importBackgroundImage();
    void exportZindralGrid();
    void exportLandXml();
    void focusProjectMainWindow();
    void focusBirdEyeWindow();
    void activeSubwindowChanged(QMdiSubWindow* newActiveWindow);

    /// Disables the menu bar and the main tool bar while a tool dialog or the disk has the
    /// user wait.
    void enterModelessDialogMode() override;
    void exitModelessDialogMode() override;
    void setupRecentProjectsMenu();
    void openWorkFolder();
    void showProjectPropertyDialog();
    void showPreferenceDialog();
    void calculateSoilVolumeDialog();
    void setMousePositionPrecision();

signals:
    /// The preferences were changed and saved.
    void preferenceChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void childEvent(QChildEvent* event) override;

private slots:
    void noteWaitCanceled();

private:
    enum class Kind { Create, Edit };

    /// What the user is told of a failure: its text, or that memory ran out.
    static QString messageOf(const std::exception& failure);

    void loadSettings();
    void readApplicationInfo();
    bool askSaveIfModified(const QString& message);
    /// Closes the open project and starts a new one of that kind with its window; false
    /// (and no project) when the close was refused or the window could not be made.
    bool startNewProject(Kind kind);
    /// A new project of that kind over a fresh work folder, recording the program's version;
    /// not yet the open one. Throws `guimisc::ErrorMessage` naming the folder when the
    /// workspace or the work folder cannot be made or locked.
    std::unique_ptr<Project> makeProject(Kind kind);
    /// Makes `project` the open one and sets the action manager's mode to its kind.
    void installProject(std::unique_ptr<Project> project);
    void createProject(Kind kind);
    void connectProjectSignals();
    /// Shows the project's window, tells the action manager that a project is open and sets
    /// the title.
    void showProjectWindow(QMdiSubWindow* subWindow);
    /// Closes the half-opened project after `message` was shown; nothing is asked.
    void abandonProject(const QString& message);
    /// After an open that failed and left no project: the menus and actions as at start,
    /// those that need a project disabled.
    void showNoProject();
    /// Whether the file is a zip archive holding "project.xml": read from its directory,
    /// before anything is unpacked or the open project is given up.
    static bool isProjectArchive(const QString& filename);
    bool saveProjectTo(Project* project, const QString& filename);
    /// True, after a warning, when `filename` lies in the open project's work folder.
    bool isRefusedAsWorkFolderTarget(const QString& filename);
    /// Saves the open project to `filename`, then sets the title and puts the path first in
    /// the recent projects.
    bool saveProjectAndRecord(const QString& filename);
    bool convertToEditModeAndSave(const QString& filename);
    /// Makes an edit-mode project with its window holding `tin` and the background images,
    /// beside the open create-mode project; only when that succeeded does the create-mode
    /// project go and the new one take its place. On a failure the new one goes, the
    /// create-mode project stays open and an "Error" box tells why; false then.
    bool replaceByEditModeProject(const tin::core::Tin& tin, const std::vector<QString>& filenames,
                                  const std::vector<QImage>& images,
                                  const std::vector<gdalimg::GdalImageSetting>& settings);
    void openStlSurface(const QString& filename);
    /// Tells why an STL file made no project; the open project was closed before.
    void refuseStlSurface(const QString& message);
    /// The save dialog for an archive of that code; the code is appended to a name without
    /// suffix. Empty when cancelled.
    QString askSaveFileName(const QString& code);
    void addRecentProject(const QString& path);
    void removeRecentProject(const QString& path);
    void updateWindowTitle();
    void setupStatusBar();
    /// The menu bar and the main tool bar, off while a tool dialog or the disk is waited on.
    void setCommandsEnabled(bool enabled);
    /// Clears the undo stack, closes every sub-window but `keep` and deletes the project,
    /// without asking.
    void discardProject(QMdiSubWindow* keep = nullptr);

    guimisc::widget::MousePositionWidget* m_mousePositionWidget;
    MainWindowMiscDialogManager* m_miscDialogManager;
    QUndoStack m_undoStack;
    std::unique_ptr<MainWindowActionManager> m_actionManager;
    ProjectWorkspace* m_workspace;
    Project* m_project = nullptr;
    QLocale m_locale;
    QPointer<QMdiSubWindow> m_activeSubWindow;
    bool m_isOpening = false;
    bool m_isSaving = false;
    bool m_waitCanceled = false;
    mvc::proj::VersionNumber m_versionNumber;
    mvc::window::ProjectMdiArea* m_mdiArea;
    QPointer<BirdEyeView> m_birdEyeView;
    QPointer<mvc::core::View> m_positionView;
    guimisc::WindowConfigurationManager m_windowConfigurationManager;
    guiproj::EllipseToPlaneProjectionPairBuilder m_projectionPairBuilder;
};

} // namespace varnel
