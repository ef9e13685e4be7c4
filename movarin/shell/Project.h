#pragma once

#include "brask/proj/Project.h"

#include <guimisc/colormapper/ElevationColorMapper.h>

#include <QPointer>

#include <string>

namespace mvc::window {
class ProjectWindow;
}

namespace varnel {

class MainWindow;
class ProjectFile;

/// The open application project: the framework's project (work folder, archive, main file)
/// of one of the two kinds, with the code that is also its archive's extension ("cmvn" for
/// create mode, "emvn" for edit mode) and the window id prefix of its own window kind.
///
/// It keeps the project-wide elevation colour scale that every TIN and point painter reads:
/// range and water surface from the settings "graphics/colormap_min", "graphics/colormap_max"
/// and "graphics/colormap_water_surface" (a missing or unreadable value counts as 0), read
/// at construction and again at every `preferenceChanged()` of the main window, after which
/// every main view of the main window's MDI area drops its kept pictures and is drawn anew,
/// so that the colours and the "graphics/show_tin_edges" setting show at once.
///
/// Its archive stores the point files, TIN and surface archives and pictures (".tpobin",
/// ".tin", ".ges", ".geb", ".png") without compression, so that saving a survey of millions
/// of points costs about a copy of its files; "project.xml" and the text files are deflated.
///
/// The main window must be a `varnel::MainWindow` (the project hands out its undo stack,
/// MDI area and catalogue); with another one, or none, `mainWindow()` and `undoStack()`
/// are null and the project has no windows. The project owns its main file; the main window
/// owns the project.
class Project : public mvc::proj::Project {
    Q_OBJECT
public:
    /// `projectFile` is owned from here on; `workFolder` is a fresh absolute path in the
    /// workspace (`newWorkfolderName`), created and locked here.
    Project(const std::string& windowIdPrefix, ProjectFile* projectFile,
            const QString& workFolder, mvc::proj::ProjectMainWindowI* mainWindow);
    ~Project() override;

    /// The project kind's code: "cmvn" or "emvn".
    virtual std::string fileExtension() const = 0;
    /// The suffixes of the members its archive stores without compression.
    static QStringList storedSuffixes();

    /// The main window's undo stack.
    QUndoStack* undoStack() const override;
    MainWindow* mainWindow() const;
    ProjectFile* projectFile() const;
    /// The first window of the main window's MDI area whose prefix is the project kind's,
    /// cached once found; null (and searched again next time) while there is none.
    mvc::window::ProjectWindow* projectWindow() const;
    const guimisc::colormapper::ElevationColorMapper* elevationColorMapper() const;
    const std::string& windowIdPrefix() const;

private slots:
    void applyPreferences();

private:
    void updateElevationColorMapper();

    std::string m_windowIdPrefix;
    mutable QPointer<mvc::window::ProjectWindow> m_projectWindow;
    guimisc::colormapper::ElevationColorMapper m_elevationColorMapper;
};

} // namespace varnel
