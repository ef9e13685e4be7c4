#include "movarin/sections/CrossSectionLhViewLhTableItemControllerInitSelectionHelper.h"

#include "movarin/sections/CrossSectionLhViewLhTableItemControllerWaitingSelectionHelper.h"

namespace varnel {

using Self = CrossSectionLhView::LhTableItemController::InitSelectionHelper;

Self::InitSelectionHelper(LhTableItemController* controller) : SelectionHelper(controller) {}

Self::~InitSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent*, CrossSectionLhView*)
{
    return new WaitingSelectionHelper(*this);
}

guimisc::helper::SelectionHelper* Self::selectPoints(const CrossSectionLhRowIndices& indices)
{
    setSelection(indices);
    return new WaitingSelectionHelper(*this, WaitingSelectionHelper::TableUpdate::Skip);
}

} // namespace varnel
