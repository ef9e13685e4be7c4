#pragma once

#include "brask/window/WindowWithQDockWidgetI.h"

#include <QDockWidget>

namespace varnel {

/// The dock that shows an edit-mode project's molds, "Mold Browser": for now an empty dock
/// with its title.
///
/// A project window that has one implements
/// `mvc::window::WindowWithQDockWidgetI<MoldsContainerBrowser>` (listed in its
/// `Q_INTERFACES` as `varnel::WindowWithMoldsContainerBrowserI`); the main window's View menu
/// shows and hides it through that interface.
class MoldsContainerBrowser : public QDockWidget {
    Q_OBJECT
public:
    explicit MoldsContainerBrowser(QWidget* parent = nullptr);
    ~MoldsContainerBrowser() override;
};

/// A window with the molds browser dock.
using WindowWithMoldsContainerBrowserI = mvc::window::WindowWithQDockWidgetI<MoldsContainerBrowser>;

} // namespace varnel

Q_DECLARE_INTERFACE(varnel::WindowWithMoldsContainerBrowserI,
                    "mvc::window::WindowWithQDockWidgetI<MoldsContainerBrowser>")
