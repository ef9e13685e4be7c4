#pragma once

#include "movarin/sections/CrossSectionLhViewLhTableItemControllerSelectionHelper.h"

#include "orlin/core/Rect.h"

namespace varnel {

/// The idle mode of the L-H plot: shows the slope figures (while on), dots on the selected
/// points and a dotted rectangle around them, and shows its selection in the window's table
/// when it is made (unless built to show a selection that came from the table). A left
/// press starts a rubber band (`PointsInRectangleSelectionHelper`); other buttons do
/// nothing. A selection from the table replaces the selection in place.
class CrossSectionLhView::LhTableItemController::WaitingSelectionHelper : public SelectionHelper {
public:
    enum class TableUpdate { Update, Skip };

    explicit WaitingSelectionHelper(const SelectionHelper& other,
                                    TableUpdate tableUpdate = TableUpdate::Update);
    ~WaitingSelectionHelper() override;

    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      CrossSectionLhView* view) override;

    /// The bounds of the selected points; not valid while nothing is selected.
    const tin::core::Rect& selectionRect() const { return m_selectionRect; }

protected:
    void selectionChanged() override;

private:
    void updateSelectionRect();

    tin::core::Rect m_selectionRect;
};

} // namespace varnel
