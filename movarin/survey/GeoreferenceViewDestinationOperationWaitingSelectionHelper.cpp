#include "movarin/survey/GeoreferenceViewDestinationOperationWaitingSelectionHelper.h"

namespace varnel {

using Self = GeoreferenceView::ImageItemController::DestinationOperationWaitingSelectionHelper;

Self::DestinationOperationWaitingSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addGcpTableHelper();
}

Self::~DestinationOperationWaitingSelectionHelper() = default;

} // namespace varnel
