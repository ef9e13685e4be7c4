#include "movarin/shell/MainWindow.h"

#include "brask/core/View.h"
#include "brask/window/ProjectMdiArea.h"
#include "brask/window/ProjectWindow.h"
#include "brask/window/WindowWithViewI.h"
#include "movarin/sections/CalculateSoilVolumeDialog.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeProject.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeProject.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/MainWindowMiscDialogManager.h"
#include "movarin/shell/PreferenceDialog.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectProperty.h"
#include "movarin/shell/ProjectPropertyEditDialog.h"
#include "movarin/shell/ProjectWindowFactory.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/StartPageDialog.h"
#include "movarin/shell/ToolBar.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageGroupItemController.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "orlin/core/Tin.h"
#include "orlin/io/StlTinImporter.h"
#include "orlin/util/PlanOverlapCheck.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#ifdef MOVARIN_WITH_BIRDEYE
#include "movarin/shell/BirdEyeView.h"
#include "movarin/shell/BirdEyeWindow.h"
#endif

#include <guimisc/ErrorMessage.h>
#include <guimisc/LastIODirectory.h>
#include <guimisc/SettingsSupport.h>
#include <guimisc/StringSupport.h>
#include <guimisc/UserDialogs.h>
#include <guimisc/WindowSupport.h>
#include <guimisc/ZipDirectory.h>
#include <guimisc/dialog/WaitDialog.h>
#include <guimisc/restorer/WaitCursor.h>
#include <guimisc/widget/MousePositionWidget.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>

#include <exception>
#include <new>

namespace varnel {
namespace {

const int maxRecentProjects = 10;

// Sets a flag and the wait cursor for the length of one operation, however it ends, and
// puts back what was there before (operations nest: a save inside a conversion).
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag), m_previousFlag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = m_previousFlag; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    guimisc::restorer::WaitCursor m_cursor;
    bool& m_flag;
    bool m_previousFlag;
};

QStringList readRecentProjects()
{
    return guimisc::SettingsSupport::value(QLatin1String(settings::generalRecentProjects))
        .toStringList();
}

void writeRecentProjects(QStringList list)
{
    while (list.size() > maxRecentProjects) {
        list.removeLast();
    }
    guimisc::SettingsSupport::setValue(QLatin1String(settings::generalRecentProjects), list);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : mvc::proj::ProjectMainWindowI(parent),
      m_mousePositionWidget(new guimisc::widget::MousePositionWidget(this)),
      m_miscDialogManager(new MainWindowMiscDialogManager(this)),
      m_actionManager(std::make_unique<MainWindowActionManager>(this)),
      m_workspace(new ProjectWorkspace(this)), m_locale(QLocale::system()),
      m_mdiArea(new mvc::window::ProjectMdiArea(this)), m_windowConfigurationManager(this)
{
    setWindowIcon(QIcon(QStringLiteral(":/images/iconVarnel.png")));

    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setActivationOrder(QMdiArea::CreationOrder);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::activeSubwindowChanged);

    setupStatusBar();
    loadSettings();
    setMousePositionPrecision();
    connect(this, &MainWindow::preferenceChanged, this, &MainWindow::setMousePositionPrecision,
            Qt::UniqueConnection);

    m_actionManager->handleProjectClose();
    setMenuBar(m_actionManager->menuBar());
    addToolBar(Qt::TopToolBarArea, m_actionManager->mainToolBar());
    addToolBarBreak(Qt::TopToolBarArea);

    readApplicationInfo();
    updateWindowTitle();
    statusBar()->showMessage(tr("Ready"), guimisc::WindowSupport::STATUSBAR_TIMEOUT);
}

MainWindow::~MainWindow()
{
    guimisc::SettingsSupport::setValue(QLatin1String(settings::generalLastIoDir),
                                       guimisc::LastIODirectory::get());
    // The commands on the stack and the windows refer to the project's items: they go
    // first, then the project, while the catalogue its property borrows from still exists.
    discardProject();
    // The menus hold the manager's actions; they go before the window's other children.
    m_actionManager.reset();
}

// --- accessors -------------------------------------------------------------------------

ProjectWorkspace* MainWindow::workspace()
{
    return m_workspace;
}

