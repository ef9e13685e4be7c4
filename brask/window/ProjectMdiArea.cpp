#include "brask/window/ProjectMdiArea.h"

#include "brask/window/ProjectWindow.h"

#include <QMdiSubWindow>
#include <QPointer>

namespace mvc::window {

ProjectMdiArea::ProjectMdiArea(QWidget* parent) : QMdiArea(parent) {}

ProjectMdiArea::~ProjectMdiArea() = default;

std::vector<ProjectWindow*> ProjectMdiArea::allSubWindows() const
{
    std::vector<ProjectWindow*> windows;
    for (QMdiSubWindow* sub : subWindowList(QMdiArea::CreationOrder)) {
        if (auto window = qobject_cast<ProjectWindow*>(sub->widget())) {
            windows.push_back(window);
        }
    }
    return windows;
}

ProjectWindow* ProjectMdiArea::findByWindowId(const std::string& id) const
{
    for (ProjectWindow* window : allSubWindows()) {
        if (window->windowId() == id) {
            return window;
        }
    }
    return nullptr;
}

void ProjectMdiArea::closeAllSubWindows()
{
    std::vector<QPointer<QMdiSubWindow>> subs;
    for (QMdiSubWindow* sub : subWindowList(QMdiArea::CreationOrder)) {
        subs.emplace_back(sub);
    }
    for (const QPointer<QMdiSubWindow>& sub : subs) {
        if (!sub) {
            continue; // went with an earlier window
        }
        removeSubWindow(sub);
        // A removed sub window has no parent any more: it goes with its content, or it
        // would be left behind.
        delete sub->widget();
        delete sub.data();
    }
}

} // namespace mvc::window
