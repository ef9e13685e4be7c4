#include "movarin/surfaces/GeoEditSurfaceItemControllerEntranceSelectionHelper.h"

#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"

#include <guimisc/KeyboardSupport.h>

#include <QKeyEvent>

#include <memory>

namespace varnel {

using Self = GeoEditSurfaceItemController::EntranceSelectionHelper;

Self::EntranceSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    initFromSurface();
    addPathHelpers();
}

Self::~EntranceSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, mvc::core::View* view)
{
    if (guimisc::KeyboardSupport::isEnterKey(event->key()) && pendingPath().size() >= 2) {
        finishSelection(view);
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, mvc::core::View* view)
{
    if (!controller()->verifyEditable()) {
        return this;
    }
    auto waiting = std::make_unique<WaitingSelectionHelper>(*this);
    guimisc::helper::SelectionHelper* next = nullptr;
    try {
        next = waiting->mousePressEvent(event, view);
    } catch (...) {
        // The press changed nothing: this tool stays with its state.
        waiting->giveBackTo(*this);
        throw;
    }
    if (next != waiting.get()) {
        // The waiting tool handed the press on at once; it is not installed.
        return next;
    }
    return waiting.release();
}

} // namespace varnel
