#pragma once

#include <QPointer>
#include <QRect>

#include <map>

class QMainWindow;
class QMdiSubWindow;

namespace guimisc {

/// Remembers the geometry of the sub-windows of a main window's MDI area and gives it back
/// to a sub-window that has lost it.
///
/// `init(sub)` remembers the sub-window's current geometry (call it once the window has its
/// place). `restoreConfiguration(sub)` sets the remembered geometry again only when the
/// sub-window has lost its own (zero width or height) and does nothing for a sub-window it
/// does not know, so it never overrides what the user or a project file set. Sub-windows
/// that are destroyed are forgotten. GUI thread only.
class WindowConfigurationManager {
public:
    explicit WindowConfigurationManager(QMainWindow* mainWindow);
    ~WindowConfigurationManager();

    WindowConfigurationManager(const WindowConfigurationManager&) = delete;
    WindowConfigurationManager& operator=(const WindowConfigurationManager&) = delete;

    void init(QMdiSubWindow* subWindow);
    void restoreConfiguration(QMdiSubWindow* subWindow);

private:
    struct Entry {
        QPointer<QMdiSubWindow> window;
        QRect geometry;
    };

    QPointer<QMainWindow> m_mainWindow;
    std::map<QMdiSubWindow*, Entry> m_entries;
};

} // namespace guimisc
