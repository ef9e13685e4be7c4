#pragma once

#include "brask/core/AttachChildAtFrontCommand.h"
#include "brask/core/DeleteMeCommand.h"
#include "brask/proj/ProjectItemController.h"
#include "brask/util/WrapperCommandT.h"

#include <QPointer>
#include <QUndoCommand>

#include <vector>

class QDialog;
class QKeyEvent;
class QMainWindow;
class QMenu;
class QMouseEvent;
class QToolBar;
class QWheelEvent;

namespace guimisc::helper {
class SelectionHelper;
}

namespace mvc::util {
class SelectionHelper;
}

namespace mvc::core {

class Model;
class ModelItem;
class View;

/// The controller of one item: where the user's actions on the item arrive (its browser
/// row, its selection, the main view's input, its menus, tool-bar buttons and property
/// dialog), and the undoable delete and move of the item.
///
/// Every edit is pushed as ModifyCommand(UpdateViewCommand(command)) onto the project's
/// undo stack: redo runs the command and repaints the main view from the data, undo reverses
/// both; the project is modified while the stack stands away from the last save.
///
/// Input hooks hand the event to the active selection helper (the item's interaction mode
/// on the main view) and install the helper it returns. The controller owns its helper and
/// its right-click menu; the item owns the controller.
class ModelItemController : public proj::ProjectItemController {
    Q_OBJECT
public:
    using AttachChildAtFrontCommand = mvc::core::AttachChildAtFrontCommand;
    using DeleteMeCommand = mvc::core::DeleteMeCommand;

    /// Detaches all children of an item in list order; undo attaches them at the front,
    /// last first. While redone it owns the children (guarded, as `DeleteMeCommand`).
    class DeleteAllChildItemsCommand : public QUndoCommand {
    public:
        DeleteAllChildItemsCommand(const QString& text, ModelItem* parent);
        ~DeleteAllChildItemsCommand() override;
        void undo() override;
        void redo() override;

    private:
        /// The listed children that still exist, in list order.
        std::vector<ModelItem*> liveChildren() const;

        QPointer<ModelItem> m_parent;
        std::vector<QPointer<ModelItem>> m_children;
        bool m_isInTree = true;
    };

    /// Moves an item one row (up for a negative step, down for a positive one) and selects
    /// it. Undo moves it back only when the redo moved it: the first item moved up (the
    /// last moved down) stays where it is both ways.
    class MoveCommand : public QUndoCommand {
    public:
        MoveCommand(const QString& text, ModelItem* item, int step);
        void undo() override;
        void redo() override;

    private:
        QPointer<ModelItem> m_item;
        int m_step;
        bool m_hasMoved = false;
    };

    class MoveUpCommand : public MoveCommand {
    public:
        MoveUpCommand(const QString& text, ModelItem* item) : MoveCommand(text, item, -1) {}
    };

    class MoveDownCommand : public MoveCommand {
    public:
        MoveDownCommand(const QString& text, ModelItem* item) : MoveCommand(text, item, +1) {}
    };

    /// Wraps a command: after its redo and its undo the model's paint caches are dropped
    /// and the main view is repainted. The model is watched, not owned.
    class UpdateViewCommand : public util::WrapperCommandT<UpdateViewCommand> {
    public:
        UpdateViewCommand(QUndoCommand* command, Model* model);
        void undo() override;
        void redo() override;

    private:
        void repaint();

        QPointer<Model> m_model;
    };

    explicit ModelItemController(const ModelItem* item);
    ~ModelItemController() override;

    virtual void handleStandardItemChange();
    virtual void handleStandardItemClicked();
    virtual void handleStandardItemDoubleClicked();
    virtual void informSelection(View* view);
    virtual void informDeselection(View* view);
    virtual void addCustomMenuItems(QMenu* menu);
    virtual void addToolBarButtons(QToolBar* toolBar);
    virtual void appendAddActionToMenu(QMenu* menu) const;
    virtual void keyPressEvent(QKeyEvent* event, View* view);
    virtual void keyReleaseEvent(QKeyEvent* event, View* view);
    virtual void mouseDoubleClickEvent(QMouseEvent* event, View* view);
    virtual void mouseMoveEvent(QMouseEvent* event, View* view);
    virtual void mousePressEvent(QMouseEvent* event, View* view);
    virtual void mouseReleaseEvent(QMouseEvent* event, View* view);
    virtual void wheelEvent(QWheelEvent* event, View* view);
    virtual void restoreMouseCursorOnMainView(View* view);
    /// A new dialog for the item's properties, owned by the caller; null when the item has
    /// none.
    virtual QDialog* propertyDialog(QWidget* parent);
    virtual QMainWindow* mainWindow() const;

    /// Called once by the item right after building: fills the right-click menu.
    void setup();

    /// The item that the controller serves.
    ModelItem* item() const;
    bool isSelected() const;
    QMenu* rightClickMenu() const;
    util::SelectionHelper* selectionHelper() const;
    /// Recomputes the main view's transform and repaints it.
    void updateView();

public slots:
    void moveUp();
    void moveDown();
    /// Asks "Are you sure you want to delete %1 %2?"; unless No, `deleteMeSilently`.
    virtual void deleteMe();
    virtual void deleteMeSilently();
    /// Nothing without children; else asks, and unless No, `deleteAllChildItemsSilently`.
    void deleteAllChildItems();
    virtual void deleteAllChildItemsSilently();
    /// Runs `propertyDialog` modally; on Accepted `handlePropertyDialogAccepted`; deletes
    /// the dialog in every case.
    void showPropertyDialog();

protected:
    /// Takes ownership of `selectionHelper`.
    ModelItemController(const ModelItem* item, util::SelectionHelper* selectionHelper);

    virtual QUndoCommand* deleteMeCommand(const QString& text);
    virtual QUndoCommand* attachChildAtFrontCommand(const QString& text, ModelItem* child);
    virtual void doInformSelection(View* view);
    virtual void doInformDeselection(View* view);
    virtual void handlePropertyDialogAccepted(QDialog* dialog);
    virtual void setupCustom();

    void pushUpdateViewCommand(QUndoCommand* command);
    void pushAttachChildAtFrontCommand(const QString& text, ModelItem* child);
    /// Installs `next` as the active helper (see the class comment of the selection helper):
    /// the old helper's view helpers leave the item view's list, the old helper is deleted,
    /// the new one's view helpers join the list and the main view is repainted. Nothing when
    /// `next` is the active helper or null; a `next` that is no `util::SelectionHelper` is
    /// deleted (and said so in a debug message), the active helper staying.
    void updateSelectionHelper(guimisc::helper::SelectionHelper* next);

private:
    View* mainView() const;
    /// Hands the event to the active helper's `hook` and installs the helper it returns.
    template <class Hook, class Event>
    void forwardToHelper(Hook hook, Event* event, View* view);

    QPointer<QMenu> m_rightClickMenu;
    bool m_isSelected = false;
    util::SelectionHelper* m_selectionHelper = nullptr;
};

} // namespace mvc::core
