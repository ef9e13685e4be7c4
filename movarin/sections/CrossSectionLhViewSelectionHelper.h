#pragma once

#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionLhViewHelper.h"

#include <guimisc/helper/SelectionHelperT.h>

namespace varnel {

/// Base of the interaction modes of the L-H profile plot: the owned painters that show a
/// mode's state (empty at construction, deleted with the mode; a copy starts with none),
/// and the mouse, key and wheel hooks, each returning the mode to be active next (by default
/// this one).
class CrossSectionLhViewSelectionHelper
    : public guimisc::helper::SelectionHelperT<CrossSectionLhView, CrossSectionLhViewHelper> {
public:
    CrossSectionLhViewSelectionHelper() = default;
    CrossSectionLhViewSelectionHelper(const CrossSectionLhViewSelectionHelper& other) = default;
    ~CrossSectionLhViewSelectionHelper() override = default;
};

} // namespace varnel
