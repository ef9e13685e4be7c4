#include "movarin/sections/CrossSectionItemControllerTranslationSelectionHelper.h"

#include "movarin/sections/CrossSectionItemControllerWaitingSelectionHelper.h"

#include "brask/core/View.h"

#include <guimisc/UserDialogs.h>

#include <QMainWindow>
#include <QMouseEvent>

namespace varnel {

using Self = CrossSectionItemController::TranslationSelectionHelper;

Self::TranslationSelectionHelper(SelectionHelper& other)
    : SelectionHelper(other), m_origin(workingPath())
{
    refreshSelection();
    addPathHelper();
    addSelectedPointsHelper();
    addSelectionRectHelper();
}

Self::~TranslationSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    const QPointF delta = event->pos() - pressPosition();
    std::vector<tin::core::Point>& path = workingPath();
    for (std::size_t index : selectedIndices()) {
        const tin::core::Point& origin = m_origin[index];
        const QPointF moved = view->rconv(view->conv(QPointF(origin.x(), origin.y())) + delta);
        path[index].setPosition(moved.x(), moved.y());
    }
    refreshSelection();
    repaint();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent*, mvc::core::View* view)
{
    if (hasRepeatedPosition(editedPath())) {
        guimisc::UserDialogs::critical(controller()->mainWindow(), tr("Error"),
                                       tr("Cannot add the same position more than once."));
        return this;
    }
    finishSelection(view);
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