mvc::proj::VersionNumber MainWindow::versionNumber() const
{
    return m_versionNumber;
}

QLocale MainWindow::locale() const
{
    return m_locale;
}

QUndoStack* MainWindow::undoStack()
{
    return &m_undoStack;
}

mvc::window::ProjectMdiArea* MainWindow::mdiArea() const
{
    return m_mdiArea;
}

const guiproj::EllipseToPlaneProjectionPairBuilder* MainWindow::projectionPairBuilder() const
{
    return &m_projectionPairBuilder;
}

Project* MainWindow::project() const
{
    return m_project;
}

MainWindowActionManager* MainWindow::actionManager() const
{
    return m_actionManager.get();
}

MainWindowMiscDialogManager* MainWindow::miscDialogManager() const
{
    return m_miscDialogManager;
}

guimisc::widget::MousePositionWidget* MainWindow::mousePositionWidget() const
{
    return m_mousePositionWidget;
}

// --- start-up --------------------------------------------------------------------------

void MainWindow::loadSettings()
{
    QString lastIoDir =
        guimisc::SettingsSupport::value(QLatin1String(settings::generalLastIoDir)).toString();
    if (lastIoDir.isEmpty() || !QFileInfo(lastIoDir).isDir()) {
        lastIoDir = QDir::homePath();
    }
    guimisc::LastIODirectory::set(lastIoDir);

    for (const settings::StartupSetting& setting : settings::startupSettings()) {
        const QString key = QLatin1String(setting.key);
        const QVariant value = guimisc::SettingsSupport::value(key, setting.defaultValue);
        guimisc::SettingsSupport::setValue(key, value);
    }

    const QString localeName =
        guimisc::SettingsSupport::value(QLatin1String(settings::generalLocale), QString())
            .toString();
    if (localeName.isEmpty()) {
        // First start: the preference pages store what they show initially (the language
        // and the workspace among them).
        PreferenceDialog dialog;
        dialog.apply();
    } else {
        m_locale = QLocale(localeName);
    }
}

void MainWindow::readApplicationInfo()
{
    QFile file(QStringLiteral(":/data/varnel_info.xml"));
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) {
        return;
    }
    const QDomElement root = document.documentElement();
    m_versionNumber = mvc::proj::VersionNumber(root.attribute(QStringLiteral("version")));
    m_miscDialogManager->setApplicationInfo(root);
}

QString MainWindow::messageOf(const std::exception& failure)
{
    if (dynamic_cast<const std::bad_alloc*>(&failure)) {
        return tr("Not enough memory for this operation.");
    }
    if (auto message = dynamic_cast<const guimisc::ErrorMessage*>(&failure)) {
        return message->message();
    }
    return QString::fromUtf8(failure.what());
}

bool MainWindow::checkWorkingDirectory()
{
    const QString path = m_workspace->workspace().absolutePath();
    if (guimisc::StringSupport::isAscii(path)) {
        return true;
    }
    guimisc::UserDialogs::warning(
        this, tr("Warning"),
        tr("Current working directory (%1) contains non-ASCII characters. Before starting a "
           "new project, change working directory from the following menu: \nOption -> "
           "Preferences")
            .arg(QDir::toNativeSeparators(path)),
        QMessageBox::Ok);
    return false;
}

void MainWindow::setupStatusBar()
{
    m_mousePositionWidget->clear();
    statusBar()->addPermanentWidget(m_mousePositionWidget);
}

// --- project lifecycle -----------------------------------------------------------------

bool MainWindow::askSaveIfModified(const QString& message)
{
    if (!m_project || !m_project->projectFile()->isModified()) {
        return true;
    }
    const QMessageBox::StandardButton answer = guimisc::UserDialogs::warning(
        this, tr("Warning"), message, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        return saveProject();
    }
    return answer == QMessageBox::No;
}

bool MainWindow::closeProject()
{
    if (!m_project) {
        return true;
    }
    if (!askSaveIfModified(tr("This Project is modified. Do you want to save?"))) {
        return false;
    }
    {
        // Letting go of a survey of millions of points takes a while.
        const guimisc::restorer::WaitCursor busy;
        discardProject();
    }
    m_actionManager->handleProjectClose();
    updateWindowTitle();
    return true;
}

