#pragma once

#include "movarin/survey/BackgroundImageItemControllerSelectionHelper.h"

#include "orlin/core/Point.h"
#include "orlin/core/Rect.h"

#include <vector>

namespace varnel {

/// Drags the selected map positions of the georeference mode: while the mouse moves they
/// are shown moved by its world displacement since the press, over the bounds of where
/// they were; the release (any button) writes them into the table in one model reset (a
/// release without a move writes them unchanged) and returns to the waiting mode, which
/// announces the selection. The sources stay.
class BackgroundImageItemController::GcpTranslationSelectionHelper : public SelectionHelper {
public:
    explicit GcpTranslationSelectionHelper(SelectionHelper& other);
    ~GcpTranslationSelectionHelper() override;

    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        mvc::core::View* view) override;

protected:
    void doFinishSelection(mvc::core::View* view) override;

private:
    std::vector<tin::core::Point> m_movedPoints;
    tin::core::Rect m_selectionRect;
};

} // namespace varnel
