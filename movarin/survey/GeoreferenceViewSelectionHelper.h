#pragma once

#include "movarin/survey/GeoreferenceView.h"
#include "movarin/survey/GeoreferenceViewHelper.h"

#include <guimisc/helper/SelectionHelperT.h>

namespace varnel {

/// Base of the interaction modes (tools) of the georeference pane: the owned list of
/// painter helpers that show a mode's state (empty at construction, deleted with the
/// mode), the mouse, key and wheel hooks, each given the pane and returning the mode to
/// be active next (by default this one), and `finishSelection`, which runs
/// `doFinishSelection` (empty by default) and then repaints the pane. A copy starts with
/// an empty list: helpers belong to the mode that made them.
class GeoreferenceViewSelectionHelper
    : public guimisc::helper::SelectionHelperT<GeoreferenceView, GeoreferenceViewHelper> {
public:
    GeoreferenceViewSelectionHelper() = default;
    GeoreferenceViewSelectionHelper(const GeoreferenceViewSelectionHelper& other) = default;
    ~GeoreferenceViewSelectionHelper() override = default;
};

} // namespace varnel
