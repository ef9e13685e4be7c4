#pragma once

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/shell/GuardedItemControllerT.h"

#include "orlin/core/Point2D.h"

#include <QPointer>

#include <vector>

class QAction;
class QMdiSubWindow;

namespace varnel {

class CrossSectionDialog;

/// What the user does with one cross section: its right-click entries "Show cross section"
/// (the section's window), "Edit name" (the browser row's in-place editor; a rename is no
/// undo step) and "Edit Path" (the end points as a table in
/// `CrossSectionItemPathPropertyDialog`), and dragging its end points on the main view.
///
/// End-point editing. While the section is selected the main view's input goes to a chain
/// of modes (selection helpers) that share the selected end points and the working path, an
/// editable copy of S and E: `EntranceSelectionHelper` until the first press, then
/// `WaitingSelectionHelper` (a press picks the end point within 3 pixels, or the selection
/// when it hits it, and starts `TranslationSelectionHelper`; otherwise, and with Shift, a
/// rubber band `PointsInRectangleSelectionHelper` toggles the end points it holds). A drag
/// that ends with the two ends on one position shows "Cannot add the same position more
/// than once." and goes on; any other drag, Return and a double click commit the working
/// path as one `EditCommand` ("Edit <name>"), whose redo and undo emit `changed`. A working
/// path equal to the section's commits nothing. The working path is reloaded from the
/// section when the section is selected, on `clearSelection`, on a cancelled path dialog and
/// whenever an `EditCommand` is undone or redone again after its first redo.
///
/// The window. `showCrossSectionDialog` opens the section's `CrossSectionDialog` in the
/// project's MDI area, in a sub-window titled "Cross Section Window: <name>" (one per
/// section; a second call raises it; the title keeps the name of the moment).
/// `closeCrossSectionWindow` closes that sub-window and destroys it and the dialog through
/// `deleteLater`, so that a close handler on the stack never sees them go; deleting the
/// section (`DeleteMeCommand`), the group's "Delete all", undoing the section's adding and
/// closing the window by hand all end there. The controller watches both through guarded
/// pointers and deletes a window still open when it goes itself (a project closed).
///
/// Every slot and input hook shows a failure in the "Error" box instead of letting it
/// escape. Owned by the section item; owns its actions, its mode and the window.
class CrossSectionItemController : public GuardedItemControllerT<CrossSectionItem> {
    Q_OBJECT
public:
    class SelectionHelper;
    class VoidSelectionHelper;
    class EntranceSelectionHelper;
    class WaitingSelectionHelper;
    class PointsInRectangleSelectionHelper;
    class TranslationSelectionHelper;
    class DeleteMeCommand;
    class EditCommand;

    explicit CrossSectionItemController(const CrossSectionItem* item);
    ~CrossSectionItemController() override;

    /// The row's text becomes the section's name; no undo step.
    void handleStandardItemChange() override;
    /// "Show cross section", "Edit name", "Edit Path".
    void addCustomMenuItems(QMenu* menu) override;

    /// Closes the section's window, if one is open (see the class comment).
    void closeCrossSectionWindow();
    /// Pushes one `EditCommand` that gives the section `path` (its first and last point);
    /// nothing when `path` is empty or S and E would stay as they are.
    void pushEditCommand(const std::vector<tin::core::Point2D>& path);

    /// The working path (S and E as edited so far, or the points of the path table).
    std::vector<tin::core::Point2D> editedPath() const;
    /// Inserts `point` before position `index` (0 to the point count) of the working path.
    void insertPathPoint(int index, const tin::core::Point2D& point);
    void removePathPoint(int index);
    /// Sets x and y of working-path point `index`.
    void setPathPoint(int index, const tin::core::Point2D& point);

    /// The open window and its sub-window; null while none is open.
    CrossSectionDialog* crossSectionDialog() const;
    QMdiSubWindow* crossSectionSubWindow() const;

    QAction* showAction() const { return m_showAction; }
    QAction* editNameAction() const { return m_editNameAction; }
    QAction* editPathAction() const { return m_editPathAction; }

    /// Whether two points of `path` stand on exactly one position.
    static bool hasRepeatedPosition(const std::vector<tin::core::Point2D>& path);

signals:
    /// S or E changed (an `EditCommand` was redone or undone).
    void changed();

public slots:
    void editName();
    void showCrossSectionDialog();
    /// The window's own close: forgets and destroys it as `closeCrossSectionWindow`.
    void closeCrossSectionDialog();
    /// Drops the selection on the main view and reloads the working path.
    void clearSelection();
    void deleteMeSilently() override;
    void showPathPropertyDialog();

protected:
    QUndoCommand* deleteMeCommand(const QString& text) override;
    void doInformSelection(mvc::core::View* view) override;

private:
    /// The active mode as this controller's mode (never null after construction).
    SelectionHelper* activeHelper() const;

    QAction* m_showAction;
    QAction* m_editNameAction;
    QAction* m_editPathAction;
    QPointer<CrossSectionDialog> m_dialog;
    QPointer<QMdiSubWindow> m_subWindow;
};

} // namespace varnel
