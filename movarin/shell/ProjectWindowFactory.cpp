#include "movarin/shell/ProjectWindowFactory.h"

#include "brask/window/ProjectMdiArea.h"
#include "brask/window/ProjectWindowItem.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeProject.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeProject.h"

#include <QDomElement>
#include <QMdiSubWindow>

namespace varnel {

QMdiSubWindow* createProjectWindow(const QString& windowIdPrefix,
                                   mvc::window::ProjectMdiArea* mdiArea,
                                   ProjectFile* projectFile)
{
    if (!mdiArea || !projectFile) {
        return nullptr;
    }
    mvc::window::ProjectWindow* window = nullptr;
    if (windowIdPrefix == QLatin1String(CreateModeProject::WINDOW_ID_PREFIX)) {
        window = new CreateModeMainWindow(mdiArea, projectFile);
    } else if (windowIdPrefix == QLatin1String(EditModeProject::WINDOW_ID_PREFIX)) {
        window = new EditModeMainWindow(mdiArea, projectFile);
    }
    if (!window) {
        return nullptr;
    }
    QMdiSubWindow* subWindow = mdiArea->addSubWindow(window, Qt::WindowFlags());
    subWindow->setWindowIcon(window->windowIcon());
    return subWindow;
}

QMdiSubWindow* restoreProjectWindow(const QDomElement& windowElement,
                                    mvc::window::ProjectMdiArea* mdiArea,
                                    ProjectFile* projectFile)
{
    const QString name = windowElement.attribute(QStringLiteral("name"));
    QMdiSubWindow* subWindow = createProjectWindow(name, mdiArea, projectFile);
    if (!subWindow) {
        return nullptr;
    }
    auto window = static_cast<mvc::window::ProjectWindow*>(subWindow->widget());
    if (mvc::window::ProjectWindowItem* item = window->windowItem()) {
        item->loadFromProjectMainFile(windowElement);
    }
    return subWindow;
}

} // namespace varnel
