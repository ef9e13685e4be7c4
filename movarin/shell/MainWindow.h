#pragma once

#include "brask/proj/ProjectMainWindowI.h"
#include "brask/proj/VersionNumber.h"
#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"
#include "movarin/shell/ProjectWorkspace.h"

#include <QLocale>
#include <QUndoStack>

namespace mvc::window {
class ProjectMdiArea;
}

namespace varnel {

class Project;

/// The application window and the owner of the one open project.
///
/// Holds what every project reaches through it: the undo stack that all project commands go
/// to, the workspace under which projects have their work folders, the MDI area in which
/// the project windows live (the central widget), the program's locale and version, and
/// the catalogue of EPSG coordinate systems from which projects borrow their system. It
/// emits `preferenceChanged()` after the preferences were changed; projects refresh their
/// colour scale on it.
///
/// Ownership: the undo stack and the catalogue are members; the workspace and the MDI area
/// are Qt children; the open project (null when none) is owned and deleted with the window,
/// after its windows were closed. The catalogue reads its EPSG list once, in the
/// constructor.
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

public slots:
    /// Disables the menu bar while a tool dialog or the disk has the user wait.
    void enterModelessDialogMode() override;
    void exitModelessDialogMode() override;

signals:
    /// The preferences were changed and saved.
    void preferenceChanged();

private:
    QUndoStack m_undoStack;
    ProjectWorkspace* m_workspace;
    Project* m_project = nullptr;
    QLocale m_locale;
    mvc::proj::VersionNumber m_versionNumber;
    mvc::window::ProjectMdiArea* m_mdiArea;
    guiproj::EllipseToPlaneProjectionPairBuilder m_projectionPairBuilder;
};

} // namespace varnel