void MainWindow::discardProject(QMdiSubWindow* keep)
{
    m_undoStack.clear();
    m_undoStack.setClean();
    if (keep) {
        // Guarded: a project window takes the windows of its items (cross sections) along.
        std::vector<QPointer<QMdiSubWindow>> subWindows;
        for (QMdiSubWindow* subWindow : m_mdiArea->subWindowList()) {
            subWindows.emplace_back(subWindow);
        }
        for (const QPointer<QMdiSubWindow>& subWindow : subWindows) {
            if (subWindow && subWindow != keep) {
                m_mdiArea->removeSubWindow(subWindow);
                delete subWindow.data();
            }
        }
    } else {
        m_mdiArea->closeAllSubWindows();
    }
    m_birdEyeView = nullptr;
    m_activeSubWindow = nullptr;
    m_positionView = nullptr;
    delete m_project;
    m_project = nullptr;
}

std::unique_ptr<Project> MainWindow::makeProject(Kind kind)
{
    // A project that could not keep its files would fail only at its first save.
    const QString workspace = m_workspace->workspace().absolutePath();
    if (!m_workspace->makeFolder()) {
        throw guimisc::ErrorMessage(
            tr("The working directory %1 cannot be made. Choose another one under Option -> "
               "Preferences.")
                .arg(QDir::toNativeSeparators(workspace)));
    }
    const QString folder = mvc::proj::Project::newWorkfolderName(workspace);
    std::unique_ptr<Project> project;
    if (kind == Kind::Create) {
        project = std::make_unique<CreateModeProject>(folder, this);
    } else {
        project = std::make_unique<EditModeProject>(folder, this);
    }
    if (!project->isLocked()) {
        throw guimisc::ErrorMessage(tr("The work folder %1 cannot be made or locked.")
                                        .arg(QDir::toNativeSeparators(folder)));
    }
    project->projectFile()->setProjectVersion(m_versionNumber);
    return project;
}

void MainWindow::installProject(std::unique_ptr<Project> project)
{
    m_project = project.release();
    if (qobject_cast<CreateModeProject*>(m_project)) {
        m_actionManager->setCreateMode();
    } else {
        m_actionManager->setEditMode();
    }
}

void MainWindow::createProject(Kind kind)
{
    installProject(makeProject(kind));
}

void MainWindow::connectProjectSignals()
{
    connect(m_project->projectFile(), &ProjectFile::offsetUpdated, m_mousePositionWidget,
            &guimisc::widget::MousePositionWidget::setOffset);
    connect(this, &MainWindow::preferenceChanged, this, &MainWindow::setMousePositionPrecision,
            Qt::UniqueConnection);
}

void MainWindow::showProjectWindow(QMdiSubWindow* subWindow)
{
    subWindow->show();
    m_windowConfigurationManager.init(subWindow);
    activeSubwindowChanged(subWindow);
    m_actionManager->handleCreateProjectOpen();
    updateWindowTitle();
}

void MainWindow::abandonProject(const QString& message)
{
    guimisc::UserDialogs::warning(this, tr("Error"), message, QMessageBox::Ok);
    // Nothing of a project that did not open is worth saving.
    if (m_project) {
        m_project->projectFile()->setModified(false);
    }
    closeProject();
    showNoProject();
}

void MainWindow::showNoProject()
{
    if (!m_project) {
        m_actionManager->setNoProjectMode();
        m_actionManager->handleProjectClose();
    }
}

bool MainWindow::isProjectArchive(const QString& filename)
{
    try {
        return guimisc::ZipDirectory::memberNames(filename).contains(
            QLatin1String(mvc::proj::ProjectFile::FILENAME));
    } catch (const std::exception&) {
        return false;
    }
}

bool MainWindow::startNewProject(Kind kind)
{
    if (!closeProject()) {
        return false;
    }
    try {
        createProject(kind);
        connectProjectSignals();
        const QString prefix = QString::fromStdString(m_project->windowIdPrefix());
        QMdiSubWindow* subWindow =
            createProjectWindow(prefix, m_mdiArea, m_project->projectFile());
        if (!subWindow) {
            abandonProject(tr("The project window could not be created."));
            return false;
        }
        showProjectWindow(subWindow);
        return true;
    } catch (const std::exception& e) {
        abandonProject(messageOf(e));
        return false;
    }
}

