#pragma once

#include "movarin/surfaces/MoldItemControllerSelectionHelper.h"

namespace varnel {

/// Drags the selected points: every move sets each selected point to its position at the
/// start of the drag plus the displacement from the press to the mouse (world), rounded to
/// whole grid steps unless exactly Alt is held. The release ends the gesture (written back
/// into the item) and returns to the idle tool. Shows the dragged working copy over the
/// item, the selected points and their rectangle.
class MoldItemController::TranslationSelectionHelper : public SelectionHelper {
public:
    explicit TranslationSelectionHelper(SelectionHelper& other);
    ~TranslationSelectionHelper() override;

    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event, DetailView* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      DetailView* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        DetailView* view) override;

private:
    std::vector<double> m_startL;
    std::vector<double> m_startH;
};

} // namespace varnel
