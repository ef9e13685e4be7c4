#pragma once

#include "movarin/sections/CrossSectionItemControllerSelectionHelper.h"

namespace varnel {

/// The first mode of a section on the main view: the working path, loaded from the section
/// when the mode starts, drawn as a line; the first press is handed to a new
/// `WaitingSelectionHelper`, which takes it as its own.
class CrossSectionItemController::EntranceSelectionHelper : public SelectionHelper {
public:
    explicit EntranceSelectionHelper(SelectionHelper& other);
    ~EntranceSelectionHelper() override;

    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      mvc::core::View* view) override;
};

} // namespace varnel