void MainWindow::newCreateProject()
{
    startNewProject(Kind::Create);
}

void MainWindow::newEditProject()
{
    startNewProject(Kind::Edit);
}

void MainWindow::openProject()
{
    const QString filename = guimisc::UserDialogs::getOpenFileName(
        this, tr("Open project file"), guimisc::LastIODirectory::get(),
        tr("Project file (*.%1 *.%2 *.%3)")
            .arg(QLatin1String(CreateModeProject::FILE_EXTENSION),
                 QLatin1String(EditModeProject::FILE_EXTENSION), QStringLiteral("stl")));
    if (!filename.isEmpty()) {
        openProject(filename);
    }
}

void MainWindow::openProject(const QString& filename)
{
    if (!QFileInfo::exists(filename)) {
        guimisc::UserDialogs::warning(this, tr("Warning"),
                                      tr("Project file %1 does not exists.").arg(filename),
                                      QMessageBox::Ok);
        removeRecentProject(filename);
        return;
    }
    // Absolute, so that one file is one entry of the recent projects and opens from anywhere.
    const QString path = QDir::cleanPath(QFileInfo(filename).absoluteFilePath());
    const QString suffix = QFileInfo(path).suffix();
    const bool isStl = suffix == QLatin1String("stl");
    // A file that cannot be a project archive is refused before the open project goes.
    if (!isStl && !isProjectArchive(path)) {
        guimisc::UserDialogs::warning(this, tr("Error"),
                                      tr("Could not read project file %1.").arg(path),
                                      QMessageBox::Ok);
        return;
    }
    if (!closeProject()) {
        return;
    }
    BusyScope busy(m_isOpening);
    if (isStl) {
        openStlSurface(path);
        return;
    }

    try {
        createProject(suffix == QLatin1String(CreateModeProject::FILE_EXTENSION) ? Kind::Create
                                                                                : Kind::Edit);
        connectProjectSignals();
        QCoreApplication::processEvents();

        m_waitCanceled = false;
        if (!m_project->unzipFrom(path)) {
            if (m_waitCanceled) {
                closeProject();
                showNoProject();
            } else {
                abandonProject(tr("Could not read project file %1.").arg(path));
            }
            return;
        }
        m_project->load();
        mvc::window::ProjectWindow* window = m_project->projectWindow();
        auto subWindow = window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
        if (!subWindow) {
            abandonProject(tr("The project file does not contain a window of this project type."));
            return;
        }
        showProjectWindow(subWindow);
        // The window is laid out and drawn before the cursor goes: at survey scale the first
        // paint is as long as a part of the reading. The updates that showing the widgets
        // left queued are taken in first, so that this paint is the only one: otherwise
        // they draw the whole view a second time once the loop runs.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
        subWindow->repaint();
    } catch (const guimisc::ErrorMessage& e) {
        abandonProject(e.message());
        return;
    } catch (const std::exception& e) {
        abandonProject(messageOf(e));
        return;
    }

    m_undoStack.clear();
    guimisc::LastIODirectory::setFromAbsoluteFileName(path);
    addRecentProject(path);
}

void MainWindow::openStlSurface(const QString& filename)
{
    // The surface is read and checked before a project is made for it: a file that is no
    // TIN leaves nothing behind. It becomes the base and the edited TIN of a new edit-mode
    // project without file name; the recent projects and the folder of the file dialogs stay
    // as they are.
    tin::core::Tin tin;
    try {
        tin = tin::io::StlTinImporter().importTin(filename.toStdString().c_str());
        // Every other part of the program takes a TIN for one elevation over each point: a
        // closed solid's base under its top would give sections and molds spikes to it.
        if (!tin::util::PlanOverlapCheck::isSingleValued(tin)) {
            refuseStlSurface(
                tr("%1 is no single-valued surface: its triangles overlap in plan.").arg(filename));
            return;
        }
    } catch (const std::exception& e) {
        refuseStlSurface(messageOf(e));
        return;
    }
    if (!startNewProject(Kind::Edit)) {
        return;
    }
    auto window = qobject_cast<EditModeMainWindow*>(m_project->projectWindow());
    if (!window) {
        return;
    }
    try {
        window->setTin(tin);
        window->view()->fit();
        // The surface is in no project file yet: New, Open and Exit ask before it goes.
        m_project->projectFile()->setModified(true);
    } catch (const std::exception& e) {
        abandonProject(messageOf(e));
    }
}

