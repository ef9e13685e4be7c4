#pragma once

#include "movarin/sections/CrossSectionItemControllerSelectionHelper.h"

namespace varnel {

/// A drag of the selected end points from the press that started the mode: each mouse move
/// puts every selected point at its position at the start of the drag moved by the mouse's
/// offset in pixels (x and y only). The release commits the working path and goes back to
/// `WaitingSelectionHelper`, unless two points of the path stand on one position: then the
/// "Error" box says "Cannot add the same position more than once." and the drag goes on
/// until the next release. Paints the working path, the selected points and the selection
/// rectangle.
class CrossSectionItemController::TranslationSelectionHelper : public SelectionHelper {
public:
    explicit TranslationSelectionHelper(SelectionHelper& other);
    ~TranslationSelectionHelper() override;

    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        mvc::core::View* view) override;

private:
    std::vector<tin::core::Point> m_origin;
};

} // namespace varnel
