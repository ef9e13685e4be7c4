#pragma once

#include "movarin/survey/CoordinatePointsBaseItem.h"
#include "movarin/survey/CoordinatePointsBaseItemViewSetting.h"

#include "brask/core/ModelItemControllerT.h"
#include "brask/util/SelectionHelperT.h"

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Polygon.h"

#include <QPoint>
#include <QPointer>
#include <QUndoCommand>

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class QAction;
class QInputEvent;

namespace mvc::core {
class View;
}

namespace varnel {

class CoordinatePointsBaseItemView;

/// The controller shared by every point-set item: it keeps the selected points, runs the
/// selection tools of the main view and pushes the undoable edits of a point set.
///
/// Selection: a set of shared points of the item's set, by pointer identity. It survives
/// tool changes; a plain left click or rectangle, the edit commands and `clearSelection`
/// clear it. The tools are selection helpers (`SelectionHelper` and its subclasses): idle
/// (`VoidSelectionHelper`, a left press starts a rectangle), rectangle
/// (`PointsInRectangleSelectionHelper`) and polygon (`PointsInPolygonSelectionHelper`,
/// started by "Select Points With Polygon"). Each tool toggles the points inside its
/// outline (`selectPointsInPolygon`); a left button without Shift first clears.
///
/// Edits: `addPoints`, `removePoints` and `editPointsElevation` push one command each,
/// wrapped so that redo and undo repaint the main view and mark the project modified.
/// Points move between sets as the same shared objects, so that anything referring to
/// them (breaklines) stays valid across undo and redo. An add command records only the
/// points its target set does not hold yet, a remove command only the points the set holds,
/// so undo takes away or gives back exactly what redo changed.
///
/// Cost: Select All and a tool's toggle are linear in the points involved (one hash look-up
/// each, plus the set's polygon query for a tool). Owned by the item; owns its actions
/// (Qt children) and the active tool.
class CoordinatePointsBaseItemController
    : public mvc::core::ModelItemControllerT<CoordinatePointsBaseItem> {
    Q_OBJECT
public:
    using PointPtr = std::shared_ptr<tin::core::Point>;
    using Selection = std::unordered_set<PointPtr>;

    /// The state that passes from one tool to the next: the outline (rubber band, world
    /// coordinates), the picked points (the breakline tool's), the new points (the
    /// new-point tool's) and the anchor (widget pixels of the last left press). A helper
    /// made from another takes these over; the other is left with empty ones.
    class SelectionHelper
        : public mvc::util::SelectionHelperT<CoordinatePointsBaseItemController> {
    public:
        explicit SelectionHelper(CoordinatePointsBaseItemController* controller);
        SelectionHelper(SelectionHelper& other);
        ~SelectionHelper() override;

        /// The main view of the controller's item, null outside a model.
        virtual mvc::core::View* mainView() const;

        /// Empties the outline, the picked points and the new points.
        void reset();
        tin::core::Polygon* outline() const;
        std::vector<PointPtr>* pickedPoints() const;
        std::vector<tin::core::Point>* newPoints() const;
        const QPoint& anchor() const;
        void setAnchor(const QPoint& anchor);

    protected:
        void doFinishSelection(mvc::core::View* view) override;

    private:
        std::unique_ptr<tin::core::Polygon> m_outline;
        std::unique_ptr<std::vector<PointPtr>> m_pickedPoints;
        std::unique_ptr<std::vector<tin::core::Point>> m_newPoints;
        QPoint m_anchor;
    };

    /// Idle: a left press records the anchor and starts a rectangle.
    class VoidSelectionHelper : public SelectionHelper {
    public:
        explicit VoidSelectionHelper(CoordinatePointsBaseItemController* controller);
        explicit VoidSelectionHelper(SelectionHelper& other);

        guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                          mvc::core::View* view) override;
    };

    /// A rectangle dragged from the anchor; a release or Return toggles the points inside
    /// (a click without a move: those within 3 pixels of the press) and goes idle.
    class PointsInRectangleSelectionHelper : public SelectionHelper {
    public:
        explicit PointsInRectangleSelectionHelper(SelectionHelper& other);

        guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                        mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                         mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                          mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                            mvc::core::View* view) override;
    };

    /// A polygon clicked vertex by vertex, its last vertex following the mouse; Return or a
    /// double click toggles the points inside and goes idle; Escape takes back the last
    /// vertex (a clicked vertex left last then stays put when the mouse moves), and goes
    /// idle when none is left.
    class PointsInPolygonSelectionHelper : public SelectionHelper {
    public:
        explicit PointsInPolygonSelectionHelper(SelectionHelper& other);

        guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                        mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mouseDoubleClickEvent(QMouseEvent* event,
                                                                mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                         mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                          mvc::core::View* view) override;

    private:
        /// The last clicked vertex.
        tin::core::Point2D m_fixedVertex{0.0, 0.0, -1};
    };

    /// Base of the add and remove commands: a fixed list of shared points that go into or
    /// out of an item's set as the same objects, and back on undo. Redo and undo clear the
    /// item's selection. The item is watched, not owned.
    class PointsMembershipCommand : public QUndoCommand {
    public:
        const std::vector<PointPtr>& points() const;

    protected:
        /// Keeps the points of `points` that the item's set holds (`held`) or does not hold.
        PointsMembershipCommand(const Selection& points, CoordinatePointsBaseItem* item,
                                bool held);
        /// Adds the points to the set (`add`) or removes them.
        void change(bool add);

    private:
        std::vector<PointPtr> m_points;
        QPointer<CoordinatePointsBaseItem> m_item;
    };

    /// Adds points to an item's set; undo removes them. Holds only the points the set did
    /// not hold when the command was made.
    class AddPointsCommand : public PointsMembershipCommand {
    public:
        AddPointsCommand(const Selection& points, CoordinatePointsBaseItem* item);
        void redo() override;
        void undo() override;
    };

    /// Removes points from an item's set; undo adds the same objects back. Holds only the
    /// points the set held when the command was made.
    class RemovePointsCommand : public PointsMembershipCommand {
    public:
        RemovePointsCommand(const Selection& points, CoordinatePointsBaseItem* item);
        void redo() override;
        void undo() override;
    };

    /// Gives points one new elevation; undo gives each its own earlier elevation back. Only
    /// elevations change. Redo and undo clear the selection.
    class EditPointsElevationCommand : public QUndoCommand {
    public:
        EditPointsElevationCommand(const Selection& points, double elevation,
                                   CoordinatePointsBaseItem* item);
        void redo() override;
        void undo() override;

    private:
        std::unordered_map<PointPtr, double> m_oldElevations;
        double m_elevation;
        QPointer<CoordinatePointsBaseItem> m_item;
    };

    /// Sets the item view's setting; undo puts the one it had when the command was made.
    class SetViewSettingCommand : public QUndoCommand {
    public:
        SetViewSettingCommand(const CoordinatePointsBaseItemViewSetting& setting,
                              CoordinatePointsBaseItem* item);
        void redo() override;
        void undo() override;

    private:
        CoordinatePointsBaseItemViewSetting m_newSetting;
        CoordinatePointsBaseItemViewSetting m_oldSetting;
        QPointer<CoordinatePointsBaseItem> m_item;
    };

    explicit CoordinatePointsBaseItemController(const CoordinatePointsBaseItem* item);
    ~CoordinatePointsBaseItemController() override;

    /// A new colour dialog over a copy of the item view's setting; the caller owns it.
    QDialog* propertyDialog(QWidget* parent) override;

    /// The tools' selection step: a mouse event of the left button without Shift clears
    /// the selection; then, when the active tool's outline has 3 vertices or more, every
    /// point of the set inside it (boundary included) is toggled. Key events never clear.
    void selectPointsInPolygon(QInputEvent* event, mvc::core::View* view);
    void clearSelection();
    Selection& selection();
    const Selection& selection() const;
    QAction* polygonSelectAction() const;
    QAction* selectAllAction() const;
    /// The active tool.
    SelectionHelper* currentSelectionHelper() const;
    /// The active tool's picked points.
    std::vector<PointPtr>* pickedPoints() const;

    /// Pushes an `AddPointsCommand` of `points` into `item`'s set.
    void addPoints(const Selection& points, CoordinatePointsBaseItem* item);
    /// Pushes a `RemovePointsCommand` of `points` from the own item's set.
    void removePoints(const Selection& points);
    /// Pushes an `EditPointsElevationCommand` over the own item.
    void editPointsElevation(const Selection& points, double elevation);

public slots:
    /// Resets the active tool and starts the polygon tool from it.
    void polygonSelect();
    /// Selects every point of the set and goes idle; the view shows the rings before the
    /// wait cursor goes.
    void selectAllPoints();

protected:
    /// Pushes a `SetViewSettingCommand` with the dialog's setting.
    void handlePropertyDialogAccepted(QDialog* dialog) override;

    /// Clears the selection of `item`'s controller; nothing for an item whose
    /// controller is of another kind. For the commands, which look the controller up when
    /// they run.
    static void clearSelectionOf(CoordinatePointsBaseItem* item);

private:
    Selection m_selection;
    QAction* m_polygonSelectAction;
    QAction* m_selectAllAction;
};

} // namespace varnel
