#include "movarin/sections/CrossSectionItemControllerEntranceSelectionHelper.h"

#include "movarin/sections/CrossSectionItemControllerWaitingSelectionHelper.h"

#include <memory>

namespace varnel {

using Self = CrossSectionItemController::EntranceSelectionHelper;

Self::EntranceSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    resetPath();
    addPathHelper();
}

Self::~EntranceSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, mvc::core::View* view)
{
    auto waiting = std::make_unique<WaitingSelectionHelper>(*this);
    guimisc::helper::SelectionHelper* next = waiting->mousePressEvent(event, view);
    if (next != waiting.get()) {
        // The waiting mode handed the press on at once; it is not installed.
        return next;
    }
    return waiting.release();
}

} // namespace varnel
