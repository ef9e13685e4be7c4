#pragma once

#include "brask/proj/ProjectItemController.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QGridLayout;
class QUndoCommand;

namespace varnel {

class IconView;
class MoldGroupItem;
class MoldItem;

/// One tab of the Mold Browser: the molds of one group (Add or Sub) as icons, six to a row
/// in the group's order, and the group's undoable edits ("Add new mold", "Delete mold %1")
/// and its undo-less shape edit.
///
/// Selection. A press on an icon selects its mold (`handleItemSelection`): its icon is
/// marked, every other one unmarked, and `itemSelected` announces it. The widget never
/// keeps a mold outside its group selected: whenever the icons are rebuilt (after every
/// command, load and binding) a selected mold that left the group is let go and
/// `itemSelected(nullptr)` announced, so the preview and new surfaces cannot reach it.
///
/// Edits. `addNewMold` and `copySelected` attach a new mold at the front of the group and
/// select it; `deleteChild` asks first, `deleteChildSilently` does not; each pushes one
/// command onto the project's undo stack, wrapped so that redo and undo repaint the widget
/// (`pushCommand`). A mold taken out of the group by a command
/// belongs to that command. `editSelected` changes the selected mold in place through the
/// "Mold Setting" dialog, without undo, and marks the project modified.
///
/// The group is watched, not owned; the group learns of the widget (`setWidget`) from the
/// browser. Dialogs and boxes have the group's main window as parent.
class MoldGroupItemWidget : public QWidget {
    Q_OBJECT
public:
    class AttachChildAtFrontCommand;
    class DeleteChildCommand;
    using ModifyCommand = mvc::proj::ProjectItemController::ModifyCommand;
    class UpdateViewCommand;

    explicit MoldGroupItemWidget(QWidget* parent = nullptr);
    ~MoldGroupItemWidget() override;

    /// Binds the group and shows its molds.
    void setGroup(MoldGroupItem* group);
    MoldGroupItem* group() const;
    /// The selected mold; null when none.
    MoldItem* selectedMoldItem() const;
    /// The icons in the group's order.
    const std::vector<IconView*>& icons() const;

    void rebuildIcons();
    /// Rebuilds the icons of the group's widget, if it has one.
    static void rebuildIconsOf(const MoldGroupItem* group);

    /// "Mold Setting" for a new mold of the group's type, defined point by point; OK
    /// attaches it at the front and selects it.
    void addNewMold();
    /// Attaches "<name> (Copy)" of the selected mold at the front and selects it.
    void copySelected();
    /// "Mold Setting" on the selected mold; OK gives it the dialog's name, points and base
    /// point and selects it again.
    void editSelected();

    /// Pushes `command` onto the project's undo stack, wrapped in `UpdateViewCommand` and
    /// `ModifyCommand`; the stack runs its redo. Without a project the command is carried
    /// out and deleted.
    void pushCommand(QUndoCommand* command);

signals:
    void itemSelected(MoldItem* selectedMoldItem);

public slots:
    /// Asks "Are you sure you want to delete %1?" (No by default); unless No,
    /// `deleteChildSilently`.
    void deleteChild(MoldItem* mold);
    void handleItemSelection(MoldItem* mold);
    /// Pushes "Delete mold %1" and selects nothing.
    void deleteChildSilently(MoldItem* mold);

private:
    /// Attaches `mold` at the front with "Add new mold" and selects it.
    void attachNewMold(MoldItem* mold);

    QPointer<MoldGroupItem> m_group;
    /// Compared, never followed: it may name a mold that is gone.
    MoldItem* m_selected = nullptr;
    QGridLayout* m_layout;
    std::vector<IconView*> m_icons;
};

} // namespace varnel
