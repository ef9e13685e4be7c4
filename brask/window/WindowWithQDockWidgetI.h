#pragma once

#include <QObject>

#include <functional>
#include <utility>

namespace mvc::core {
class ObjectBrowser;
}

namespace mvc::window {

/// A window that has a dock widget of type `T`, reached through a function that the
/// deriving window's constructor supplies; the main window calls `dockWidget()` to show,
/// hide or dock it. No virtual operation: the window is found with `qobject_cast` on the
/// interface id declared for each `T`.
///
/// Qt's meta-object compiler reads only plain names in `Q_DECLARE_INTERFACE` and
/// `Q_INTERFACES`, so each instance is declared under an alias, with the template's name as
/// its id; a window lists the alias in `Q_INTERFACES`. The object browser's is below:
///
///     Q_INTERFACES(mvc::window::WindowWithObjectBrowserI)
///     qobject_cast<mvc::window::WindowWithQDockWidgetI<mvc::core::ObjectBrowser>*>(window)
template <class T>
class WindowWithQDockWidgetI {
public:
    using DockWidgetFunction = std::function<T*()>;

    /// The window's dock widget; null while no function is set.
    T* dockWidget() const { return m_function ? m_function() : nullptr; }

protected:
    WindowWithQDockWidgetI() = default;
    explicit WindowWithQDockWidgetI(DockWidgetFunction function)
        : m_function(std::move(function))
    {
    }
    WindowWithQDockWidgetI(const WindowWithQDockWidgetI&) = default;
    WindowWithQDockWidgetI& operator=(const WindowWithQDockWidgetI&) = default;
    /// Not virtual: the interface is never deleted through.
    ~WindowWithQDockWidgetI() = default;

    void setDockWidgetFunction(DockWidgetFunction function) { m_function = std::move(function); }

private:
    DockWidgetFunction m_function;
};

/// A window with the object browser dock.
using WindowWithObjectBrowserI = WindowWithQDockWidgetI<core::ObjectBrowser>;

} // namespace mvc::window

Q_DECLARE_INTERFACE(mvc::window::WindowWithObjectBrowserI,
                    "mvc::window::WindowWithQDockWidgetI<mvc::core::ObjectBrowser>")
