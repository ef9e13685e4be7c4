#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushWaitingSelectionHelper.h"

#include "movarin/surfaces/BrushFootprint.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerVoidSelectionHelper.h"
#include "movarin/surfaces/PendingBrushEdit.h"

#include "brask/core/View.h"

#include <guimisc/restorer/WaitCursor.h>

#include <QKeyEvent>
#include <QMouseEvent>

namespace varnel {

using Self = GeoEditSurfaceGroupItemController::BrushWaitingSelectionHelper;

Self::BrushWaitingSelectionHelper(GeoEditSurfaceGroupItemController* controller)
    : SelectionHelper(controller), m_pending(std::make_unique<PendingBrushEdit>(controller))
{
    addPainters();
}

Self::BrushWaitingSelectionHelper(SelectionHelper& other, std::unique_ptr<PendingBrushEdit> pending)
    : SelectionHelper(other), m_pending(std::move(pending))
{
    addPainters();
}

Self::~BrushWaitingSelectionHelper() = default;

void Self::addPainters()
{
    m_pending->addPainters(viewHelpers(), &m_brushRect, view());
}

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, mvc::core::View* view)
{
    if (event->key() == Qt::Key_Return) {
        // The commit (the periphery split, the surface's command) and the view drawn with it,
        // under the wait cursor.
        const guimisc::restorer::WaitCursor busy;
        m_pending->commit();
        view->repaint();
        return new VoidSelectionHelper(*this);
    }
    if (event->key() == Qt::Key_Escape) {
        m_pending->discard();
        view->update();
        return new VoidSelectionHelper(*this);
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    const QPointF p = view->rconv(event->localPos());
    m_brushRect = BrushFootprint::brushRect(tin::core::Point2D(p.x(), p.y()), m_pending->settings().brushSize);
    view->update();
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, mvc::core::View*)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    return new BrushSelectionHelper(*this, std::move(m_pending));
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

} // namespace varnel
