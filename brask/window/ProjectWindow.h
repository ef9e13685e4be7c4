#pragma once

#include <QMainWindow>

#include <memory>
#include <string>

namespace mvc::window {

class ProjectWindowItem;

/// A project window: a sub window of the main window's MDI area with a persistent
/// identity, the window id (an 8-bit string, empty until set), made of the window type's
/// prefix and a number (`generateWindowId`), or taken from the saved "Window" element.
///
/// The window owns its window item (its node in the persisted tree, whose Qt parent is a
/// node of the project) and deletes it when it goes. Each points at the other through a
/// guarded pointer, so whichever of the window and the project's tree goes first, the item
/// is deleted once.
class ProjectWindow : public QMainWindow {
    Q_OBJECT
public:
    /// Takes `item`, which may have been made for this window before the window existed:
    /// the item is bound to the window here.
    ProjectWindow(ProjectWindowItem* item, QWidget* parent);
    ~ProjectWindow() override;

    /// The window item; null once the project's tree deleted it.
    ProjectWindowItem* windowItem() const;
    const std::string& windowId() const;
    void setWindowId(const std::string& id);
    /// `windowIdPrefix()` immediately followed by `n` in decimal.
    std::string generateWindowId(int n) const;

    /// The window type's prefix ("createMainWindow", "editMainWindow").
    virtual std::string windowIdPrefix() const = 0;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace mvc::window