void MainWindow::refuseStlSurface(const QString& message)
{
    guimisc::UserDialogs::warning(this, tr("Error"), message, QMessageBox::Ok);
    showNoProject();
}

void MainWindow::openRecentProject()
{
    auto action = qobject_cast<QAction*>(sender());
    if (!action) {
        return;
    }
    openProject(action->data().toString());
}

void MainWindow::openStartDialog()
{
    StartPageDialog dialog(this);
    dialog.loadLinks(m_locale.name());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    switch (dialog.choice()) {
    case StartPageDialog::NewCreateProject:
        newCreateProject();
        break;
    case StartPageDialog::NewEditProject:
        newEditProject();
        break;
    case StartPageDialog::OpenRecentProject:
        openProject(dialog.filename());
        break;
    case StartPageDialog::OpenOtherProject:
        openProject();
        break;
    default:
        break;
    }
}

// --- saving ----------------------------------------------------------------------------

bool MainWindow::saveProjectTo(Project* project, const QString& filename)
{
    BusyScope busy(m_isSaving);
    bool saved = false;
    bool reported = false;
    QString failure = tr("Saving project failed.");
    try {
        // The packing's report counts only when this save got as far as packing.
        const bool written = project->save();
        saved = written && project->zipTo(filename);
        reported = written && !saved && project->zipFailureReported();
    } catch (const guimisc::ErrorMessage& e) {
        // An item that cannot be saved soundly says which and why.
        failure = e.message();
        saved = false;
    } catch (const std::exception&) {
        saved = false;
    }
    if (!saved) {
        // Writing "project.xml" cleared the flag, but the archive does not hold the work.
        project->projectFile()->setModified(true);
        // One box: the packing may have said already why ("Could not overwrite ...").
        if (!reported) {
            guimisc::UserDialogs::critical(this, tr("Error"), failure, QMessageBox::Ok);
        }
        return false;
    }
    project->setFilename(filename);
    guimisc::LastIODirectory::set(QFileInfo(filename).absolutePath());
    statusBar()->showMessage(
        tr("Project successfully saved to %1.").arg(QDir::toNativeSeparators(filename)), 300);
    return true;
}

bool MainWindow::isRefusedAsWorkFolderTarget(const QString& filename)
{
    // The work folder goes when the project closes, and an archive saved in it with it.
    if (!m_project || !m_project->isInsideWorkFolder(filename)) {
        return false;
    }
    guimisc::UserDialogs::warning(
        this, tr("Warning"),
        tr("%1 lies in the work folder of the open project, which is deleted when the project "
           "closes. Choose a folder outside the workspace.")
            .arg(QDir::toNativeSeparators(filename)),
        QMessageBox::Ok);
    return true;
}

bool MainWindow::saveProjectAndRecord(const QString& filename)
{
    if (isRefusedAsWorkFolderTarget(filename)) {
        return false;
    }
    const bool saved = saveProjectTo(m_project, filename);
    updateWindowTitle();
    // The path joins the recent projects even when the save failed.
    addRecentProject(filename);
    return saved;
}

QString MainWindow::askSaveFileName(const QString& code)
{
    // The dialog gives a name without suffix the filter's suffix, the code.
    return guimisc::UserDialogs::getSaveFileName(this, tr("Save project file"),
                                                 guimisc::LastIODirectory::get(),
                                                 tr("project file (*.%1)").arg(code));
}

bool MainWindow::saveProject()
{
    if (!m_project) {
        return false;
    }
    const QString filename = m_project->filename();
    if (filename.isEmpty()) {
        return saveProjectAs();
    }
    return saveProjectAndRecord(filename);
}

bool MainWindow::saveProjectAs()
{
    if (!m_project) {
        return false;
    }
    const QString filename =
        askSaveFileName(QString::fromStdString(m_project->fileExtension()));
    if (filename.isEmpty()) {
        return false;
    }
    return saveProjectAndRecord(filename);
}

