#pragma once

#include "brask/core/View.h"
#include "brask/util/MainViewHelperI.h"

#include <guimisc/helper/SelectionHelperT.h>

extern template class guimisc::helper::SelectionHelperT<mvc::core::View,
                                                        mvc::util::MainViewHelperI>;

namespace mvc::util {

/// An interaction mode of the main view, as controllers and the view hold it. Each event
/// hook returns the mode to be active next (the helper itself to stay); the holder installs
/// a new one and deletes the old. The helper owns its view helpers (`viewHelpers()`), which
/// show its state on the main view while it is active.
class SelectionHelper
    : public guimisc::helper::SelectionHelperT<core::View, MainViewHelperI> {
public:
    SelectionHelper();
    SelectionHelper(const SelectionHelper& other);
    ~SelectionHelper() override;
};

} // namespace mvc::util
