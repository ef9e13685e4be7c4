#pragma once

#include "movarin/survey/CoordinatePointsBaseItemController.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"

#include <exception>
#include <vector>

namespace varnel {

/// The controller of the points for the TIN: besides the point-set selection tools, it adds
/// new points by clicking, draws breaklines by clicking points of the set, gives the
/// selected points a new elevation and removes them, except those on breaklines.
///
/// Actions: "Edit Elevation", "Remove Selected Points From Points For Tin", "Add New Points"
/// and "Add Breakline" in the context menu (after the two selection actions and a
/// separator), then, after a separator, "Create TIN"; "New points to points for Tin" and
/// "Add Breakline to points for Tin" in the main window's Add menu. Each slot shows a
/// failure in the "Error" box.
///
/// "Create TIN" (`createTin`) asks whether to refine, triangulates the set with its
/// breaklines (see `CoordinatePointsForTinItem::triangulate`) and gives the TIN to the
/// project's TIN item as one undo entry "Create TIN". An empty set is warned of and stores
/// an empty TIN. The triangulation, the storing and the first repaint of the main view run
/// under the wait cursor, which is gone before any message box shows.
///
/// Tools (selection helpers, built from the active one and taking over its state):
/// - `BreaklineSelectionHelper`: each left press appends the set's point nearest to it; the
///   line drawn ends at the point nearest to the cursor, which Return or a double click
///   takes as the last point; Escape drops the line. Finishing leaves out the picked points
///   that the set no longer holds (an undo during the tool can take them away) and repeats,
///   and makes a breakline "Breakline <children + 1>" as the first child when two points
///   or more are left (one undo entry).
/// - `NewPointsSelectionHelper`: each left press notes a new point at the click, with the
///   elevation of the set's point nearest to it (0 for an empty set; points noted but not
///   yet added do not count); Return or a double click adds them all (a position and
///   elevation of a point that exists gives that very point), one undo entry; Escape drops
///   them.
///
/// Cost: starting a tool builds the set's spatial index when it has none (a second or
/// so at a million points, under the wait cursor); a click or a move of a tool is then one
/// nearest pick (`pickNearestPoint`); removal is
/// linear in the selection and the breaklines' points; "Create TIN" is one triangulation
/// and linear sliver passes, and stores the TIN through the TIN item's shared copies (no
/// deep copy). Owned by the item; owns its actions.
class CoordinatePointsForTinItemController : public CoordinatePointsBaseItemController {
    Q_OBJECT
public:
    /// Base of the two clicking tools: Return, or a double click (which first stores its
    /// position), hands what was clicked to the controller (`commit`) and goes idle; Escape
    /// drops it and goes idle.
    class ClickingSelectionHelper : public SelectionHelper {
    public:
        explicit ClickingSelectionHelper(SelectionHelper& other);

        guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                        mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mouseDoubleClickEvent(QMouseEvent* event,
                                                                mvc::core::View* view) override;

    protected:
        virtual void commit() = 0;
        CoordinatePointsForTinItemController* tinController() const;

    private:
        guimisc::helper::SelectionHelper* finish(mvc::core::View* view);
    };

    class BreaklineSelectionHelper : public ClickingSelectionHelper {
    public:
        explicit BreaklineSelectionHelper(SelectionHelper& other);

        guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                         mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                          mvc::core::View* view) override;

    protected:
        void commit() override;

    private:
        /// The last clicked point; a later entry of the picked points is provisional.
        PointPtr m_lastClicked;
    };

    class NewPointsSelectionHelper : public ClickingSelectionHelper {
    public:
        explicit NewPointsSelectionHelper(SelectionHelper& other);

        guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                          mvc::core::View* view) override;

    protected:
        void commit() override;
    };

    explicit CoordinatePointsForTinItemController(const CoordinatePointsForTinItem* item);
    ~CoordinatePointsForTinItemController() override;

    void addCustomMenuItems(QMenu* menu) override;
    void appendAddActionToMenu(QMenu* menu) const override;

    CoordinatePointsForTinItem* item() const;

    QAction* editElevationAction() const;
    QAction* removeAction() const;
    QAction* addNewPointsAction() const;
    QAction* addBreaklineAction() const;
    /// The entries of the Add menu.
    QAction* newPointsMenuAction() const;
    QAction* breaklineMenuAction() const;
    QAction* createTinAction() const;

    /// Makes a breakline of `picked` (see the class comment) and pushes its attachment.
    void addBreakline(const std::vector<PointPtr>& picked);
    /// Interns `points` and pushes their addition to the set; nothing for no points.
    void addNewPoints(const std::vector<tin::core::Point>& points);

    using CoordinatePointsBaseItemController::editPointsElevation;

public slots:
    /// Asks for one elevation for the selected points, preset to their mean; nothing when
    /// none is selected.
    void editPointsElevation();
    /// Removes the selected points that lie on no breakline (one undo entry, pushed even
    /// when it removes nothing) and warns when some do.
    void removeSelectedPoints();
    /// Starts the new-point tool.
    void startNewPointsAddition();
    /// Starts the breakline tool; warns instead when the set is empty.
    void startBreaklineAddition();
    /// "Create TIN" (see the class comment). Cancel changes nothing; a failure of the
    /// triangulation is shown in the "Error" box and leaves the TIN item and the undo stack
    /// as they were.
    void createTin();

private:
    /// Selects the item, resets the active tool and installs a `Tool` built from it.
    template <class Tool>
    void startTool();
    void showError(const std::exception& error) const;

    QAction* m_editElevationAction;
    QAction* m_removeAction;
    QAction* m_addNewPointsAction;
    QAction* m_newPointsMenuAction;
    QAction* m_addBreaklineAction;
    QAction* m_breaklineMenuAction;
    QAction* m_createTinAction;
};

} // namespace varnel
