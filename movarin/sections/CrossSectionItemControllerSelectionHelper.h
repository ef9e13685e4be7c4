#pragma once

#include "movarin/sections/CrossSectionItemController.h"

#include "brask/util/MainViewSelectionHelperT.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Rect.h"

#include <QPoint>

#include <cstddef>
#include <set>
#include <vector>

namespace tin::core {
class Polygon;
}

namespace varnel {

/// The base of every mode of a cross section on the main view, with the state that a mode
/// hands on to the next: the controller, the last press (widget pixels), the selected
/// end points (indices into the working path), copies of the selected points for drawing,
/// the working path (the editable copy of S and E, owned) and the selection rectangle (the
/// box of the selected points; shown while its valid flag is set).
///
/// A mode built from another takes over the press, the selection and the working path (the
/// other keeps none); its rectangle starts hidden and its painter helpers are its own. Every
/// operation is linear in the working path.
class CrossSectionItemController::SelectionHelper
    : public mvc::util::MainViewSelectionHelperT<CrossSectionItemController> {
public:
    explicit SelectionHelper(CrossSectionItemController* controller);
    SelectionHelper(SelectionHelper& other);
    ~SelectionHelper() override;

    std::vector<tin::core::Point>& workingPath() { return m_workingPath; }
    const std::vector<tin::core::Point>& workingPath() const { return m_workingPath; }
    /// The working path as plain positions.
    std::vector<tin::core::Point2D> editedPath() const;
    /// The working path becomes the section's S and E; the selection is kept where it
    /// still names a point.
    void resetPath();
    /// Hides the selection rectangle, forgets the selection and repaints `view`.
    void cancel(mvc::core::View* view);

    const QPoint& pressPosition() const { return m_pressPosition; }
    const std::set<std::size_t>& selectedIndices() const { return m_selectedIndices; }
    const tin::core::Rect& selectionRect() const { return m_selectionRect; }

protected:
    /// Commits the working path (`pushEditCommand`).
    void doFinishSelection(mvc::core::View* view) override;

    void setPressPosition(const QPoint& position) { m_pressPosition = position; }
    void select(std::size_t index);
    void clearSelectedIndices() { m_selectedIndices.clear(); }
    /// Every working-path point strictly inside the world `polygon` joins the selection, or
    /// leaves it when it was in.
    void toggleInside(const tin::core::Polygon& polygon);
    /// The copies of the selected points follow the working path; the rectangle becomes
    /// their box while there is one (an empty selection leaves it as it was).
    void refreshSelection();

    /// The painters of the working path (black line), the selected points (black discs)
    /// and the selection rectangle (dotted), appended to this mode's helpers.
    void addPathHelper();
    void addSelectedPointsHelper();
    void addSelectionRectHelper();

    /// Schedules a repaint of the main view.
    void repaint() const;
    /// Whether two widget positions lie less than 3 pixels apart in x and in y.
    static bool isNear(const QPointF& a, const QPointF& b);

private:
    QPoint m_pressPosition;
    std::set<std::size_t> m_selectedIndices;
    std::vector<tin::core::Point> m_selectedPoints;
    std::vector<tin::core::Point> m_workingPath;
    tin::core::Rect m_selectionRect;
};

} // namespace varnel
