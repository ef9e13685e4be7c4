#pragma once

#include "brask/core/ModelItemControllerT.h"

namespace varnel {

class BreaklineItem;

/// The controller of a breakline: no actions of its own, so its menu holds only the
/// framework's entries (move, delete).
class BreaklineItemController : public mvc::core::ModelItemControllerT<BreaklineItem> {
    Q_OBJECT
public:
    explicit BreaklineItemController(const BreaklineItem* item);
    ~BreaklineItemController() override;
};

} // namespace varnel
