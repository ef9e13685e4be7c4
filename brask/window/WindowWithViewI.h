#pragma once

#include <QObject>

namespace mvc::core {
class View;
}

namespace mvc::window {

/// A window that has a main 2-D view. Dialogs reach the view (and through it the model)
/// from their parent window with `qobject_cast<mvc::window::WindowWithViewI*>`.
class WindowWithViewI {
public:
    virtual ~WindowWithViewI() = default;

    virtual core::View* view() const = 0;
};

} // namespace mvc::window

Q_DECLARE_INTERFACE(mvc::window::WindowWithViewI, "mvc::window::WindowWithViewI")
