#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushSelectionHelper.h"

#include "movarin/surfaces/BrushFootprint.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushWaitingSelectionHelper.h"
#include "movarin/surfaces/PendingBrushEdit.h"

#include "brask/core/View.h"

#include <QMouseEvent>

namespace varnel {

using Self = GeoEditSurfaceGroupItemController::BrushSelectionHelper;

namespace {

tin::core::Point2D planOf(const tin::core::Point& p)
{
    return tin::core::Point2D(p.x(), p.y());
}

} // namespace

Self::BrushSelectionHelper(SelectionHelper& other, std::unique_ptr<PendingBrushEdit> pending)
    : SelectionHelper(other), m_pending(std::move(pending))
{
    m_pending->addPainters(viewHelpers(), &m_brushRect, view());
}

Self::~BrushSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    appendPosition(event, view);
    m_brushRect = BrushFootprint::brushRect(planOf(points().back()), m_pending->settings().brushSize);
    brushSweptArea(event);
    view->update();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event, mvc::core::View* view)
{
    appendPosition(event, view);
    brushSweptArea(event);
    brush(BrushFootprint::brushSquare(planOf(points().back()), m_pending->settings().brushSize), event);
    points().clear();
    view->update();
    return new BrushWaitingSelectionHelper(*this, std::move(m_pending));
}

bool Self::hasPendingBrushEdit() const
{
    return m_pending && m_pending->isPending();
}

void Self::abandonPendingBrushEdit()
{
    if (m_pending) {
        m_pending->abandon();
    }
}

void Self::appendPosition(QMouseEvent* event, const mvc::core::View* view)
{
    const QPointF p = view->rconv(event->localPos());
    points().emplace_back(p.x(), p.y());
}

void Self::brushSweptArea(const QMouseEvent* event)
{
    const std::size_t n = points().size();
    if (n >= 2) {
        brush(BrushFootprint::sweptBrushPolygon(planOf(points()[n - 2]), planOf(points()[n - 1]),
                                                m_pending->settings().brushSize),
              event);
    }
}

void Self::brush(const tin::core::Polygon& footprint, const QMouseEvent* event)
{
    if (m_stopped) {
        return;
    }
    // Stopped until the application returns: one that throws leaves the stroke stopped.
    m_stopped = true;
    m_stopped = !m_pending->apply(footprint, !(event->modifiers() & Qt::ShiftModifier));
}

} // namespace varnel
