#pragma once

#include <QMdiArea>

#include <string>
#include <vector>

namespace mvc::window {

class ProjectWindow;

/// The main window's MDI area, which finds its project windows by their window id.
/// Sub windows whose content is not a `ProjectWindow` (a cross-section window, say) are
/// skipped by the look-ups but closed with the rest. Everything is in the area's creation
/// order.
class ProjectMdiArea : public QMdiArea {
    Q_OBJECT
public:
    explicit ProjectMdiArea(QWidget* parent);
    ~ProjectMdiArea() override;

    /// The content of every sub window that is a `ProjectWindow`.
    std::vector<ProjectWindow*> allSubWindows() const;
    /// The first project window whose id equals `id` byte for byte, or null.
    ProjectWindow* findByWindowId(const std::string& id) const;
    /// Removes every sub window from the area and deletes it with its content window.
    void closeAllSubWindows();
};

} // namespace mvc::window
