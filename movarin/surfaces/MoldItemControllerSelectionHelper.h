#pragma once

#include "movarin/shell/SelectionHelper.h"
#include "movarin/surfaces/MoldItemController.h"

#include "orlin/core/Rect.h"

#include <QPoint>
#include <QPointF>

#include <cstddef>
#include <memory>
#include <set>
#include <vector>

namespace tin::core {
class Polygon;
}

namespace varnel {

/// The state that the mold editor's tools hand on from one to the next: the controller
/// (borrowed), the working copy of the mold (an item without parent, owned), the last left
/// press (widget pixels), the selected point indices with their positions and the rectangle
/// around them, and the snapping steps.
///
/// The first tool makes an empty Add working copy; a tool built from another takes its
/// working copy over and copies the rest; its overlays are its own. The selected positions
/// and the rectangle are rebuilt from the indices after every change
/// (`rebuildSelectedPoints`), where indices beyond the mold leave the selection.
///
/// A gesture that changes points ends in `finishSelection`: the controller announces a
/// defined mold, then the working copy is written back into the item (`writeBack`: the
/// item's points replaced in order, then its base point), then the view repaints.
class MoldItemController::SelectionHelper : public varnel::SelectionHelper {
public:
    explicit SelectionHelper(MoldItemController* controller);
    SelectionHelper(SelectionHelper& other);
    ~SelectionHelper() override;

    /// Remembers a left press.
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      DetailView* view) override;

    using varnel::SelectionHelper::finishSelection;

    MoldItemController* controller() const { return m_controller; }
    MoldItem* workingCopy() const { return m_workingCopy.get(); }
    const std::set<std::size_t>& selection() const { return m_selection; }
    const std::vector<QPointF>& selectedPoints() const { return m_selectedPoints; }
    /// The bounds of the selected points; not valid while nothing is selected.
    const tin::core::Rect& selectionRect() const { return m_selectionRect; }
    const QPoint& pressPosition() const { return m_pressPosition; }
    double gridWidthX() const { return m_gridWidthX; }
    double gridWidthY() const { return m_gridWidthY; }
    void setGridWidth(double x, double y);

    void setSelection(std::set<std::size_t> selection);
    void clearSelection();
    void rebuildSelectedPoints();
    /// The item's points and base point become the working copy's.
    void writeBack();

protected:
    void doFinishSelection(DetailView* view) override;

    /// The widget point `pos` (fractions of pixels kept) in world coordinates, rounded to the grid unless Alt is held.
    QPointF snapped(const QPointF& pos, Qt::KeyboardModifiers modifiers,
                    const DetailView* view) const;
    /// The world vector rounded to whole grid steps.
    QPointF snappedToGrid(const QPointF& world) const;
    /// Each point strictly inside `band` (world) joins the selection, or leaves it when it
    /// was selected.
    void toggleInside(const tin::core::Polygon& band);
    /// The index of the working copy's point nearest to `pos` on the screen
    /// (`findNearestPointIndex`). Throws common::exception::RuntimeException "Empty MoldItem."
    /// for an empty mold.
    std::size_t nearestPoint(const QPoint& pos, const DetailView* view) const;
    /// Whether two widget points lie less than 3 pixels apart in x and in y.
    static bool isNear(const QPointF& a, const QPointF& b);

    /// The overlays the tools share: slope figures along the working copy, the working copy
    /// itself (while it differs from the item), dots at the selected points and the dotted
    /// rectangle around them.
    void addSlopesHelper();
    void addWorkingCopyHelper();
    void addSelectedPointsHelper();
    void addSelectionRectHelper();

private:
    MoldItemController* m_controller;
    std::unique_ptr<MoldItem> m_workingCopy;
    QPoint m_pressPosition;
    std::set<std::size_t> m_selection;
    std::vector<QPointF> m_selectedPoints;
    tin::core::Rect m_selectionRect;
    double m_gridWidthX = 1.0;
    double m_gridWidthY = 1.0;
};

} // namespace varnel
