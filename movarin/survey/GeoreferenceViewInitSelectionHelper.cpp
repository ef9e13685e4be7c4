#include "movarin/survey/GeoreferenceViewInitSelectionHelper.h"

#include "movarin/survey/GeoreferenceViewWaitingSelectionHelper.h"

namespace varnel {

guimisc::helper::SelectionHelper*
GeoreferenceView::ImageItemController::InitSelectionHelper::mouseMoveEvent(QMouseEvent*,
                                                                           GeoreferenceView*)
{
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
