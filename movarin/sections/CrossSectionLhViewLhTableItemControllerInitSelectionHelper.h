#pragma once

#include "movarin/sections/CrossSectionLhViewLhTableItemControllerSelectionHelper.h"

namespace varnel {

/// The mode of a plot the mouse has not yet moved over: no painters; the first move makes
/// it a waiting mode. A selection made in the table meanwhile makes it a waiting mode too,
/// one that shows the selection without handing it back to the table.
class CrossSectionLhView::LhTableItemController::InitSelectionHelper : public SelectionHelper {
public:
    explicit InitSelectionHelper(LhTableItemController* controller);
    ~InitSelectionHelper() override;

    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     CrossSectionLhView* view) override;
    guimisc::helper::SelectionHelper*
    selectPoints(const CrossSectionLhRowIndices& indices) override;
};

} // namespace varnel
