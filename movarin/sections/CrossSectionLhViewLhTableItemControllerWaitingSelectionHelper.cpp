#include "movarin/sections/CrossSectionLhViewLhTableItemControllerWaitingSelectionHelper.h"

#include "movarin/sections/CrossSectionLhViewLhTableItemControllerPointsInRectangleSelectionHelper.h"
#include "movarin/shell/RectCrossSectionLhViewHelper.h"

#include <QMouseEvent>

#include <algorithm>

namespace varnel {

using Self = CrossSectionLhView::LhTableItemController::WaitingSelectionHelper;

Self::WaitingSelectionHelper(const SelectionHelper& other, TableUpdate tableUpdate)
    : SelectionHelper(other)
{
    updateSelectionRect();
    addSlopeHelper();
    addSelectedPointsHelper();
    viewHelpers().push_back(std::make_unique<RectCrossSectionLhViewHelper>(
        &m_selectionRect, plot(), QPen(QBrush(Qt::black), 1.0, Qt::DotLine)));
    if (tableUpdate == TableUpdate::Update) {
        controller()->updateTableSelection(selection());
    }
}

Self::~WaitingSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, CrossSectionLhView*)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    setPressPosition(event->pos());
    return new PointsInRectangleSelectionHelper(*this);
}

void Self::selectionChanged()
{
    updateSelectionRect();
}

void Self::updateSelectionRect()
{
    const std::vector<QPointF>& points = selectedPoints();
    if (points.empty()) {
        m_selectionRect = tin::core::Rect();
        return;
    }
    const auto byX = [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); };
    const auto byY = [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); };
    const auto [minX, maxX] = std::minmax_element(points.begin(), points.end(), byX);
    const auto [minY, maxY] = std::minmax_element(points.begin(), points.end(), byY);
    m_selectionRect = tin::core::Rect(minX->x(), minY->y(), maxX->x(), maxY->y());
}

} // namespace varnel
