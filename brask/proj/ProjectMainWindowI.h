#pragma once

#include <QLocale>
#include <QMainWindow>

namespace mvc::proj {

class ProjectWorkspace;
class VersionNumber;

/// The application's main window as the framework sees it: the workspace for temporary
/// names, the program's version and locale, and a mode for the time a project waits on
/// the disk or on the zip tool (the project calls `enterModelessDialogMode` and
/// `exitModelessDialogMode` around saving its main file and around unpacking).
class ProjectMainWindowI : public QMainWindow {
    Q_OBJECT
public:
    using QMainWindow::QMainWindow;
    ~ProjectMainWindowI() override = default;

    virtual ProjectWorkspace* workspace() = 0;
    virtual VersionNumber versionNumber() const = 0;
    virtual QLocale locale() const = 0;
    virtual void enterModelessDialogMode() = 0;
    virtual void exitModelessDialogMode() = 0;
};

} // namespace mvc::proj
