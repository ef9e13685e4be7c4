#pragma once

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/shell/GuardedItemControllerT.h"

class QAction;

namespace tin::core {
class Point;
}

namespace varnel {

/// What the user does with the "Cross sections" folder: draw sections ("Add" in its
/// right-click menu, "Cross section" in the main window's Add menu), import them from a CSV
/// file ("Import" in its right-click menu and tool bar) and delete them all ("Delete all",
/// closing their windows first). Each addition and each import is one undo step, whose undo
/// closes the windows of the sections it takes away.
///
/// Drawing (`lineSelect` selects the group and starts `PathSelectionHelper`): a press sets
/// the start, the mouse drags a rubber line, the next press sets the end and adds "Cross
/// section <n>" (n one more than the sections there are, so names may repeat), selected;
/// the tool stays for the next section. A press on the start shows "Cannot add the same
/// position more than once."; a second press without a move replaces the first point;
/// Escape drops the line in progress, and on an empty line ends the tool.
///
/// Import asks for a "CSV file (*.csv)" starting in the last I/O folder; the sections of
/// the file (see `CrossSectionGroupItem::CsvImporter`) go to the front of the group in file
/// order as one undo step ("Add new cross sections"); the first is selected, the group
/// expanded and the last I/O folder becomes the file's. A file without sections shows "No
/// crosss section data is found.". The main view is fitted to the model when it showed
/// nothing before.
///
/// Every slot and input hook shows a failure in the "Error" box instead of letting it
/// escape. Owned by the group item; owns its actions and its mode.
class CrossSectionGroupItemController : public GuardedItemControllerT<CrossSectionGroupItem> {
    Q_OBJECT
public:
    class SelectionHelper;
    class VoidSelectionHelper;
    class PathSelectionHelper;
    class AttachChildAtFrontCommand;
    class AttachChildrenAtFrontCommand;

    explicit CrossSectionGroupItemController(const CrossSectionGroupItem* item);
    ~CrossSectionGroupItemController() override;

    /// "Add", "Import", a separator, "Delete all".
    void addCustomMenuItems(QMenu* menu) override;
    /// "Import".
    void addToolBarButtons(QToolBar* toolBar) override;
    /// "Cross section".
    void appendAddActionToMenu(QMenu* menu) const override;

    /// Adds a section from `start` to `end` at the front of the group as one undo step
    /// ("Add new cross section data"), expands the group and selects the section.
    void addCrossSection(const tin::core::Point& start, const tin::core::Point& end);

    QAction* addAction() const { return m_addAction; }
    QAction* addMenuAction() const { return m_addMenuAction; }
    QAction* importAction() const { return m_importAction; }
    QAction* importMenuAction() const { return m_importMenuAction; }
    QAction* deleteAllAction() const { return m_deleteAllAction; }

public slots:
    void lineSelect();
    void deleteAllChildItemsSilently() override;
    void importCSV();

protected:
    QUndoCommand* attachChildAtFrontCommand(const QString& text,
                                            mvc::core::ModelItem* child) override;

private:
    QAction* m_addAction;
    QAction* m_addMenuAction;
    QAction* m_importAction;
    QAction* m_importMenuAction;
    QAction* m_deleteAllAction;
};

} // namespace varnel
