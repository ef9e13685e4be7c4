#include "movarin/surfaces/GeoEditSurfaceItemControllerPointsInRectangleSelectionHelper.h"

#include "movarin/shell/PolygonMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"
#include "movarin/survey/RectangleToPolygon.h"

#include "brask/core/View.h"

#include <guimisc/KeyboardSupport.h>

#include <QKeyEvent>
#include <QMouseEvent>

namespace varnel {

using Self = GeoEditSurfaceItemController::PointsInRectangleSelectionHelper;

Self::PointsInRectangleSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addPathHelpers();
    addSelectedPointsHelper();
    viewHelpers().push_back(std::make_unique<PolygonMainViewHelper>(&m_rubberBand, view()));
}

Self::~PointsInRectangleSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, mvc::core::View*)
{
    if (!guimisc::KeyboardSupport::isEnterKey(event->key())) {
        return this;
    }
    return toggleAndWait();
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    rectangleToPolygon(m_rubberBand, pressPosition(), event->pos(), view);
    repaint();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event,
                                                          mvc::core::View* view)
{
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        clearSelectedIndices();
    }
    if (m_rubberBand.empty() && isNear(event->pos(), pressPosition())) {
        const QPoint corner(3, 3);
        rectangleToPolygon(m_rubberBand, pressPosition() - corner, pressPosition() + corner, view);
    }
    return toggleAndWait();
}

guimisc::helper::SelectionHelper* Self::toggleAndWait()
{
    toggleInside(m_rubberBand);
    rebuildSelectedPoints();
    repaint();
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
