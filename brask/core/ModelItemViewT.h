#pragma once

#include "brask/core/ModelItemView.h"

namespace mvc::core {

/// An item view typed on its item class: `item()` returns the item as `Item`.
template <class Item>
class ModelItemViewT : public ModelItemView {
public:
    explicit ModelItemViewT(const Item* item) : ModelItemView(item) {}

protected:
    const Item* item() const { return static_cast<const Item*>(ModelItemView::item()); }
};

} // namespace mvc::core
