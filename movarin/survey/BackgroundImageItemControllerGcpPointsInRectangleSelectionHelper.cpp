#include "movarin/survey/BackgroundImageItemControllerGcpPointsInRectangleSelectionHelper.h"

#include "movarin/shell/PolygonMainViewHelper.h"
#include "movarin/survey/BackgroundImageItemControllerSourceOperationWaitingSelectionHelper.h"
#include "movarin/survey/RectangleToPolygon.h"

#include "brask/core/View.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace varnel {

using Self = BackgroundImageItemController::GcpPointsInRectangleSelectionHelper;

namespace {

/// The half-size in pixels of the square a click selects in.
const double CLICK_HALF_SIZE = 3.0;

} // namespace

Self::GcpPointsInRectangleSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addGcpTableHelper();
    addPreviewHelper();
    viewHelpers().push_back(std::make_unique<PolygonMainViewHelper>(&m_band, view()));
}

Self::~GcpPointsInRectangleSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, mvc::core::View*)
{
    if (event->key() == Qt::Key_Return) {
        return finish();
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    rectangleToPolygon(m_band, QPointF(pressPosition()), QPointF(event->pos()), view);
    repaint();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event,
                                                          mvc::core::View* view)
{
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        clearSelection();
    }
    if (m_band.empty() && isNear(QPointF(event->pos()), QPointF(pressPosition()))) {
        const QPointF press(pressPosition());
        const QPointF half(CLICK_HALF_SIZE, CLICK_HALF_SIZE);
        rectangleToPolygon(m_band, press - half, press + half, view);
    }
    return finish();
}

guimisc::helper::SelectionHelper* Self::finish()
{
    toggleRowsInside(m_band);
    refreshPreview();
    repaint();
    return new SourceOperationWaitingSelectionHelper(*this);
}

} // namespace varnel
