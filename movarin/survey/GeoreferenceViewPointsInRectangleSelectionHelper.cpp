#include "movarin/survey/GeoreferenceViewPointsInRectangleSelectionHelper.h"

#include "movarin/shell/PolygonGeoreferenceViewHelper.h"
#include "movarin/survey/GeoreferenceViewWaitingSelectionHelper.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace varnel {

using Self = GeoreferenceView::ImageItemController::PointsInRectangleSelectionHelper;

Self::PointsInRectangleSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addGcpTableHelper();
    addPositionsHelper();
    viewHelpers().push_back(
        std::make_unique<PolygonGeoreferenceViewHelper>(&m_outline, controller()->view()));
}

Self::~PointsInRectangleSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, GeoreferenceView* view)
{
    m_outline = widgetRectangle(QPointF(anchor()), QPointF(event->pos()), view);
    view->update();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event,
                                                          GeoreferenceView* view)
{
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        clearSelection();
    }
    if (m_outline.empty() && isNear(QPointF(event->pos()), QPointF(anchor()))) {
        const QPointF a(anchor());
        m_outline = widgetRectangle(a - QPointF(3, 3), a + QPointF(3, 3), view);
    }
    toggleRowsInside(m_outline);
    refreshPositions();
    view->update();
    return new WaitingSelectionHelper(*this);
}

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, GeoreferenceView* view)
{
    if (event->key() != Qt::Key_Return) {
        return this;
    }
    toggleRowsInside(m_outline);
    refreshPositions();
    view->update();
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