bool MainWindow::saveProjectAsEdit()
{
    if (!m_project) {
        return false;
    }
    if (!askSaveIfModified(
            tr("This Project is modified. Do you want to save it before migrating to Edit mode?"))) {
        return false;
    }
    const QString filename = askSaveFileName(QLatin1String(EditModeProject::FILE_EXTENSION));
    if (filename.isEmpty()) {
        return false;
    }
    return convertToEditModeAndSave(filename);
}

bool MainWindow::convertToEditModeAndSave(const QString& filename)
{
    if (m_actionManager->mode() != MainWindowActionManager::CreateMode) {
        guimisc::UserDialogs::warning(this, tr("Warning"), tr("Current mode is not Create mode."),
                                      QMessageBox::Ok);
        return false;
    }
    auto window = m_project ? qobject_cast<CreateModeMainWindow*>(m_project->projectWindow())
                            : nullptr;
    if (!window || window->isTinEmpty()) {
        guimisc::UserDialogs::warning(this, tr("Warning"),
                                      tr("No relevant data is found for Edit mode."),
                                      QMessageBox::Ok);
        return false;
    }
    if (isRefusedAsWorkFolderTarget(filename)) {
        return false;
    }
    // The create-mode project stays until the edit-mode window holds its copies, so its TIN
    // is handed over as it is; what is gathered here may run out of memory like the copies.
    std::vector<QString> filenames;
    std::vector<QImage> images;
    std::vector<gdalimg::GdalImageSetting> settings;
    try {
        for (const mvc::core::ModelItem* child : window->backgroundImageGroupItem()->childItems()) {
            auto image = qobject_cast<const BackgroundImageItem*>(child);
            if (image && image->image()) {
                filenames.push_back(image->filename());
                images.push_back(image->image()->image());
                settings.push_back(image->image()->setting());
            }
        }
    } catch (const std::exception& e) {
        guimisc::UserDialogs::warning(this, tr("Error"), messageOf(e), QMessageBox::Ok);
        return false;
    }
    if (!replaceByEditModeProject(*window->tinItem()->tin(), filenames, images, settings)) {
        return false;
    }
    return saveProjectAndRecord(filename);
}

bool MainWindow::replaceByEditModeProject(const tin::core::Tin& tin,
                                          const std::vector<QString>& filenames,
                                          const std::vector<QImage>& images,
                                          const std::vector<gdalimg::GdalImageSetting>& settings)
{
    std::unique_ptr<Project> project;
    QPointer<QMdiSubWindow> subWindow;
    try {
        project = makeProject(Kind::Edit);
        subWindow = createProjectWindow(QString::fromStdString(project->windowIdPrefix()),
                                        m_mdiArea, project->projectFile());
        auto window = subWindow ? qobject_cast<EditModeMainWindow*>(subWindow->widget()) : nullptr;
        if (!window) {
            throw std::runtime_error(tr("The project window could not be created.").toStdString());
        }
        window->setTin(tin);
        window->setBackgroundImages(filenames, images, settings);
    } catch (const std::exception& e) {
        // The window and its items go before their project; the create-mode project stays.
        if (subWindow) {
            m_mdiArea->removeSubWindow(subWindow);
            delete subWindow.data();
        }
        project.reset();
        guimisc::UserDialogs::warning(this, tr("Error"), messageOf(e),
                                      QMessageBox::Ok);
        return false;
    }
    // The new window was placed while the old one still stood, so clear of it; it takes the
    // old one's place instead, as a window opened after the old one closed would.
    QWidget* oldWindow = m_project ? m_project->projectWindow() : nullptr;
    auto oldSubWindow = oldWindow ? qobject_cast<QMdiSubWindow*>(oldWindow->parentWidget()) : nullptr;
    const bool wasMaximized = oldSubWindow && oldSubWindow->isMaximized();
    const QRect oldGeometry = oldSubWindow ? oldSubWindow->geometry() : QRect();
    discardProject(subWindow);
    installProject(std::move(project));
    connectProjectSignals();
    if (wasMaximized) {
        subWindow->showMaximized();
    } else if (oldGeometry.isValid()) {
        subWindow->setGeometry(oldGeometry);
    }
    showProjectWindow(subWindow);
    static_cast<EditModeMainWindow*>(subWindow->widget())->view()->fit();
    return true;
}

