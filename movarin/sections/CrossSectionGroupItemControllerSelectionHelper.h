#pragma once

#include "movarin/sections/CrossSectionGroupItemController.h"

#include "brask/util/MainViewSelectionHelperT.h"
#include "orlin/core/Point.h"

#include <QPoint>

#include <vector>

namespace varnel {

/// The base of the drawing modes of the "Cross sections" folder, with what a mode hands on
/// to the next: the controller, the points clicked so far (world x and y, elevation 0;
/// the last one may be the rubber point that follows the mouse) and the last press
/// (widget pixels). A mode built from another takes both over; its painter helpers are its
/// own.
class CrossSectionGroupItemController::SelectionHelper
    : public mvc::util::MainViewSelectionHelperT<CrossSectionGroupItemController> {
public:
    explicit SelectionHelper(CrossSectionGroupItemController* controller);
    SelectionHelper(SelectionHelper& other);
    ~SelectionHelper() override;

    const std::vector<tin::core::Point>& points() const { return m_points; }

protected:
    std::vector<tin::core::Point>& points() { return m_points; }
    const QPoint& pressPosition() const { return m_pressPosition; }
    void setPressPosition(const QPoint& position) { m_pressPosition = position; }

private:
    std::vector<tin::core::Point> m_points;
    QPoint m_pressPosition;
};

} // namespace varnel
