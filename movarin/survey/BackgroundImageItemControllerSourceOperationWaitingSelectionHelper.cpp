#include "movarin/survey/BackgroundImageItemControllerSourceOperationWaitingSelectionHelper.h"

#include "movarin/shell/RectMainViewHelper.h"
#include "movarin/survey/BackgroundImageItemControllerGcpPointsInRectangleSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemControllerGcpTranslationSelectionHelper.h"
#include "movarin/survey/GcpSelectionGeometry.h"
#include "movarin/survey/PickNearest.h"

#include "brask/core/View.h"

#include <common/exception/RuntimeException.h>

#include <QKeyEvent>
#include <QMouseEvent>

namespace varnel {

using Self = BackgroundImageItemController::SourceOperationWaitingSelectionHelper;

namespace {

std::vector<QPointF> positionsOf(const std::vector<tin::core::Point>& points)
{
    std::vector<QPointF> positions;
    positions.reserve(points.size());
    for (const tin::core::Point& p : points) {
        positions.emplace_back(p.x(), p.y());
    }
    return positions;
}

} // namespace

Self::SourceOperationWaitingSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addGcpTableHelper();
    addPreviewHelper();
    viewHelpers().push_back(std::make_unique<RectMainViewHelper>(
        &m_selectionRect, view(), QPen(Qt::black, 1.0, Qt::DotLine)));
    refresh();
    // Every return to this mode tells the pane and the table what is selected.
    emit controller()->selectedIndexChanged(selectedRows());
}

Self::~SourceOperationWaitingSelectionHelper() = default;

void Self::refresh()
{
    refreshPreview();
    m_selectionRect = GcpSelectionGeometry::bounds(positionsOf(previewPoints()));
}

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, mvc::core::View*)
{
    if (event->key() == Qt::Key_Escape) {
        clearSelection();
        refresh();
        repaint();
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent*, mvc::core::View*)
{
    if (m_pressed) {
        return new GcpPointsInRectangleSelectionHelper(*this);
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event,
                                                        mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    setPressPosition(event->pos());
    m_pressed = true;
    const QPointF press = view->rconv(event->pos());
    if (GcpSelectionGeometry::hitsSelection(positionsOf(previewPoints()), press,
                                            worldTolerance(event->pos(), 3, view))) {
        return new GcpTranslationSelectionHelper(*this);
    }
    const GcpTable* table = gcpTable();
    if (!table || table->empty() || !selectedRows().empty()) {
        return this;
    }
    const GcpTable::size_type row = pickNearestRow(event->pos(), view);
    const GcpTableRow& nearest = (*table)[row];
    if (!isNear(view->conv(QPointF(nearest.dstX, nearest.dstY)), QPointF(event->pos()))) {
        return this;
    }
    setSelection({row});
    refresh();
    return new GcpTranslationSelectionHelper(*this);
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event, mvc::core::View*)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = false;
    }
    return this;
}

void Self::selectPoints(const GcpRowIndices& indices)
{
    setSelection(indices);
    refresh();
    repaint();
}

void Self::tableChanged()
{
    refresh();
    repaint();
}

GcpTable::size_type Self::pickNearestRow(const QPoint& click, const mvc::core::View* view) const
{
    const GcpTable* table = gcpTable();
    if (!table || table->empty()) {
        throw common::exception::RuntimeException("Empty GcpTable.");
    }
    const std::vector<QPointF> destinations = GcpSelectionGeometry::destinations(*table);
    const tin::core::Rect box = GcpSelectionGeometry::bounds(destinations);
    std::vector<std::size_t> candidates;
    const std::size_t index = pickNearestIndex(
        [&](const tin::core::Polygon& square) {
            candidates = GcpSelectionGeometry::indicesInsidePolygon(destinations, square);
            return candidates.size();
        },
        [&](std::size_t i) { return std::vector<QPointF>{destinations[candidates[i]]}; },
        QRectF(QPointF(box.xMin(), box.yMin()), QPointF(box.xMax(), box.yMax())),
        "Empty GcpTable.", click, view);
    return candidates[index];
}

} // namespace varnel
