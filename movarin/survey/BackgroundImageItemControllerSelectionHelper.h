#pragma once

#include "movarin/survey/BackgroundImageItemController.h"
#include "movarin/survey/GcpTableRow.h"

#include "brask/util/MainViewSelectionHelperT.h"
#include "orlin/core/Point.h"

#include <QPoint>
#include <QPointF>

#include <vector>

namespace tin::core {
class Polygon;
}

namespace varnel {

class GcpTableModel;

/// The base of every mode of a background image on the main view, with the state that a
/// mode hands on to the next one it builds: the controller, the last press (widget
/// pixels), the selected control points (row indices of the dialog's table) and the
/// preview points (the destinations of the selected rows, in `previewRows()` order).
///
/// A mode built from another copies the press and the selection and takes over the
/// preview points (the other keeps none); its painter helpers are its own. Outside the
/// georeference mode there is no table: the selection and the preview stay empty. Rows the
/// table no longer holds (deleted in the pane meanwhile) leave the selection at every
/// refresh. Every operation is linear in the table.
class BackgroundImageItemController::SelectionHelper
    : public mvc::util::MainViewSelectionHelperT<BackgroundImageItemController> {
public:
    explicit SelectionHelper(BackgroundImageItemController* controller);
    SelectionHelper(SelectionHelper& other);
    ~SelectionHelper() override;

    /// The selection made in the pane or the table; ignored by default.
    virtual void selectPoints(const GcpRowIndices& indices);
    /// The table changed outside this mode (typed values, rows removed in the pane);
    /// ignored by default.
    virtual void tableChanged();

    const QPoint& pressPosition() const { return m_pressPosition; }
    const GcpRowIndices& selectedRows() const { return m_selectedRows; }
    const std::vector<tin::core::Point>& previewPoints() const { return m_previewPoints; }
    const std::vector<GcpTable::size_type>& previewRows() const { return m_previewRows; }

protected:
    void setPressPosition(const QPoint& position) { m_pressPosition = position; }
    /// The rows of `rows` that the table holds become the selection.
    void setSelection(const GcpRowIndices& rows);
    void clearSelection() { m_selectedRows.clear(); }
    /// Toggles every row whose destination lies strictly inside the world `polygon`, every
    /// row taking part, enabled or not.
    void toggleRowsInside(const tin::core::Polygon& polygon);
    /// The preview points become the destinations of the selected rows (rows beyond the
    /// table leave the selection first).
    void refreshPreview();

    /// The dialog's table and model; null outside the georeference mode.
    const GcpTable* gcpTable() const;
    GcpTableModel* gcpTableModel() const;

    /// The painter of every destination (magenta discs) and of the preview points (black
    /// rings on magenta, radius 4), appended to this mode's helpers.
    void addGcpTableHelper();
    void addPreviewHelper();

    /// Schedules a repaint of the main view.
    void repaint() const;

    /// The world lengths along x and y of `pixels` widget pixels at `press`.
    static QPointF worldTolerance(const QPoint& press, int pixels, const mvc::core::View* view);
    /// Whether two widget positions lie less than 3 pixels apart in x and in y.
    static bool isNear(const QPointF& a, const QPointF& b);

private:
    QPoint m_pressPosition;
    GcpRowIndices m_selectedRows;
    std::vector<GcpTable::size_type> m_previewRows;
    std::vector<tin::core::Point> m_previewPoints;
};

} // namespace varnel
