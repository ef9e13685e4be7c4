#pragma once

#include "movarin/survey/BackgroundImageItemControllerSelectionHelper.h"

namespace varnel {

/// Waits for the map position of the control point just picked in the georeference pane:
/// a left release sends its world position (`gcpDefined`), raises the dialog again and
/// returns to the waiting mode. Other buttons are ignored. Shows every map position.
class BackgroundImageItemController::AddGcpSelectionHelper : public SelectionHelper {
public:
    explicit AddGcpSelectionHelper(SelectionHelper& other);
    ~AddGcpSelectionHelper() override;

    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        mvc::core::View* view) override;
};

} // namespace varnel
