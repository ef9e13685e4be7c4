#include "movarin/survey/BackgroundImageItemControllerSelectionHelper.h"

#include "movarin/shell/PointsMainViewHelper.h"
#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"
#include "movarin/survey/GcpSelectionGeometry.h"
#include "movarin/survey/GcpTableMainViewHelper.h"

#include "brask/core/View.h"
#include "orlin/core/Polygon.h"

#include <cmath>
#include <iterator>

namespace varnel {

using Self = BackgroundImageItemController::SelectionHelper;

Self::SelectionHelper(BackgroundImageItemController* controller)
    : MainViewSelectionHelperT(controller)
{
}

Self::SelectionHelper(SelectionHelper& other)
    : MainViewSelectionHelperT(other),
      m_pressPosition(other.m_pressPosition),
      m_selectedRows(other.m_selectedRows),
      m_previewRows(std::move(other.m_previewRows)),
      m_previewPoints(std::move(other.m_previewPoints))
{
    // The other mode is about to go; until then it paints no preview.
    other.m_previewRows.clear();
    other.m_previewPoints.clear();
}

Self::~SelectionHelper() = default;

void Self::selectPoints(const GcpRowIndices&) {}

void Self::tableChanged() {}

void Self::setSelection(const GcpRowIndices& rows)
{
    m_selectedRows = rows;
    refreshPreview();
}

void Self::toggleRowsInside(const tin::core::Polygon& polygon)
{
    const GcpTable* table = gcpTable();
    if (!table) {
        return;
    }
    const std::vector<QPointF> destinations = GcpSelectionGeometry::destinations(*table);
    for (std::size_t row : GcpSelectionGeometry::indicesInsidePolygon(destinations, polygon)) {
        if (m_selectedRows.erase(row) == 0) {
            m_selectedRows.insert(row);
        }
    }
}

void Self::refreshPreview()
{
    const GcpTable* table = gcpTable();
    const GcpTable::size_type rowCount = table ? table->size() : 0;
    for (auto it = m_selectedRows.begin(); it != m_selectedRows.end();) {
        it = *it < rowCount ? std::next(it) : m_selectedRows.erase(it);
    }
    m_previewRows.assign(m_selectedRows.begin(), m_selectedRows.end());
    m_previewPoints.clear();
    for (GcpTable::size_type row : m_previewRows) {
        m_previewPoints.emplace_back((*table)[row].dstX, (*table)[row].dstY);
    }
}

const GcpTable* Self::gcpTable() const
{
    return controller()->gcpTable();
}

GcpTableModel* Self::gcpTableModel() const
{
    BackgroundImageItemGeoreferenceDialog* dialog = controller()->georeferenceDialog();
    return dialog ? dialog->gcpTableModel() : nullptr;
}

void Self::addGcpTableHelper()
{
    viewHelpers().push_back(std::make_unique<GcpTableMainViewHelper>(
        gcpTable(), view(), QPen(Qt::magenta), QBrush(Qt::magenta)));
}

void Self::addPreviewHelper()
{
    auto helper = std::make_unique<PointsMainViewHelper>(&m_previewPoints, view(),
                                                         QPen(Qt::black), QBrush(Qt::magenta));
    helper->setRadius(4);
    viewHelpers().push_back(std::move(helper));
}

void Self::repaint() const
{
    if (mvc::core::View* mainView = view()) {
        mainView->update();
    }
}

QPointF Self::worldTolerance(const QPoint& press, int pixels, const mvc::core::View* view)
{
    return view->rconv(QPointF(press + QPoint(pixels, pixels))) - view->rconv(QPointF(press));
}

bool Self::isNear(const QPointF& a, const QPointF& b)
{
    return std::abs(a.x() - b.x()) < 3.0 && std::abs(a.y() - b.y()) < 3.0;
}

} // namespace varnel
