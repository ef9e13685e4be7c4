#include "movarin/survey/GeoreferenceViewImageItemControllerSelectionHelper.h"

#include "movarin/shell/PointsGeoreferenceViewHelper.h"
#include "movarin/survey/GcpSelectionGeometry.h"
#include "movarin/survey/GcpTableGeoreferenceViewHelper.h"
#include "movarin/survey/GcpTableModel.h"
#include "movarin/survey/RectangleToPolygon.h"

#include "orlin/core/Polygon.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace varnel {

using Self = GeoreferenceView::ImageItemController::SelectionHelper;

Self::SelectionHelper(ImageItemController* controller)
    : GeoreferenceViewSelectionHelperT(controller)
{
}

Self::SelectionHelper(SelectionHelper& other)
    : GeoreferenceViewSelectionHelperT(other),
      m_anchor(other.m_anchor),
      m_selectedRows(std::move(other.m_selectedRows)),
      m_positionRows(std::move(other.m_positionRows)),
      m_positions(std::move(other.m_positions))
{
    other.m_selectedRows.clear();
    other.m_positionRows.clear();
    other.m_positions.clear();
}

Self::~SelectionHelper() = default;

void Self::selectPoints(const GcpRowIndices&) {}

void Self::tableChanged()
{
    refreshPositions();
}

void Self::refreshPositions()
{
    const GcpTable& table = *controller()->gcpTable();
    for (auto it = m_selectedRows.begin(); it != m_selectedRows.end();) {
        it = *it < table.size() ? std::next(it) : m_selectedRows.erase(it);
    }
    m_positionRows.assign(m_selectedRows.begin(), m_selectedRows.end());
    m_positions.clear();
    for (GcpTable::size_type row : m_positionRows) {
        m_positions.push_back(gcpSource(table[row]));
    }
}

void Self::setSelection(const GcpRowIndices& rows)
{
    m_selectedRows = rows;
    refreshPositions();
}

void Self::followRows(GcpTable::size_type first, GcpTable::size_type last, bool inserted)
{
    const GcpTable::size_type count = last - first + 1;
    GcpRowIndices moved;
    for (GcpTable::size_type row : m_selectedRows) {
        if (row < first) {
            moved.insert(row);
        } else if (inserted) {
            moved.insert(row + count);
        } else if (row > last) {
            moved.insert(row - count);
        }
    }
    m_selectedRows = std::move(moved);
    tableChanged();
}

void Self::deleteSelectedRows()
{
    m_positions.clear();
    m_positionRows.clear();
    std::vector<GcpTable::size_type> rows(m_selectedRows.begin(), m_selectedRows.end());
    std::sort(rows.begin(), rows.end(), std::greater<>());
    // The selection goes first: the model's removal notifications would otherwise move it.
    m_selectedRows.clear();
    for (GcpTable::size_type row : rows) {
        controller()->gcpTableModel()->removeRows(static_cast<int>(row), 1, QModelIndex());
    }
    refreshPositions();
}

void Self::toggleRowsInside(const tin::core::Polygon& outline)
{
    const std::vector<QPointF> sources = GcpSelectionGeometry::sources(*controller()->gcpTable());
    for (std::size_t row : GcpSelectionGeometry::indicesInsidePolygon(sources, outline)) {
        if (m_selectedRows.erase(row) == 0) {
            m_selectedRows.insert(row);
        }
    }
}

tin::core::Polygon Self::widgetRectangle(const QPointF& p1, const QPointF& p2,
                                         const GeoreferenceView* pane)
{
    tin::core::Polygon outline;
    rectangleToPolygon(outline, p1, p2, viewMapping(pane));
    return outline;
}

QPointF Self::worldTolerance(const QPoint& press, int pixels, const GeoreferenceView* pane)
{
    return pane->rconv(QPointF(press + QPoint(pixels, pixels))) - pane->rconv(QPointF(press));
}

bool Self::isNear(const QPointF& a, const QPointF& b)
{
    return std::abs(a.x() - b.x()) < 3.0 && std::abs(a.y() - b.y()) < 3.0;
}

void Self::addGcpTableHelper()
{
    viewHelpers().push_back(std::make_unique<GcpTableGeoreferenceViewHelper>(
        controller()->gcpTable(), controller()->view(), QPen(Qt::magenta), QBrush(Qt::magenta)));
}

void Self::addPositionsHelper()
{
    auto helper = std::make_unique<PointsGeoreferenceViewHelper>(
        &m_positions, controller()->view(), QPen(Qt::black), QBrush(Qt::magenta));
    helper->setRadius(4);
    viewHelpers().push_back(std::move(helper));
}

} // namespace varnel
