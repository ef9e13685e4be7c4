#pragma once

// Test support for the application project: a main window with one project, torn down in
// the application's order, and a second reader of "project.xml".

#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"

#include "orlin/core/Tin.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QMdiSubWindow;

namespace gdalimg {
class GdalImageSetting;
}

namespace varnel {
class EditModeMainWindow;
}

namespace varnel::test {

/// A main window, shown, and the project it works on (at most one at a time). The destructor
/// does what closing a project does: clears the undo stack, closes the windows, then
/// deletes the project; the main window goes last.
class ProjectSession {
public:
    ProjectSession();
    ~ProjectSession();
    ProjectSession(const ProjectSession&) = delete;
    ProjectSession& operator=(const ProjectSession&) = delete;

    MainWindow& mainWindow() { return *m_mainWindow; }
    Project* project() const { return m_project.get(); }

    /// A new project of that kind over a fresh work folder of the workspace.
    Project& newCreateProject();
    Project& newEditProject();
    /// `createProjectWindow` with "createMainWindow" for the project; the sub-window is
    /// not shown.
    CreateModeMainWindow* createWindow();
    /// `createProjectWindow` with "editMainWindow" for the project; the sub-window is not
    /// shown.
    EditModeMainWindow* createEditWindow();
    /// Writes `body` inside "Project" (version 1.0) as the project's "project.xml".
    void writeProjectXml(const QString& body) const;
    QString projectXmlPath() const;
    /// The project windows of the MDI area, as `CreateModeMainWindow` (null for another kind).
    std::vector<CreateModeMainWindow*> createModeWindows() const;

    /// The MDI sub-window that holds `window`.
    static QMdiSubWindow* subWindowOf(const QWidget* window);

private:
    void closeProject();
    template <class Kind>
    Project& newProject();
    template <class Window>
    Window* makeWindow(const char* prefix);

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Project> m_project;
};

/// An element as a second reader (a stream reader, not the DOM the program loads with)
/// sees it: its name, its attributes and its child elements in order. Text is ignored.
struct XmlElement {
    QString name;
    QMap<QString, QString> attributes;
    std::vector<XmlElement> children;

    QStringList childNames() const;
    /// The first child of that name; throws std::out_of_range when there is none.
    const XmlElement& child(const QString& childName) const;
};

/// A background image's placement: top-left corner, scale and angle in degrees.
gdalimg::GdalImageSetting imagePlacement(double x, double y, double scale, double angle);

/// The files of the ten default molds of a new edit-mode project in the order the project
/// lists them: the Sub group's five, then the Add group's.
QStringList defaultMoldFiles();

/// n by n cells of 10 m from (x0, 0), "/" diagonals, vertices interned at elevation x + y; the
/// vertex at cell corner (1, 1) takes `z11` instead when `spoilt` is set.
tin::core::Tin squareGridTin(int n, double x0 = 0.0, double z11 = 0.0, bool spoilt = false);

/// The member names of a zip archive, as `unzip -Z1` lists them.
QStringList archiveMembers(const QString& archive);

/// The bytes of a file; empty when it cannot be read.
QByteArray fileBytes(const QString& path);
/// Writes `bytes` as the whole file; false when it cannot be written.
bool writeFileBytes(const QString& path, const QByteArray& bytes);

/// Reads a whole XML file; throws std::runtime_error naming the file and the position when
/// it is not well-formed.
XmlElement readXmlFile(const QString& path);

/// Where `a` and `b` first differ (element names and order, attribute names and values),
/// as a path from the root; empty when they agree.
std::string firstDifference(const XmlElement& a, const XmlElement& b);

} // namespace varnel::test
