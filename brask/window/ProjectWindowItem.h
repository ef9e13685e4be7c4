#pragma once

#include "brask/proj/ProjectItem.h"

#include <QPointer>

namespace mvc::window {

class ProjectWindow;

/// The node of a project window in the persisted tree: what the application's project
/// file writes as one "Window" element. The application derives one item class per window
/// class and writes and reads the window's parts (geometry, view, model) in it.
///
/// Ownership: the window owns and deletes the item; the item's Qt parent is a node of the
/// project (the project file), which deletes it if the tree goes first. The item watches
/// its window: `window()` is null once the window is gone.
class ProjectWindowItem : public proj::ProjectItem {
    Q_OBJECT
public:
    ~ProjectWindowItem() override;

    /// The window; null before the window's constructor ran and after the window went.
    ProjectWindow* window() const;

protected:
    /// `window` may still be under construction (the application makes the item first
    /// and hands it to the window's constructor), so it is not used here: the window's
    /// constructor binds the item to itself.
    ProjectWindowItem(ProjectWindow* window, proj::ProjectItem* parent);

private:
    friend class ProjectWindow;

    QPointer<ProjectWindow> m_window;
};

} // namespace mvc::window