// --- recent projects and title ---------------------------------------------------------

void MainWindow::addRecentProject(const QString& path)
{
    const QStringList stored = readRecentProjects();
    QStringList list = stored;
    list.removeAll(path);
    list.prepend(path);
    // A project saved again where it was leaves the list as it is: nothing to write.
    if (list.mid(0, maxRecentProjects) != stored) {
        writeRecentProjects(list);
    }
}

void MainWindow::removeRecentProject(const QString& path)
{
    QStringList list = readRecentProjects();
    list.removeAll(path);
    writeRecentProjects(list);
}

void MainWindow::setupRecentProjectsMenu()
{
    QMenu* menu = m_actionManager->recentProjectsMenu();
    const QList<QAction*> old = menu->actions();
    menu->clear();
    qDeleteAll(old);
    const QStringList list = readRecentProjects();
    for (int i = 0; i < list.size() && i < maxRecentProjects; ++i) {
        auto action = new QAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(list[i])), this);
        action->setData(list[i]);
        connect(action, &QAction::triggered, this, &MainWindow::openRecentProject);
        menu->addAction(action);
    }
}

void MainWindow::updateWindowTitle()
{
    if (!m_project) {
        setWindowTitle(tr("Movarin"));
        return;
    }
    const QString filename = m_project->filename();
    const QString name = filename.isEmpty() ? tr("Untitled") : QFileInfo(filename).fileName();
    setWindowTitle(tr("%1 - Movarin").arg(name));
}

// --- windows ---------------------------------------------------------------------------

void MainWindow::activeSubwindowChanged(QMdiSubWindow* newActiveWindow)
{
    if (newActiveWindow == m_activeSubWindow || !m_project) {
        return;
    }
    if (!newActiveWindow) {
        m_actionManager->handleWindowActivated(nullptr);
        return;
    }
    m_mousePositionWidget->clear();
    if (m_positionView) {
        disconnect(m_positionView, nullptr, m_mousePositionWidget, nullptr);
    }
    m_positionView = nullptr;
    if (auto withView = qobject_cast<mvc::window::WindowWithViewI*>(newActiveWindow->widget())) {
        if (mvc::core::View* view = withView->view()) {
            connect(view, &mvc::core::View::positionChanged, m_mousePositionWidget,
                    &guimisc::widget::MousePositionWidget::updatePosition, Qt::UniqueConnection);
            m_positionView = view;
        }
    }
    m_actionManager->handleWindowActivated(newActiveWindow->widget());
    m_windowConfigurationManager.restoreConfiguration(newActiveWindow);
    m_activeSubWindow = newActiveWindow;
#ifdef MOVARIN_WITH_BIRDEYE
    if (m_birdEyeView && newActiveWindow->widget() == m_birdEyeView) {
        focusBirdEyeWindow();
    }
#endif
}

void MainWindow::focusProjectMainWindow()
{
    mvc::window::ProjectWindow* window = m_project ? m_project->projectWindow() : nullptr;
    auto subWindow = window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
    if (!subWindow) {
        return;
    }
    subWindow->show();
    m_mdiArea->setActiveSubWindow(subWindow);
    subWindow->setFocus();
}

void MainWindow::focusBirdEyeWindow()
{
    if (!m_project) {
        return;
    }
    // The created TIN in create mode, the edited TIN in edit mode.
    auto window = qobject_cast<ProjectModelWindow*>(m_project->projectWindow());
    if (!window || window->isTinEmpty()) {
        guimisc::UserDialogs::warning(this, tr("Warning"), tr("No TIN data."), QMessageBox::Ok);
        return;
    }
#ifdef MOVARIN_WITH_BIRDEYE
    try {
        if (!m_birdEyeView) {
            QMdiSubWindow* subWindow = createBirdEyeWindow(m_mdiArea);
            m_birdEyeView = qobject_cast<BirdEyeView*>(subWindow->widget());
        }
        m_birdEyeView->setTin(*window->tinItem()->tin());
        auto subWindow = qobject_cast<QMdiSubWindow*>(m_birdEyeView->parentWidget());
        subWindow->show();
        m_mdiArea->setActiveSubWindow(subWindow);
        subWindow->setFocus();
    } catch (const std::exception& e) {
        guimisc::UserDialogs::warning(this, tr("Error"), messageOf(e),
                                      QMessageBox::Ok);
    }
#endif
}

