#pragma once

#include "movarin/shell/MoldDetailViewHelperI.h"
#include "movarin/surfaces/DetailView.h"

#include <guimisc/helper/SelectionHelperT.h>

namespace varnel {

/// Base of the interaction modes of the mold detail view (the mold editor's tools): the
/// owned list of painter helpers that show a mode's state (empty at construction, deleted
/// with the mode), the mouse, key and wheel hooks, each returning the mode to be active
/// next (by default this one), and `finishSelection`, which runs `doFinishSelection` and
/// then repaints the view. A copy starts with an empty list.
class SelectionHelper
    : public guimisc::helper::SelectionHelperT<DetailView, MoldDetailViewHelperI> {
public:
    SelectionHelper() = default;
    SelectionHelper(const SelectionHelper& other) = default;
    ~SelectionHelper() override = default;
};

} // namespace varnel
