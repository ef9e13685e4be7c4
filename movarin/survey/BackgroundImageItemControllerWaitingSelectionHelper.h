#pragma once

#include "movarin/survey/BackgroundImageItemControllerSelectionHelper.h"

namespace varnel {

/// The normal mode of a selected background image: a press records its position and starts
/// a drag by its button (left moves, middle scales, right turns); other buttons keep the
/// mode. Paints nothing.
class BackgroundImageItemController::WaitingSelectionHelper : public SelectionHelper {
public:
    explicit WaitingSelectionHelper(BackgroundImageItemController* controller);
    explicit WaitingSelectionHelper(SelectionHelper& other);
    ~WaitingSelectionHelper() override;

    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;
};

} // namespace varnel
