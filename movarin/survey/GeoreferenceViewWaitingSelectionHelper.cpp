#include "movarin/survey/GeoreferenceViewWaitingSelectionHelper.h"

#include "movarin/shell/RectGeoreferenceViewHelper.h"
#include "movarin/survey/GcpSelectionGeometry.h"
#include "movarin/survey/GcpTableModel.h"
#include "movarin/survey/GeoreferenceViewDestinationOperationWaitingSelectionHelper.h"
#include "movarin/survey/GeoreferenceViewPointsInRectangleSelectionHelper.h"
#include "movarin/survey/GeoreferenceViewTranslationSelectionHelper.h"

#include <common/exception/RuntimeException.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include <limits>

namespace varnel {

using Self = GeoreferenceView::ImageItemController::WaitingSelectionHelper;

Self::WaitingSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addGcpTableHelper();
    addPositionsHelper();
    viewHelpers().push_back(std::make_unique<RectGeoreferenceViewHelper>(
        &m_bounds, controller()->view(), QPen(Qt::black, 1.0, Qt::DotLine)));
    refresh();
    // Every return to the idle tool publishes the selection.
    controller()->updateTableSelection(selectedRows());
    emit controller()->selectedIndexChanged(selectedRows());
}

Self::~WaitingSelectionHelper() = default;

void Self::refresh()
{
    refreshPositions();
    m_bounds = GcpSelectionGeometry::bounds(positions());
}

void Self::tableChanged()
{
    refresh();
}

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, GeoreferenceView* view)
{
    if (event->key() == Qt::Key_Escape) {
        clearSelection();
        refresh();
        view->update();
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent*, GeoreferenceView*)
{
    if (m_pressed) {
        return new PointsInRectangleSelectionHelper(*this);
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, GeoreferenceView* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    setAnchor(event->pos());
    m_pressed = true;
    const QPointF press = view->rconv(QPointF(event->pos()));
    if (GcpSelectionGeometry::hitsSelection(positions(), press,
                                            worldTolerance(event->pos(), 3, view))) {
        return new TranslationSelectionHelper(*this);
    }
    const GcpTable& table = *controller()->gcpTable();
    if (table.empty() || !selectedRows().empty()) {
        return this;
    }
    const GcpTable::size_type row = pickNearestRow(event->pos(), view);
    if (!isNear(view->conv(gcpSource(table[row])), QPointF(event->pos()))) {
        return this;
    }
    setSelection({row});
    refresh();
    return new TranslationSelectionHelper(*this);
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event,
                                                          GeoreferenceView* view)
{
    // Only the release of a press made in this tool adds a pair: one whose press went to
    // another tool (before the first move, or while a pair waited) has no anchor here.
    if (event->button() != Qt::LeftButton || !m_pressed) {
        return this;
    }
    m_pressed = false;
    const QPointF source = view->rconv(QPointF(anchor()));
    GcpTableModel* model = controller()->gcpTableModel();
    const GcpTable::size_type row = controller()->gcpTable()->size();
    model->appendRow({true, source.x(), source.y(), 0.0, 0.0});
    clearSelection();
    refresh();
    controller()->updateTableSelection(GcpRowIndices());
    view->update();
    controller()->defineGcp(row);
    return new DestinationOperationWaitingSelectionHelper(*this);
}

void Self::selectPoints(const GcpRowIndices& indices)
{
    setSelection(indices);
    refresh();
    controller()->view()->update();
}

GcpTable::size_type Self::pickNearestRow(const QPoint& click, const GeoreferenceView* pane) const
{
    // Every source is scored: the growing square of the main view's pick finds the same
    // row (the nearest, the first on ties), and a pane's table holds a few dozen rows.
    const GcpTable& table = *controller()->gcpTable();
    if (table.empty()) {
        throw common::exception::RuntimeException("Empty GcpTable.");
    }
    GcpTable::size_type best = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (GcpTable::size_type row = 0; row < table.size(); ++row) {
        const QPointF d = pane->conv(gcpSource(table[row])) - QPointF(click);
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance < bestDistance) {
            bestDistance = distance;
            best = row;
        }
    }
    return best;
}

} // namespace varnel
