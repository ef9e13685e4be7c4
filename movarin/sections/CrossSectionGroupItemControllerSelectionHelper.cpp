#include "movarin/sections/CrossSectionGroupItemControllerSelectionHelper.h"

namespace varnel {

using Self = CrossSectionGroupItemController::SelectionHelper;

Self::SelectionHelper(CrossSectionGroupItemController* controller)
    : MainViewSelectionHelperT(controller)
{
}

Self::SelectionHelper(SelectionHelper& other)
    : MainViewSelectionHelperT(other),
      m_points(std::move(other.m_points)),
      m_pressPosition(other.m_pressPosition)
{
    other.m_points.clear();
}

Self::~SelectionHelper() = default;

} // namespace varnel
