#pragma once

#include <QObject>

class QToolBar;

namespace mvc::window {

/// A window whose model has an operation tool bar (the selected item's buttons), which
/// the main window shows for the active window.
class WindowProvidingOperationToolBarI {
public:
    virtual ~WindowProvidingOperationToolBarI() = default;

    virtual QToolBar* operationToolBar() const = 0;
};

} // namespace mvc::window

Q_DECLARE_INTERFACE(mvc::window::WindowProvidingOperationToolBarI,
                    "mvc::window::WindowProvidingOperationToolBarI")
