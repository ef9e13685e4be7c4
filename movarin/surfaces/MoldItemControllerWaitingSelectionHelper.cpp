#include "movarin/surfaces/MoldItemControllerWaitingSelectionHelper.h"

#include "movarin/survey/GcpSelectionGeometry.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemControllerPointsInRectangleSelectionHelper.h"
#include "movarin/surfaces/MoldItemControllerTranslationSelectionHelper.h"

#include <QMouseEvent>

namespace varnel {

using Self = MoldItemController::WaitingSelectionHelper;

Self::WaitingSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addSlopesHelper();
    addSelectedPointsHelper();
    addSelectionRectHelper();
}

Self::~WaitingSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, DetailView* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    SelectionHelper::mousePressEvent(event, view);
    if (event->modifiers() & Qt::ShiftModifier) {
        return new PointsInRectangleSelectionHelper(*this);
    }
    const QPointF press = view->rconv(QPointF(event->pos()));
    const QPointF tolerance(gridWidthX() / 2.0, gridWidthY() / 2.0);
    if (GcpSelectionGeometry::hitsSelection(selectedPoints(), press, tolerance)) {
        return new TranslationSelectionHelper(*this);
    }
    if (selection().empty()) {
        const std::size_t nearest = nearestPoint(event->pos(), view);
        const mold::core::Mold& mold = workingCopy()->mold();
        const QPointF at = view->conv(QPointF(mold.l()[nearest], mold.h()[nearest]));
        if (isNear(at, QPointF(event->pos()))) {
            setSelection({nearest});
            return new TranslationSelectionHelper(*this);
        }
    }
    return new PointsInRectangleSelectionHelper(*this);
}

} // namespace varnel
