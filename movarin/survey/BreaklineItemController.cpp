#include "movarin/survey/BreaklineItemController.h"

#include "movarin/survey/BreaklineItem.h"

namespace varnel {

BreaklineItemController::BreaklineItemController(const BreaklineItem* item)
    : mvc::core::ModelItemControllerT<BreaklineItem>(item)
{
}

BreaklineItemController::~BreaklineItemController() = default;

} // namespace varnel
