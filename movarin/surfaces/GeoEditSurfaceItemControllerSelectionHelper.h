#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLine.h"

#include "brask/util/MainViewSelectionHelperT.h"
#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"

#include <QPoint>
#include <QPointF>

#include <cstddef>
#include <memory>
#include <set>
#include <vector>

namespace varnel {

/// The base of the main-view tools of a mold-and-path surface. It carries the editing state
/// from tool to tool: the pending path (x, y and elevation in metres), the pending and the
/// committed reference lines, the outline preview of the pending surface, the last press
/// (widget pixels), the selected vertices (indices into the pending path, with copies of
/// the vertices for drawing) and whether the waiting tool was passed through since the last
/// drag (`waitingEntered`). A tool made from another takes all of it over (the other is left
/// empty); an empty committed list becomes a copy of the pending one, so that the first
/// lines shown count as committed. The selection box (the box of the selected vertices, shown
/// by the waiting and the translation tool) is each tool's own.
///
/// Path operations keep the reference lines in step (`ReferenceLine`) and the selection on
/// the vertices it named. Finishing a tool (Return, a double click, a drop) applies the
/// pending edit when it holds changes (`applyPendingEdit`). Repaints are plain updates of the
/// main view: its paint caches of the TINs stay, so that a drag over a large TIN does not
/// redraw it; an applied edit discards them as it repaints.
class GeoEditSurfaceItemController::SelectionHelper
    : public mvc::util::MainViewSelectionHelperT<GeoEditSurfaceItemController> {
public:
    class Snapshot;

    explicit SelectionHelper(GeoEditSurfaceItemController* controller);
    /// Takes over the editing state of `other`.
    SelectionHelper(SelectionHelper& other);
    ~SelectionHelper() override;

    const std::vector<tin::core::Point>& pendingPath() const { return m_pendingPath; }
    const ReferenceLines& referenceLines() const { return m_referenceLines; }
    const ReferenceLines& committedReferenceLines() const { return m_committedReferenceLines; }
    void setCommittedReferenceLines(const ReferenceLines& lines);
    const tin::core::Polygon& outline() const { return m_outline; }
    const QPoint& pressPosition() const { return m_pressPosition; }
    const std::set<std::size_t>& selectedIndices() const { return m_selectedIndices; }
    const std::vector<tin::core::Point>& selectedPoints() const { return m_selectedPoints; }
    const tin::core::Rect& selectionBox() const { return m_selectionBox; }
    bool waitingEntered() const { return m_waitingEntered; }

    /// The surface's path, the default reference lines (also committed when none are), and
    /// the outline.
    void initFromSurface();
    /// The surface's path and the committed reference lines.
    void resetFromSurface();
    /// The outline of the pending mold swept along the pending path (with the pending closed
    /// flag); empty for an empty path or a sweep that fails.
    void updateAuxiliaries();
    /// The copies of the selected vertices follow the path.
    void rebuildSelectedPoints();
    /// The box becomes that of the selected vertices; no selection leaves it as it was.
    void updateSelectionBox();
    /// Hides the selection box (`reset` and deletions call it).
    virtual void clearSelectionBox();

    /// Inserts `point` before vertex `index` (0 to the vertex count); std::out_of_range
    /// beyond. Selected vertices keep their selection.
    void insertPoint(std::size_t index, const tin::core::Point& point);
    /// Removes vertex `index` (deselected first); std::out_of_range beyond the path.
    void removePoint(std::size_t index);
    /// Gives vertex `index` the position and elevation of `point`, keeping its id;
    /// std::out_of_range beyond the path.
    void movePoint(std::size_t index, const tin::core::Point& point);
    /// The user's reference line of vertex `index` (defined from now on); the pending edit
    /// is not marked: the line goes with the next applied edit. std::out_of_range for a
    /// vertex without a line (the last one).
    void setReferenceLine(std::size_t index, const tin::core::Point2D& direction);
    /// Removes the selected vertices, the highest first, marks the pending edit and applies
    /// it without batch apply; the selection is dropped.
    void deleteSelectedPoints();
    /// Drops the selection and its box, recomputes the outline and repaints `view`.
    void reset(mvc::core::View* view);
    /// A copy of the pending path and reference lines, put back when the snapshot goes
    /// with its restore flag set.
    std::unique_ptr<Snapshot> snapshot();
    /// Puts `path` and `lines` back as the pending ones (the selection kept where it still
    /// names a vertex) and recomputes the outline.
    void restorePending(const std::vector<tin::core::Point>& path, const ReferenceLines& lines);
    /// Hands the editing state back to `other` (a tool that failed while handling an event
    /// for `other` leaves it as it was).
    void giveBackTo(SelectionHelper& other);

    /// Where a vertex clicked at `position` (widget pixels) goes, as the index before which
    /// it is inserted (0: before the first vertex, the vertex count: after the last): the
    /// nearest on the screen of the feet of the perpendiculars strictly inside a segment and
    /// the two ends of the path, the lower index on equal distances. In single precision, as
    /// the screen is. 0 for an empty path.
    static std::size_t findInsertIndex(const std::vector<tin::core::Point>& path,
                                       const QPointF& position, const mvc::core::View* view);
    /// The elevation of a new vertex at the world point `world`: the edited TIN's there,
    /// else that of the TIN's vertex nearest to it on the screen; throws
    /// common::exception::RuntimeException "Empty Tin." without a TIN.
    double newVertexElevation(const QPointF& world, const mvc::core::View* view) const;

protected:
    /// Applies the pending edit with the pending path when it holds changes.
    void doFinishSelection(mvc::core::View* view) override;
    /// `doFinishSelection`, then a repaint that keeps the paint caches.
    void finishSelection(mvc::core::View* view) override;

    void setPressPosition(const QPoint& position) { m_pressPosition = position; }
    void setWaitingEntered(bool entered) { m_waitingEntered = entered; }
    void select(std::size_t index) { m_selectedIndices.insert(index); }
    void clearSelectedIndices() { m_selectedIndices.clear(); }
    /// Every vertex strictly inside the world `polygon` joins the selection, or leaves it.
    void toggleInside(const tin::core::Polygon& polygon);
    tin::core::Rect& selectionBoxForUpdate() { return m_selectionBox; }

    /// Painters of the pending path (black line) and the outline preview.
    void addPathAndOutlineHelpers();
    /// Those and the guide labels of the path (see `GuideMainViewHelper`), with 5 decimals
    /// in developers' mode ("developers/mode"), else 2.
    void addPathHelpers();
    /// Painters of the selected vertices (black dots) and of the selection box (dotted).
    void addSelectedPointsHelper();
    void addSelectionBoxHelper();

    /// Schedules a repaint of the main view.
    void repaint() const;
    /// Whether two widget positions lie less than 3 pixels apart in x and in y.
    static bool isNear(const QPointF& a, const QPointF& b);

private:
    void takeOver(SelectionHelper& other);
    void checkIndex(std::size_t index, std::size_t size) const;

    std::vector<tin::core::Point> m_pendingPath;
    ReferenceLines m_referenceLines;
    ReferenceLines m_committedReferenceLines;
    tin::core::Polygon m_outline;
    QPoint m_pressPosition;
    std::set<std::size_t> m_selectedIndices;
    std::vector<tin::core::Point> m_selectedPoints;
    tin::core::Rect m_selectionBox;
    bool m_waitingEntered = false;
};

} // namespace varnel
