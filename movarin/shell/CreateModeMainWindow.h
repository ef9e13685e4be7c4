#pragma once

#include "brask/core/ObjectBrowser.h"
#include "brask/window/ProjectWindow.h"
#include "brask/window/WindowProvidingOperationToolBarI.h"
#include "brask/window/WindowWithQDockWidgetI.h"
#include "brask/window/WindowWithViewI.h"

#include <QPointer>

class QMenu;

namespace varnel {

class BackgroundImageGroupItem;
class CreateModeMainWindowModel;
class CreateModeMainWindowObjectBrowser;
class CreateModeMainWindowView;
class ProjectFile;
class ReadOnlyTinItem;

/// The project window of a create-mode project, "Main Window": the main view in the centre
/// and the object browser docked on the left, both showing the window's item tree (its
/// model). The window kind's id prefix is "createMainWindow".
///
/// Closing the window only hides the MDI sub-window that holds it; the window lives as long
/// as its project. Loading fits the view before the window has its size, so the window
/// fits its view once more when it is first shown.
///
/// Owns its window item (whose Qt parent is the project file), its main view, object
/// browser and model; destruction deletes the item tree first, while view and browser
/// still exist. The model also goes if the project file deletes the window item first.
class CreateModeMainWindow : public mvc::window::ProjectWindow,
                             public mvc::window::WindowProvidingOperationToolBarI,
                             public mvc::window::WindowWithViewI,
                             public mvc::window::WindowWithQDockWidgetI<mvc::core::ObjectBrowser> {
    Q_OBJECT
    Q_INTERFACES(mvc::window::WindowProvidingOperationToolBarI mvc::window::WindowWithViewI
                     mvc::window::WindowWithObjectBrowserI)
public:
    /// `parent` is the MDI area; the window is then added to it as a sub-window.
    CreateModeMainWindow(QWidget* parent, ProjectFile* projectFile);
    ~CreateModeMainWindow() override;

    QSize sizeHint() const override;
    std::string windowIdPrefix() const override;
    QToolBar* operationToolBar() const override;
    mvc::core::View* view() const override;

    /// Null once the project's tree went.
    CreateModeMainWindowModel* model() const;
    /// Appends the "Add" entries of every item: the root's, then each child's, depth first
    /// in child order.
    void appendAddActionToMenu(QMenu* menu) const;
    /// The created TIN's item.
    ReadOnlyTinItem* tinItem() const;
    /// True while the TIN item holds no TIN or an empty one.
    bool isTinEmpty() const;
    BackgroundImageGroupItem* backgroundImageGroupItem() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    CreateModeMainWindowView* m_view;
    CreateModeMainWindowObjectBrowser* m_objectBrowser;
    QPointer<CreateModeMainWindowModel> m_model;
    bool m_fittedOnShow = false;
};

} // namespace varnel
