#pragma once

#include "brask/core/ObjectBrowser.h"
#include "brask/window/ProjectWindow.h"
#include "brask/window/WindowProvidingOperationToolBarI.h"
#include "brask/window/WindowWithQDockWidgetI.h"
#include "brask/window/WindowWithViewI.h"

#include <QPointer>

class QMenu;

namespace mvc::core {
class Model;
}

namespace mvc::window {
class ProjectWindowItem;
}

namespace varnel {

class BackgroundImageGroupItem;
class ReadOnlyTinItem;

/// A project window, "Main Window", that shows one item tree (its model) twice: as rows of
/// the object browser, docked on the left, and painted on the main view in the centre. The
/// create-mode and edit-mode windows are this with their own model, items and docks.
///
/// The deriving window makes its main view and object browser with this window as Qt
/// parent, then its model on the browser's tree view, the view, this window and the window
/// item, and hands the three to `setParts` in its constructor.
///
/// Closing the window only hides the MDI sub-window that holds it; the window lives as
/// long as its project. Loading fits the view before the window has its size, so the
/// window widens the browser so that no caption is cut short when it is first shown, then
/// fits its view once more at the size the docks leave it. When the user maximises the
/// window or brings it back, a view still showing its fit (`View::isFitted`) is fitted again,
/// and at every resize after that until the user moves it.
///
/// Owns its window item (whose Qt parent is the project file), its main view, object
/// browser and model; destruction deletes the item tree first, while view and browser
/// still exist. The model also goes if the project file deletes the window item first.
class ProjectModelWindow : public mvc::window::ProjectWindow,
                           public mvc::window::WindowProvidingOperationToolBarI,
                           public mvc::window::WindowWithViewI,
                           public mvc::window::WindowWithQDockWidgetI<mvc::core::ObjectBrowser> {
    Q_OBJECT
    Q_INTERFACES(mvc::window::WindowProvidingOperationToolBarI mvc::window::WindowWithViewI
                     mvc::window::WindowWithObjectBrowserI)
public:
    ~ProjectModelWindow() override;

    QSize sizeHint() const override;
    QToolBar* operationToolBar() const override;
    mvc::core::View* view() const override;

    /// Null once the project's tree went.
    mvc::core::Model* model() const;
    /// Appends the "Add" entries of every item: the root's, then each child's, depth first
    /// in child order.
    void appendAddActionToMenu(QMenu* menu) const;
    /// The project's TIN: the created TIN in create mode, the edited TIN in edit mode.
    virtual ReadOnlyTinItem* tinItem() const = 0;
    /// True while the TIN item holds no TIN or an empty one.
    bool isTinEmpty() const;
    /// The group of background images; null once the project's tree went.
    virtual BackgroundImageGroupItem* backgroundImageGroupItem() const = 0;

protected:
    /// `parent` is the MDI area; the window is then added to it as a sub-window.
    ProjectModelWindow(mvc::window::ProjectWindowItem* item, QWidget* parent);

    /// Takes the parts over: the view becomes the central widget and shows the model, the
    /// browser is docked on the left.
    void setParts(mvc::core::View* view, mvc::core::ObjectBrowser* objectBrowser,
                  mvc::core::Model* model);

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void fitAgainWhenMaximizedOrRestored(Qt::WindowStates oldState, Qt::WindowStates newState);

private:
    mvc::core::View* m_view = nullptr;
    mvc::core::ObjectBrowser* m_objectBrowser = nullptr;
    QPointer<mvc::core::Model> m_model;
    bool m_fittedOnShow = false;
    /// Set when the window was maximised or restored with the view fitted: the view is fitted
    /// again at each resize until the user moves it.
    bool m_fitFollowsResizes = false;
};

} // namespace varnel
