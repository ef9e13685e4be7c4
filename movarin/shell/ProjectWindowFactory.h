#pragma once

#include <QString>

class QDomElement;
class QMdiSubWindow;

namespace mvc::window {
class ProjectMdiArea;
}

namespace varnel {

class ProjectFile;

// The window factory: project windows made and restored by their window id prefix.

/// Makes the project window of the kind `windowIdPrefix` names ("createMainWindow" or
/// "editMainWindow") over `projectFile`, adds it to `mdiArea` as a new sub-window with the
/// window's icon and returns that sub-window, not yet shown; the area owns it. Null, and
/// nothing made, for any other prefix or a null area or file.
QMdiSubWindow* createProjectWindow(const QString& windowIdPrefix,
                                   mvc::window::ProjectMdiArea* mdiArea,
                                   ProjectFile* projectFile);

/// Makes the window that the "Window" element's attribute "name" names (as
/// `createProjectWindow`) and loads its window item from the element. Null when the name is
/// missing or no window kind.
QMdiSubWindow* restoreProjectWindow(const QDomElement& windowElement,
                                    mvc::window::ProjectMdiArea* mdiArea,
                                    ProjectFile* projectFile);

} // namespace varnel
