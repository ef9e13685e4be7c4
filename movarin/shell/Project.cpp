#include "movarin/shell/Project.h"

#include "brask/core/View.h"
#include "brask/window/ProjectMdiArea.h"
#include "brask/window/ProjectWindow.h"
#include "brask/window/WindowWithViewI.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"
#include "movarin/survey/TinReadAhead.h"

#include <QSettings>

#include <memory>

namespace varnel {

Project::Project(const std::string& windowIdPrefix, ProjectFile* projectFile,
                 const QString& workFolder, mvc::proj::ProjectMainWindowI* mainWindow)
    : mvc::proj::Project(projectFile, workFolder, mainWindow), m_windowIdPrefix(windowIdPrefix)
{
    setStoredSuffixes(storedSuffixes());
    // The TINs are the longest reads of a load: they are read while the rest unpacks.
    setMemberReadAhead(std::make_unique<TinReadAhead>(
        QStringList{QLatin1String(ReadOnlyTinItem::FILENAME), QLatin1String(TinItem::FILENAME)}));
    updateElevationColorMapper();
    if (MainWindow* window = this->mainWindow()) {
        connect(window, &MainWindow::preferenceChanged, this, &Project::applyPreferences);
    }
}

Project::~Project() = default;

QStringList Project::storedSuffixes()
{
    // Point files, TIN and surface archives hold coordinates that deflate to little more
    // than half, slowly; pictures are compressed already.
    return {QStringLiteral(".tpobin"), QStringLiteral(".tin"), QStringLiteral(".ges"),
            QStringLiteral(".geb"), QStringLiteral(".png")};
}

QUndoStack* Project::undoStack() const
{
    MainWindow* window = mainWindow();
    return window ? window->undoStack() : nullptr;
}

MainWindow* Project::mainWindow() const
{
    return qobject_cast<MainWindow*>(projectMainWindow());
}

ProjectFile* Project::projectFile() const
{
    return static_cast<ProjectFile*>(mainfile());
}

mvc::window::ProjectWindow* Project::projectWindow() const
{
    if (m_projectWindow) {
        return m_projectWindow;
    }
    MainWindow* window = mainWindow();
    if (!window) {
        return nullptr;
    }
    for (mvc::window::ProjectWindow* candidate : window->mdiArea()->allSubWindows()) {
        if (candidate->windowIdPrefix() == m_windowIdPrefix) {
            m_projectWindow = candidate;
            return candidate;
        }
    }
    return nullptr;
}

const guimisc::colormapper::ElevationColorMapper* Project::elevationColorMapper() const
{
    return &m_elevationColorMapper;
}

const std::string& Project::windowIdPrefix() const
{
    return m_windowIdPrefix;
}

void Project::applyPreferences()
{
    updateElevationColorMapper();
    // The views' kept pictures were drawn under the old colours and edge setting, and a view
    // that the closing dialog uncovers is shown from the window's backing store without a
    // paint: each view is drawn anew now, not at its next fit.
    MainWindow* window = mainWindow();
    if (!window) {
        return;
    }
    for (mvc::window::ProjectWindow* candidate : window->mdiArea()->allSubWindows()) {
        auto withView = qobject_cast<mvc::window::WindowWithViewI*>(candidate);
        if (mvc::core::View* view = withView ? withView->view() : nullptr) {
            view->updateView();
        }
    }
}

void Project::updateElevationColorMapper()
{
    // No defaults here: a missing or unreadable value is 0 (the start-up writes them all).
    const QSettings store;
    const double min = store.value(QLatin1String(settings::graphicsColormapMin)).toDouble();
    const double max = store.value(QLatin1String(settings::graphicsColormapMax)).toDouble();
    const double water =
        store.value(QLatin1String(settings::graphicsColormapWaterSurface)).toDouble();
    m_elevationColorMapper.setRange(min, max);
    m_elevationColorMapper.setWaterSurfaceValue(water);
}

} // namespace varnel
