#pragma once

#include "movarin/sections/CrossSectionLhViewLhTableItemController.h"
#include "movarin/sections/CrossSectionLhViewSelectionHelperT.h"

#include <QPoint>
#include <QPointF>

#include <vector>

namespace tin::core {
class Polygon;
}

namespace varnel {

/// The state that the modes of the L-H plot hand on from one to the next: the controller
/// (borrowed), the last left press (widget pixels), the selected row indices with their
/// positions (L, H) in the order of the set, and whether the slope figures are shown. A mode
/// built from another takes all of it over; its painters are its own.
///
/// The selection only ever holds indices of current rows: indices at or beyond the row count
/// are dropped as they come in, and the positions are rebuilt after every change.
class CrossSectionLhView::LhTableItemController::SelectionHelper
    : public CrossSectionLhViewSelectionHelperT<LhTableItemController> {
public:
    explicit SelectionHelper(LhTableItemController* controller);
    SelectionHelper(const SelectionHelper& other);
    ~SelectionHelper() override;

    /// The table's selection arrives; returns the mode to be active next. The base takes the
    /// indices and stays.
    virtual guimisc::helper::SelectionHelper* selectPoints(const CrossSectionLhRowIndices& indices);

    const CrossSectionLhRowIndices& selection() const { return m_selection; }
    const std::vector<QPointF>& selectedPoints() const { return m_selectedPoints; }
    bool showSlope() const { return m_showSlope; }
    void setShowSlope(bool show) { m_showSlope = show; }
    const QPoint& pressPosition() const { return m_pressPosition; }
    void clearSelection();

protected:
    void setPressPosition(const QPoint& pos) { m_pressPosition = pos; }
    /// The selection becomes the indices that name current rows.
    void setSelection(const CrossSectionLhRowIndices& indices);
    /// Every current row whose (L, H) lies strictly inside the world polygon `band` joins the
    /// selection, enabled or not.
    void addInside(const tin::core::Polygon& band);
    /// Called after every change of the selection, positions rebuilt.
    virtual void selectionChanged() {}

    /// The painters every mode shares: slope figures of the current profile (magenta, while
    /// shown) and dots on the selected points.
    void addSlopeHelper();
    void addSelectedPointsHelper();

    CrossSectionLhView* plot() const;
    void repaint() const;

private:
    void rebuildSelectedPoints();

    QPoint m_pressPosition;
    CrossSectionLhRowIndices m_selection;
    std::vector<QPointF> m_selectedPoints;
    bool m_showSlope = false;
};

} // namespace varnel
