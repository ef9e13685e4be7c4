#pragma once

#include "movarin/survey/GeoreferenceViewImageItemControllerSelectionHelper.h"

#include "orlin/core/Rect.h"

namespace varnel {

/// Drags the selected sources in the pane: while the mouse moves they are shown moved by
/// its world displacement from the anchor, beside their places before the drag and the
/// bounds of those; the release writes the moved sources into the table (one model
/// reset) and returns to the idle tool. A press and release without a move writes the
/// same positions back.
class GeoreferenceView::ImageItemController::TranslationSelectionHelper : public SelectionHelper {
public:
    explicit TranslationSelectionHelper(SelectionHelper& other);
    ~TranslationSelectionHelper() override;

    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     GeoreferenceView* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        GeoreferenceView* view) override;
    /// Keeps the moved copies on the rows they belong to when the table changes during
    /// the drag.
    void tableChanged() override;

protected:
    void doFinishSelection(GeoreferenceView* view) override;

private:
    /// The moved copies become the positions shifted by the displacement.
    void moveCopies();

    QPointF m_displacement;
    std::vector<QPointF> m_moved;
    tin::core::Rect m_bounds;
};

} // namespace varnel
