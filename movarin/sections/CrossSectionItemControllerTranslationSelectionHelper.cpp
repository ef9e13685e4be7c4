#include "movarin/sections/CrossSectionItemControllerTranslationSelectionHelper.h"

#include "movarin/sections/CrossSectionItemControllerWaitingSelectionHelper.h"

#include "brask/core/View.h"

#include <guimisc/UserDialogs.h>

#include <QMainWindow>
#include <QMouseEvent>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionItemController::TranslationSelectionHelper;

CrossSectionItemController::TranslationSelectionHelper::TranslationSelectionHelper(
    SelectionHelper& other)
    : SelectionHelper(other),
      m_origin(workingPath())
{
    refreshSelection();
    addPathHelper();
    addSelectedPointsHelper();
    addSelectionRectHelper();
}

CrossSectionItemController::TranslationSelectionHelper::~TranslationSelectionHelper() = default;

guimisc::helper::SelectionHelper*
CrossSectionItemController::TranslationSelectionHelper::mouseMoveEvent(QMouseEvent* event,
                                                                       mvc::core::View* view)
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

guimisc::helper::SelectionHelper*
CrossSectionItemController::TranslationSelectionHelper::mouseReleaseEvent(QMouseEvent*,
                                                                          mvc::core::View* view)
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
