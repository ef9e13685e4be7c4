#include "movarin/surfaces/MoldItemControllerTranslationSelectionHelper.h"

#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemControllerWaitingSelectionHelper.h"

#include <QMouseEvent>

namespace varnel {

using Self = MoldItemController::TranslationSelectionHelper;

Self::TranslationSelectionHelper(SelectionHelper& other)
    : SelectionHelper(other),
      m_startL(workingCopy()->mold().l()),
      m_startH(workingCopy()->mold().h())
{
    addWorkingCopyHelper();
    addSelectedPointsHelper();
    addSelectionRectHelper();
}

Self::~TranslationSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, DetailView* view)
{
    QPointF d = view->rconv(QPointF(event->pos())) - view->rconv(QPointF(pressPosition()));
    if (event->modifiers() != Qt::AltModifier) {
        d = snappedToGrid(d);
    }
    mold::core::Mold& mold = workingCopy()->mold();
    for (std::size_t i : selection()) {
        if (i < mold.size() && i < m_startL.size()) {
            mold.setLH(i, m_startL[i] + d.x(), m_startH[i] + d.y());
        }
    }
    rebuildSelectedPoints();
    view->update();
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent*, DetailView*)
{
    // The drag is measured from the press that started it.
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event, DetailView* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    finishSelection(view);
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
