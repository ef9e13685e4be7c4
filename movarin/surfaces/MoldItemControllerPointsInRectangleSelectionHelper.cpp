#include "movarin/surfaces/MoldItemControllerPointsInRectangleSelectionHelper.h"

#include "movarin/shell/RectMoldDetailViewHelper.h"
#include "movarin/survey/RectangleToPolygon.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemControllerWaitingSelectionHelper.h"

#include <guimisc/KeyboardSupport.h>
#include <guimisc/MouseSupport.h>

#include <QKeyEvent>
#include <QMouseEvent>

namespace varnel {

using Self = MoldItemController::PointsInRectangleSelectionHelper;

Self::PointsInRectangleSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addSelectedPointsHelper();
    if (DetailView* view = controller()->moldItem()->detailView()) {
        viewHelpers().push_back(
            std::make_unique<RectMoldDetailViewHelper>(&m_bandRect, view, QPen(Qt::black)));
    }
}

Self::~PointsInRectangleSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, DetailView* view)
{
    if (!guimisc::KeyboardSupport::isEnterKey(event->key())) {
        return this;
    }
    toggleInside(m_band);
    view->update();
    return new WaitingSelectionHelper(*this);
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, DetailView* view)
{
    const QPointF press(pressPosition());
    rectangleToPolygon(m_band, press, QPointF(event->pos()), viewMapping(view));
    const QPointF a = view->rconv(press);
    const QPointF b = view->rconv(QPointF(event->pos()));
    m_bandRect = tin::core::Rect(a.x(), a.y(), b.x(), b.y());
    view->update();
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent*, DetailView*)
{
    // The band belongs to the press that made this tool; another press changes nothing.
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event, DetailView* view)
{
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        clearSelection();
    }
    const QPointF press(pressPosition());
    if (m_band.empty() && isNear(QPointF(event->pos()), press)) {
        const double r = guimisc::MouseSupport::nearRadius();
        rectangleToPolygon(m_band, press - QPointF(r, r), press + QPointF(r, r), viewMapping(view));
    }
    toggleInside(m_band);
    view->update();
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