void MainWindow::importBackgroundImage()
{
    auto window = m_project ? qobject_cast<ProjectModelWindow*>(m_project->projectWindow())
                            : nullptr;
    BackgroundImageGroupItem* group = window ? window->backgroundImageGroupItem() : nullptr;
    if (auto controller =
            group ? qobject_cast<BackgroundImageGroupItemController*>(group->controller())
                  : nullptr) {
        controller->importImage();
    }
}

void MainWindow::exportZindralGrid()
{
    // The exports belong to the edit-mode window; a create-mode project has none.
    if (auto window = m_project ? qobject_cast<EditModeMainWindow*>(m_project->projectWindow())
                                : nullptr) {
        window->exportZindralGrid();
    }
}

void MainWindow::exportLandXml()
{
    if (auto window = m_project ? qobject_cast<EditModeMainWindow*>(m_project->projectWindow())
                                : nullptr) {
        window->exportLandXml();
    }
}

void MainWindow::fillAddMenu(QMenu* menu)
{
    if (auto window = m_project ? qobject_cast<ProjectModelWindow*>(m_project->projectWindow())
                                : nullptr) {
        window->appendAddActionToMenu(menu);
    }
}

void MainWindow::enterModelessDialogMode()
{
    setCommandsEnabled(false);
}

void MainWindow::exitModelessDialogMode()
{
    setCommandsEnabled(true);
}

void MainWindow::setCommandsEnabled(bool enabled)
{
    if (QWidget* menu = menuWidget()) {
        menu->setEnabled(enabled);
    }
    if (m_actionManager) {
        m_actionManager->mainToolBar()->setEnabled(enabled);
    }
}

// --- dialogs ---------------------------------------------------------------------------

void MainWindow::openWorkFolder()
{
    if (m_project) {
        m_project->openWorkFolder();
    }
}

void MainWindow::showProjectPropertyDialog()
{
    if (!m_project) {
        return;
    }
    try {
        ProjectPropertyEditDialog dialog(this);
        dialog.setWidget(m_project->projectFile()->property()->buildEditWidget());
        dialog.exec();
    } catch (const std::exception& e) {
        guimisc::UserDialogs::warning(this, tr("Error"), messageOf(e),
                                      QMessageBox::Ok);
    }
}

void MainWindow::showPreferenceDialog()
{
    PreferenceDialog dialog;
    if (dialog.exec() == QDialog::Accepted) {
        emit preferenceChanged();
    }
}

void MainWindow::calculateSoilVolumeDialog()
{
    mvc::window::ProjectWindow* window = m_project ? m_project->projectWindow() : nullptr;
    if (!window) {
        return;
    }
    auto dialog = new CalculateSoilVolumeDialog(window);
    dialog->setModal(true);
    connect(dialog, &QDialog::finished, dialog, &CalculateSoilVolumeDialog::deleteMe);
    dialog->show();
}

void MainWindow::setMousePositionPrecision()
{
    if (QSettings().value(QLatin1String(settings::developersMode), false).toBool()) {
        m_mousePositionWidget->setPrecision('g', 20);
    } else {
        m_mousePositionWidget->setPrecision('f', 2);
    }
}

// --- events ----------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_isOpening || m_isSaving) {
        event->ignore();
        return;
    }
    if (closeProject()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::childEvent(QChildEvent* event)
{
    // The project shows a wait dialog as a child of this window while the zip tool runs; a
    // cancel there ends an opening silently.
    if (event->type() == QEvent::ChildPolished) {
        if (auto dialog = qobject_cast<guimisc::dialog::WaitDialog*>(event->child())) {
            connect(dialog, &guimisc::dialog::WaitDialog::canceled, this,
                    &MainWindow::noteWaitCanceled, Qt::UniqueConnection);
        }
    }
    mvc::proj::ProjectMainWindowI::childEvent(event);
}

void MainWindow::noteWaitCanceled()
{
    m_waitCanceled = true;
}

} // namespace varnel
