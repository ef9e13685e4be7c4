#pragma once

#include "movarin/survey/GcpTableRow.h"
#include "movarin/survey/GeoreferenceViewImageItemController.h"
#include "movarin/survey/GeoreferenceViewSelectionHelperT.h"

#include <QPoint>
#include <QPointF>

#include <vector>

namespace tin::core {
class Polygon;
}

namespace varnel {

/// The state that the tools of the georeference pane hand on from one to the next: the
/// controller (borrowed), the anchor (the last left press, widget pixels), the selected
/// rows of the GCP table and their source positions (`positions()`, in the order of
/// `positionRows()`; the tools' painters read them).
///
/// A tool built from another takes over its anchor, selected rows and positions and leaves
/// it without them; its painter helpers are its own. Rows that the table no longer holds
/// leave the selection at every refresh. Every operation is linear in the table.
class GeoreferenceView::ImageItemController::SelectionHelper
    : public GeoreferenceViewSelectionHelperT<ImageItemController> {
public:
    explicit SelectionHelper(ImageItemController* controller);
    SelectionHelper(SelectionHelper& other);
    ~SelectionHelper() override;

    /// The selection made elsewhere (the table, the main view); ignored by default.
    virtual void selectPoints(const GcpRowIndices& indices);
    /// The table's values changed: refreshes the positions (and what a tool derives from
    /// them).
    virtual void tableChanged();

    const QPoint& anchor() const { return m_anchor; }
    const GcpRowIndices& selectedRows() const { return m_selectedRows; }
    const std::vector<QPointF>& positions() const { return m_positions; }
    const std::vector<GcpTable::size_type>& positionRows() const { return m_positionRows; }

    /// Rows `first` to `last` were inserted into the table (`inserted`) or removed from
    /// it: the selection moves with the pairs (removed pairs leave it), then
    /// `tableChanged()`.
    void followRows(GcpTable::size_type first, GcpTable::size_type last, bool inserted);
    /// Removes the selected pairs from the table, the highest row first, and clears the
    /// selection.
    void deleteSelectedRows();

protected:
    /// The positions become the sources of the selected rows that the table holds (rows
    /// beyond it leave the selection).
    void refreshPositions();
    void setAnchor(const QPoint& anchor) { m_anchor = anchor; }
    void clearSelection() { m_selectedRows.clear(); }
    void setSelection(const GcpRowIndices& rows);
    /// Adds each row whose source lies inside `outline` (world) to the selection, or
    /// removes it when it is selected; every row takes part, enabled or not.
    void toggleRowsInside(const tin::core::Polygon& outline);
    /// The widget rectangle between two corners as a world polygon of the pane: the
    /// corners p1, (p1.x, p2.y), p2, (p2.x, p1.y), each through `rconv`.
    static tin::core::Polygon widgetRectangle(const QPointF& p1, const QPointF& p2,
                                              const GeoreferenceView* pane);
    /// The world size along x and y of `pixels` widget pixels at `press`.
    static QPointF worldTolerance(const QPoint& press, int pixels, const GeoreferenceView* pane);
    /// Whether `a` and `b` lie less than 3 pixels apart in x and in y.
    static bool isNear(const QPointF& a, const QPointF& b);

    /// The pane's painters of the shared state: every pair's source (magenta), and the
    /// selected sources (black rings on magenta, radius 4).
    void addGcpTableHelper();
    void addPositionsHelper();

private:
    QPoint m_anchor;
    GcpRowIndices m_selectedRows;
    std::vector<GcpTable::size_type> m_positionRows;
    std::vector<QPointF> m_positions;
};

} // namespace varnel
