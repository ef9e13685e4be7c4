#pragma once

#include "brask/window/WindowWithQDockWidgetI.h"

#include <QDockWidget>

namespace varnel {

class MoldItem;
class MoldsContainer;
class MoldsContainerWidget;

/// The dock that shows an edit-mode project's molds, "Mold Browser": its widget (a
/// `MoldsContainerWidget`, owned) shows the molds library in an Add and a Sub tab with a
/// preview of the selected mold, and adds, copies, edits and deletes molds. The dock is
/// made with its parent alone and bound to the project's molds container later
/// (`setMoldsContainer`); until then its tabs are empty.
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

    void setMoldsContainer(MoldsContainer* container);
    MoldsContainerWidget* moldsContainerWidget() const;
    /// The mold selected in the current tab; null when none.
    MoldItem* selectedMoldItem() const;

private:
    MoldsContainerWidget* m_widget;
};

/// A window with the molds browser dock.
using WindowWithMoldsContainerBrowserI = mvc::window::WindowWithQDockWidgetI<MoldsContainerBrowser>;

} // namespace varnel

Q_DECLARE_INTERFACE(varnel::WindowWithMoldsContainerBrowserI,
                    "mvc::window::WindowWithQDockWidgetI<MoldsContainerBrowser>")
