#pragma once

#include "brask/core/ModelItemController.h"

namespace mvc::core {

/// A controller typed on its item class: `item()` returns the item as `Item`.
template <class Item>
class ModelItemControllerT : public ModelItemController {
public:
    explicit ModelItemControllerT(const Item* item) : ModelItemController(item) {}

    Item* item() const { return static_cast<Item*>(ModelItemController::item()); }

protected:
    ModelItemControllerT(const Item* item, util::SelectionHelper* selectionHelper)
        : ModelItemController(item, selectionHelper)
    {
    }
};

} // namespace mvc::core
